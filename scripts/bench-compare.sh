#!/bin/sh
# Compares the action latencies of an earlier revision with the working tree, side by side:
# both are built, then their action benchmarks run alternately, so that the machine's drift
# touches both alike. Prints, per action, the median of the per-run medians and their ratio.
#   scripts/bench-compare.sh [revision (default HEAD)] [runs (default 5)] [repetitions (default 60)]
set -eu
cd "$(dirname "$0")/.."
rev="${1:-HEAD}"
runs="${2:-5}"
reps="${3:-60}"
./scripts/setup.sh
work="$(mktemp -d)"
trap 'git worktree remove --force "$work/old" >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
git worktree add --detach "$work/old" "$rev" >/dev/null
for tree in "$work/old" .; do
    cmake -S "$tree" -B "$tree/build-bench" -DKVADRA_WERROR=ON -DBUILD_TESTING=OFF >/dev/null
    cmake --build "$tree/build-bench" --parallel "$(nproc)" --target kvadra_bench_actions >/dev/null
done
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
i=0
while [ "$i" -lt "$runs" ]; do
    i=$((i + 1))
    "$work/old/build-bench/bench/kvadra_bench_actions" "$reps" 2>/dev/null | sed -n '3,12p' |
        sed 's/^/old|/' >>"$work/figures"
    build-bench/bench/kvadra_bench_actions "$reps" 2>/dev/null | sed -n '3,12p' |
        sed 's/^/new|/' >>"$work/figures"
done
echo "$rev against the working tree, $runs alternated runs of $reps repetitions, ms"
printf '  %-44s %8s %8s %6s\n' "median of the medians" "$rev" "now" "ratio"
# Each line: side|  action name   median   worst [missed]
awk -F'|' '{
    n = split($2, f, " ")
    if (f[n] == "missed") n--
    name = f[1]; for (k = 2; k <= n - 2; k++) name = name " " f[k]
    if (!(name in seen)) { seen[name] = 1; order[++count] = name }
    key = $1 SUBSEP name; m[key] = m[key] " " f[n - 1]
}
function median(list,   v, c, a, b, t) {
    c = split(list, v, " ")
    for (a = 1; a <= c; a++) for (b = a + 1; b <= c; b++) if (v[b] + 0 < v[a] + 0) { t = v[a]; v[a] = v[b]; v[b] = t }
    return c % 2 ? v[(c + 1) / 2] : (v[c / 2] + v[c / 2 + 1]) / 2
}
END {
    for (k = 1; k <= count; k++) {
        o = median(m["old" SUBSEP order[k]]); w = median(m["new" SUBSEP order[k]])
        printf "  %-44s %8.3f %8.3f %6.2f\n", order[k], o, w, (w > 0 ? o / w : 0)
    }
}' "$work/figures"
