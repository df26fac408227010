#!/usr/bin/env python3
"""The oracle check: random two-port netlists, solved exactly here and by ngspice, against what
kvadra --parameters prints. See docs/oracle.md.

  run.py --program build/src/kvadra [--count 300] [--seed S] [--only n:17,j:3] [--no-spice]
  run.py --self-test [--count 300]     (against the test double, with injected faults)
"""

import argparse
import concurrent.futures
import os
import shutil
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))

from oracle import checks, generate, joins, malformed, spelling  # noqa: E402
from oracle.program import Program  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
FAKE = os.path.join(HERE, "fake_kvadra.py")
SHOWN_FAILURES = 12


def plan(count, only=None):
    """The cases of a run: numeric, symbolic, joined and malformed netlists."""
    numeric = [("n", i) for i in range(count)]
    symbolic = [("s", i) for i in range(max(8, count // 6))]
    joined = [("j", i) for i in range(max(10, count // 5))]
    per_kind = 2 if count >= 100 else 1
    cases = numeric + symbolic + joined + [("m", per_kind)]
    if only:
        wanted = set(only)
        cases = [c for c in cases if f"{c[0]}:{c[1]}" in wanted or
                 (c[0] == "m" and any(w.startswith("m:") for w in wanted))]
    return cases


def run(cfg, count, jobs, only=None, groups="nsjm", quiet=False):
    report = checks.Report(cfg.out_dir)
    tasks = []
    for group, index in plan(count, only):
        if group not in groups:
            continue
        if group == "n":
            tasks.append((checks.run_numeric, (cfg, report, index)))
        elif group == "s":
            tasks.append((checks.run_symbolic, (cfg, report, index)))
        elif group == "j":
            tasks.append((checks.run_join, (cfg, report, index)))
        elif group == "m" and cfg.program is not None:
            for entry in malformed.cases(cfg.seed, index):
                if only and not any(w == entry[0] or w == "m:all" for w in only):
                    continue
                tasks.append((checks.run_malformed, (cfg, report, entry)))
    started = time.time()
    with concurrent.futures.ThreadPoolExecutor(max_workers=jobs) as pool:
        futures = [pool.submit(f, *a) for f, a in tasks]
        for future in futures:
            try:
                future.result()
            except Exception as e:  # a crash of the harness itself is a failure too
                import traceback
                report.failures.append(("harness", "?", "".join(
                    traceback.format_exception(type(e), e, e.__traceback__)), None, {}))
    report.seconds = time.time() - started
    return report


# Where the full run must have been, at 300 networks or more: every value spelling, every
# element, every shape, each set missing somewhere.
def coverage_gaps(report, count):
    wanted = ["form " + f for f in spelling.RESISTANCE_FORMS]
    wanted += [f"form gain-{f}{s}" for f in spelling.GAIN_FORMS for s in ("", "-negative")]
    wanted += ["element " + k for k in ("R", "R (conductance)", "E", "G", "F", "H", "V")]
    wanted += ["kind " + k for k, _ in generate.KINDS]
    wanted += [f"set {n} {s}" for n in ("Z", "Y", "H", "G", "ABCD") for s in ("present",
                                                                             "missing")]
    wanted += ["reciprocal True", "reciprocal False", "symmetric True", "symmetric False",
               "z11 = z22 but not reciprocal", "lower-case letter", "tab", "trailing comment",
               "comment line", "blank line"]
    wanted += [f"terminated {q} missing" for q in ("Zin", "Zout", "Av", "Avs")]
    wanted += [f"join {k} rule {h}" for k in joins.KINDS for h in ("holds", "fails")
               if (k, h) != ("cascade", "fails")]
    return [w for w in wanted if not report.coverage[w]]


def summary(report, cfg, count, out=sys.stdout, coverage=True):
    c = report.counts
    print(f"oracle: seed {cfg.seed}: {c['netlists']} netlists ({c['symbolic netlists']} with "
          f"symbols), {c['joins']} joins, {c['malformed netlists']} malformed netlists in "
          f"{report.seconds:.0f} s", file=out)
    width = max(len(d) for _, d in checks.CATEGORIES)
    for name, description in checks.CATEGORIES:
        s = report.stats[name]
        if not s.checked and not s.skipped:
            continue
        worst = ""
        if name.startswith("ngspice") or name == "program decimal":
            worst = f"  worst relative disagreement {s.worst:.2g}"
        skipped = f", {s.skipped} not judged" if s.skipped else ""
        status = "ok" if not s.failed else f"{s.failed} FAILED"
        print(f"  {description:<{width}}  {s.checked:6d} compared{skipped}: {status}{worst}",
              file=out)
    held = c["comparisons held to their rounding bound"]
    if held:
        print(f"  {held} ngspice comparisons were held to their circuit's rounding bound, not "
              f"to 1e-9", file=out)
    sensitive = c["ngspice comparisons too sensitive to rounded values"]
    if sensitive:
        print(f"  {sensitive} ngspice comparisons not judged: rounding the circuit's values to "
              f"doubles moves the exact answer by more than 1e-12", file=out)
    gaps = coverage_gaps(report, count) if coverage else []
    if gaps:
        print(f"  not reached by this run: {', '.join(gaps)}", file=out)
    return gaps


def headline(report):
    c = report.counts
    stats = report.stats
    program_checked = sum(s.checked for n, s in stats.items() if n.startswith("program"))
    program_failed = sum(s.failed for n, s in stats.items() if n.startswith("program"))
    spice_worst = max(s.worst for n, s in stats.items() if n.startswith("ngspice"))
    spice_checked = sum(s.checked for n, s in stats.items() if n.startswith("ngspice"))
    parts = [f"{c['netlists']} netlists, {c['sets']} sets, {c['entries']} entries"]
    if program_checked:
        parts.append("program = exact in all" if not program_failed else
                     f"program disagrees in {program_failed} of {program_checked} comparisons")
    if spice_checked:
        parts.append(f"ngspice agrees to {spice_worst:.2g} at worst")
    return ": ".join(parts[:1]) + ("; ".join([""] + parts[1:]) if len(parts) > 1 else "")


def print_failures(report, cfg, out=sys.stderr):
    if not report.failures:
        return
    path = os.path.join(cfg.out_dir, "failures.txt")
    with open(path, "w", encoding="utf-8") as f:
        for category, case_id, message, command, texts in report.failures:
            f.write(_failure_text(category, case_id, message, command, texts, cfg))
    shown = {}
    printed = 0
    for category, case_id, message, command, texts in report.failures:
        if printed >= SHOWN_FAILURES or (shown.get(category, 0) >= 3):
            continue
        shown[category] = shown.get(category, 0) + 1
        printed += 1
        print(_failure_text(category, case_id, message, command, texts, cfg), file=out)
    print(f"oracle: {len(report.failures)} failures, {printed} shown above; all in {path}",
          file=out)


def _failure_text(category, case_id, message, command, texts, cfg):
    lines = [f"=== FAILED {category}, netlist {case_id}", message]
    if command:
        lines.append(f"command: {command}")
    for label, text in texts.items():
        lines.append(f"--- {label}:")
        lines.append(text.rstrip("\n"))
    lines.append(f"rerun: KVADRA_ORACLE_SEED={cfg.seed} scripts/check.sh oracle {cfg.count} "
                 f"--only {case_id}")
    return "\n".join(lines) + "\n\n"


# ---------------------------------------------------------------------------------------------
# The self-test: the harness against its test double, right and then wrong on purpose.

# fault -> (the comparisons that must catch it, the groups of netlists it shows in)
FAULTS = {
    "exact-entry": ("program exact", "n"),
    "unreduced": ("program exact", "n"),
    "abcd-sign": ("program exact", "n"),
    "h-swap": ("program exact", "n"),
    "comma-thousands": ("program exact", "n"),
    "gain-sign-F": ("program exact", "n"),
    "title-line": ("program exact|program missing|program runs", "n"),
    "decimal-digit": ("program decimal", "n"),
    "decimal-short": ("program decimal", "n"),
    "missing-z": ("program missing", "n"),
    "present-y": ("program missing", "n"),
    "singular-as-zero": ("program missing", "n"),
    "micro-sign": ("program runs", "n"),
    "reciprocal-from-z": ("program flags", "n"),
    "symmetric-diagonal": ("program flags", "n"),
    "zout-open": ("program terminated", "n"),
    "av-with-source": ("program terminated", "n"),
    "formula-sign": ("program formula", "s"),
    "value-ignored": ("program --value", "s"),
    "rule-y-for-series": ("program join rule", "j"),
    "built-is-rule": ("program join built", "j"),
    "ground-shared-in-join": ("program join built", "j"),
    "rule-holds-always": ("program rule_holds", "j"),
    "error-line": ("program malformed", "m"),
    "error-exit": ("program malformed", "m"),
    "mega-M": ("program malformed", "m"),
    "stdin-empty": ("program stdin", "n"),
}
SPICE_FAULT_CATEGORIES = ("ngspice sets", "ngspice terminated", "ngspice tf", "ngspice joined")


def self_test(args):
    seed = args.seed
    base_dir = args.out
    print(f"oracle self-test, seed {seed}: the harness against its test double "
          f"{os.path.relpath(FAKE)}")
    fake = Program([sys.executable, FAKE])
    cfg = checks.Config(seed, fake, True, _fresh(os.path.join(base_dir, "clean")))
    cfg.count = args.count
    started = time.time()
    report = run(cfg, args.count, args.jobs)
    gaps = summary(report, cfg, args.count)
    print("  " + headline(report))
    ok = not report.failures
    if report.failures:
        print_failures(report, cfg)
        print("self-test FAILED: the test double, which answers from the exact solver, "
              "does not pass")
    if gaps and args.count >= 300:
        print("self-test FAILED: the default run does not reach all of the above")
        ok = False
    small = max(30, args.count // 10)
    print(f"\ninjected faults, each on a run of {small} netlists of the kind it shows in:")
    results = []
    for fault, (categories, groups) in FAULTS.items():
        fcfg = checks.Config(seed, Program([sys.executable, FAKE], {"KVADRA_FAKE_FAULT": fault}),
                             False, _fresh(os.path.join(base_dir, "fault-" + fault)))
        r = run(fcfg, small, args.jobs, groups=groups)
        caught = {c: r.stats[c].failed for c in categories.split("|") if r.stats[c].failed}
        harness = [f for f in r.failures if f[0] == "harness"]
        results.append((fault, categories, caught, harness))
    fcfg = checks.Config(seed, None, True, _fresh(os.path.join(base_dir, "fault-spice")),
                         spice_fault=True)
    r = run(fcfg, small, args.jobs, groups="nj")
    caught = {c: r.stats[c].failed for c in SPICE_FAULT_CATEGORIES if r.stats[c].failed}
    missed = [c for c in SPICE_FAULT_CATEGORIES if not r.stats[c].failed]
    results.append(("ngspice deck: first resistor 1e-7 too large", "|".join(
        SPICE_FAULT_CATEGORIES), caught if not missed else {}, []))
    for fault, categories, caught, harness in results:
        if caught and not harness:
            shown = ", ".join(f"{c}: {n} failed" for c, n in caught.items())
            print(f"  caught  {fault:<45} {shown}")
        else:
            ok = False
            print(f"  MISSED  {fault:<45} expected in {categories}"
                  + (f"; harness crashed: {harness[0][2][-300:]}" if harness else ""))
    print(f"\nself-test {'passed' if ok else 'FAILED'} in {time.time() - started:.0f} s")
    return 0 if ok else 1


def _fresh(path):
    shutil.rmtree(path, ignore_errors=True)
    os.makedirs(path)
    return path


def main():
    p = argparse.ArgumentParser(description=__doc__,
                                formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("--program", help="the kvadra executable")
    p.add_argument("--count", type=int, default=300, help="numeric netlists (default 300)")
    p.add_argument("--seed", default=os.environ.get("KVADRA_ORACLE_SEED") or str(
        int(time.time() * 1000) % 1000000000))
    p.add_argument("--only", help="comma-separated netlist ids to rerun: n:17,s:3,j:4,m:2.1")
    p.add_argument("--no-spice", action="store_true", help="leave ngspice out")
    p.add_argument("--jobs", type=int, default=os.cpu_count() or 2)
    p.add_argument("--out", default=os.path.join(os.environ.get("BUILD_DIR", "build"), "oracle"))
    p.add_argument("--self-test", action="store_true",
                   help="run against the test double, then prove each comparison catches a fault")
    args = p.parse_args()
    if args.self_test:
        return self_test(args)
    if not args.program and args.no_spice:
        p.error("nothing to compare: give --program, or let ngspice run")
    program = Program([args.program]) if args.program else None
    cfg = checks.Config(args.seed, program, not args.no_spice, _fresh(args.out))
    cfg.count = args.count
    only = args.only.split(",") if args.only else None
    print(f"oracle: seed {args.seed} (KVADRA_ORACLE_SEED={args.seed} repeats this run)")
    if program is not None:
        # A program without the command line may open its window instead and never end.
        probe = program.run(["--parameters", "-", "--json"], stdin=b"R1 1 0 5/11\nP1 1 0\n"
                            b"P2 1 0\n", timeout=30)
        if probe.data is None or "sets" not in probe.data:
            print(f"oracle FAILED: {args.program} --parameters does not answer as agreed "
                  f"(has the program its command line yet?): "
                  f"{probe.problem or 'no sets in its JSON'}\ncommand: {probe.command}\n"
                  f"stdout: {probe.out[:500]}\nstderr: {probe.err[-500:]}", file=sys.stderr)
            return 1
    report = run(cfg, args.count, args.jobs, only)
    gaps = summary(report, cfg, args.count, coverage=not only)
    print("oracle: " + headline(report))
    if report.failures:
        print_failures(report, cfg)
        return 1
    if gaps and args.count >= 300:
        print("oracle FAILED: a run of 300 or more netlists should reach all of the above",
              file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
