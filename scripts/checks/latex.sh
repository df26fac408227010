#!/bin/sh
# Every kind of LaTeX fragment the program copies compiles with pdflatex, its decimal commas intact.
#   scripts/check.sh latex [CMAKE-OPTION...]
# Builds Kvadra (scripts/build.sh) into ./build (or $BUILD_DIR); tools/kvadra_latexfragments
# writes the fragments into build/latex-check/fragments as "Copy as LaTeX" gives them. Each is
# wrapped in a minimal article that loads exactly the packages its comment lines name ("% Needs
# \usepackage{amsmath} ...") and compiled with pdflatex, halting on the first error. pdftotext
# then reads each PDF back: every number with a decimal comma in the fragment must print as one
# number ("1,5"), never as two with a list comma between them ("1, 5").
set -eu
cd "$(dirname "$0")/../.."
. scripts/lib/common.sh
scripts/setup.sh texlive-latex-base poppler-utils
scripts/build.sh "$@"
out="$build/latex-check"
fragments="$out/fragments"
documents="$out/documents"
rm -rf "$out"
mkdir -p "$documents"
step "writing the fragments (messages in $out/fragments.log)" env QT_QPA_PLATFORM=offscreen \
    "$build/tools/kvadra_latexfragments" "$fragments" >/dev/null 2>"$out/fragments.log"

found=0
commas=0
for fragment in "$fragments"/*.tex; do
    [ -f "$fragment" ] || fail "kvadra_latexfragments wrote no fragment into $fragments"
    found=$((found + 1))
    name="${fragment##*/}"
    name="${name%.tex}"
    packages="$(grep '^%' "$fragment" | grep -oE '\\usepackage(\[[^]]*\])?\{[^}]*\}')" || true
    document="$documents/$name.tex"
    # printf, not echo: the shell's echo would read "\b" of \begin as a backspace.
    {
        printf '%s\n' '\documentclass{article}'
        [ -z "$packages" ] || printf '%s\n' "$packages"
        printf '%s\n' '\begin{document}'
        cat "$fragment"
        printf '\n%s\n' '\end{document}'
    } >"$document"
    if ! pdflatex -interaction=nonstopmode -halt-on-error -output-directory "$documents" \
        "$document" >/dev/null 2>&1; then
        grep -A 4 '^!' "$documents/$name.log" >&2 || cat "$documents/$name.log" >&2
        fail "$name does not compile: $document, its log $documents/$name.log"
    fi
    # A glyph the font lacks is only logged, and the student's PDF silently loses it.
    if grep 'Missing character' "$documents/$name.log" >&2; then
        fail "$name: characters missing from the PDF (lines above)"
    fi

    text="$(pdftotext "$documents/$name.pdf" -)" || fail "pdftotext cannot read $name.pdf"
    # The fragment's numbers with a decimal comma, braced ("1{,}5") or bare ("1,5").
    numbers="$(grep -v '^%' "$fragment" | grep -oE '[0-9]+(\{,\}|,)[0-9]+' |
        sed 's/{,}/,/')" || true
    here=0
    for number in $numbers; do
        here=$((here + 1))
        if ! printf '%s\n' "$text" | grep -F -- "$number" >/dev/null; then
            printf '%s\n' "$text" >&2
            fail "$name: $number does not print as one number (the PDF's text above)"
        fi
    done
    if printf '%s\n' "$text" | grep -E '[0-9], [0-9]' >&2; then
        fail "$name: a decimal comma prints as a list comma, with a space after it (lines above)"
    fi
    commas=$((commas + here))
    echo "$name: compiled with ${packages:-no package}; $here decimal commas"
done
# The fragments of a comma locale are what the comma test is for: without them it proves nothing.
[ "$commas" -gt 0 ] || fail "no fragment has a decimal comma: the comma-locale fragments are gone"
echo "latex: $found fragments compiled, $commas decimal commas printed as such"
