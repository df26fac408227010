"""The comparisons: exact solver against ngspice, program against exact solver."""

import copy
import math
import os
import random
import re
import threading
from collections import Counter
from decimal import Decimal, InvalidOperation
from fractions import Fraction

from . import formula, generate, joins, solver, spelling, spice

SPICE_TOLERANCE = 1e-9
# The summary's lines, in order: what each comparison holds against what.
CATEGORIES = (
    ("ngspice sets", "ngspice vs exact: Z, Y, H, G by their own drives, ABCD from them"),
    ("ngspice terminated", "ngspice vs exact: Zin, Zout, Av, Avs, Ai, Vth, P"),
    ("ngspice tf", "ngspice .tf vs exact: V2/Vs, input and output impedance"),
    ("ngspice joined", "ngspice vs exact: the joined networks as built"),
    ("program runs", "program: exit code 0 and JSON of the agreed shape"),
    ("program missing", "program: which sets and quantities are missing"),
    ("program exact", "program: exact = exact solver"),
    ("program decimal", "program: decimal = exact to 15 significant digits"),
    ("program flags", "program: reciprocal and symmetric"),
    ("program terminated", "program: terminated quantities = exact"),
    ("program formula", "program: formula at random values = exact solver there"),
    ("program --value", "program: exact with --value for every symbol"),
    ("program join rule", "program: joined rule = textbook rule from the exact sets"),
    ("program join built", "program: joined built = exact solve of the wired network"),
    ("program rule_holds", "program: rule_holds = (rule == built), exactly"),
    ("program malformed", "program: exit 2 and the faulty line named"),
    ("program stdin", "program: --parameters - reads standard input"),
)


class Stat:
    def __init__(self):
        self.checked = 0
        self.failed = 0
        self.worst = 0.0
        self.skipped = 0


class Report:
    def __init__(self, out_dir):
        self.lock = threading.Lock()
        self.stats = {name: Stat() for name, _ in CATEGORIES}
        self.failures = []
        self.counts = Counter()
        self.coverage = Counter()
        self.out_dir = out_dir

    def check(self, category, ok=True, deviation=None):
        with self.lock:
            s = self.stats[category]
            s.checked += 1
            if not ok:
                s.failed += 1
            if deviation is not None and math.isfinite(deviation):
                s.worst = max(s.worst, deviation)

    def skip(self, category):
        with self.lock:
            self.stats[category].skipped += 1

    def count(self, what, n=1):
        with self.lock:
            self.counts[what] += n

    def cover(self, what, n=1):
        with self.lock:
            self.coverage[what] += n


class Case:
    """One netlist (or pair) under test: where its failures are told, with all it takes to
    repeat them."""

    def __init__(self, report, case_id, texts, files_dir=None):
        self.report = report
        self.id = case_id
        self.texts = texts            # {label: netlist text}
        self.files_dir = files_dir
        self.files = {}

    def write(self, label, data):
        """Writes a netlist for the program; returns its path."""
        name = self.id.replace(":", "-") + ("" if label == "netlist" else "-" + label) + ".cir"
        path = os.path.join(self.files_dir, name)
        with open(path, "wb") as f:
            f.write(data if isinstance(data, bytes) else data.encode("utf-8"))
        self.files[label] = path
        return path

    def fail(self, category, message, command=None):
        self.report.check(category, ok=False)
        with self.report.lock:
            self.report.failures.append((category, self.id, message, command, dict(self.texts)))

    def ok(self, category, deviation=None):
        self.report.check(category, ok=True, deviation=deviation)


def show(x):
    if isinstance(x, Fraction):
        return f"{x} (≈ {float(x):.17g})"
    return repr(x)


# ---------------------------------------------------------------------------------------------
# Numbers as the program writes them

_EXACT = re.compile(r"^-?(0|[1-9][0-9]*)(/[1-9][0-9]*)?$")


def exact_problem(text, value):
    """Why the program's exact text is not value written as a reduced fraction, or None."""
    if not isinstance(text, str):
        return f"exact is {text!r}, not a text"
    if not _EXACT.match(text) or text == "-0":
        return f"exact {text!r} is not an integer or a fraction n/d"
    if "/" in text:
        n, d = text.lstrip("-").split("/")
        if d == "1" or math.gcd(int(n), int(d)) != 1:
            return f"exact {text!r} is not reduced"
    if Fraction(text) != value:
        return f"exact {text} is not {show(value)}"
    return None


def _significant_digits(text):
    mantissa = re.split(r"[eE]", text.lstrip("+-"))[0].replace(".", "")
    return len(mantissa.lstrip("0").rstrip("0")) or 1


def decimal_problem(got, value):
    """(problem or None, relative deviation) of the program's decimal against the exact value:
    at most 15 significant digits, within half a unit of the 15th (and the rounding of the double
    in between)."""
    if isinstance(got, bool) or not isinstance(got, (str, int, Decimal)):
        return f"decimal is {got!r}, not a number", None
    text = str(got)
    if not re.match(r"^[+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][+-]?[0-9]+)?$", text):
        return f"decimal {text!r} is not a number with a decimal point", None
    try:
        d = Fraction(Decimal(text))
    except (InvalidOperation, ValueError):
        return f"decimal {text!r} does not read", None
    if _significant_digits(text) > 15:
        return f"decimal {text} has more than 15 significant digits", None
    if value == 0:
        return (None if d == 0 else f"decimal {text} is not 0"), float(abs(d))
    magnitude = abs(value)
    e = len(str(magnitude.numerator)) - len(str(magnitude.denominator))
    while Fraction(10) ** e > magnitude:
        e -= 1
    while Fraction(10) ** (e + 1) <= magnitude:
        e += 1
    tolerance = Fraction(1, 2) * Fraction(10) ** (e - 14) + magnitude / 2 ** 52
    deviation = float(abs(d - value) / magnitude)
    if abs(d - value) > tolerance:
        return f"decimal {text} is not {show(value)} to 15 significant digits", deviation
    return None, deviation


# ---------------------------------------------------------------------------------------------
# What the program should say about one network

class Expect:
    """What the program must print for a network.

    known: exact values are expected (no symbol without a value); sets, term, recip, sym are then
    those values. points: [(values, sets, term)] at which the formulas are judged, where the
    network has symbols. exists/term_exists: which sets and terminated quantities exist (for a
    network with unvalued symbols, generically: at some random values)."""

    def __init__(self, sets, recip, sym, term=None, known=True, points=(), symbols=()):
        self.sets = sets
        self.recip = recip
        self.sym = sym
        self.term = term
        self.known = known
        self.points = list(points)
        self.symbols = list(symbols)


def generic_expect(points, term_wanted, symbols):
    """An Expect for a network whose symbols have no values: what holds at random values."""
    sets = {}
    for name in solver.SETS:
        exist = [p[1][name] is not None for p in points]
        sets[name] = "exists" if any(exist) else None
    recip = all(p[3] for p in points)
    sym = all(p[4] for p in points)
    term = None
    if term_wanted:
        term = {}
        for q in solver.TERMINATED:
            values = [p[2][q] for p in points]
            if any(isinstance(v, Fraction) for v in values):
                term[q] = "exists"
            elif all(v == "ambiguous" for v in values):
                term[q] = "ambiguous"
            else:
                term[q] = None
    return Expect(sets, recip, sym, term, known=False,
                  points=[(p[0], p[1], p[2]) for p in points], symbols=symbols)


def solve_point(network, values, loads):
    """(values, sets, terminated, reciprocal, symmetric) at the given symbol values, or None
    where the network is no two-port there."""
    try:
        rel = solver.relation(network, values)
    except solver.Degenerate:
        return None
    sets = solver.all_sets(rel)
    term = solver.terminated(rel, *loads) if loads else {}
    return values, sets, term, solver.reciprocal(rel), solver.symmetric(rel)


def _block(case, category, container, key, command):
    block = container.get(key) if isinstance(container, dict) else None
    if not isinstance(block, dict):
        case.fail("program runs", f"{category}: no object {key!r}", command)
        return None
    return block


def check_quantity(case, where, got, value, points_values, expect, command):
    """One entry or terminated quantity that exists on both sides."""
    if not isinstance(got, dict):
        case.fail("program runs", f"{where}: {got!r} is not an object", command)
        return
    category_exact = "program terminated" if where.startswith("terminated") else "program exact"
    if expect.known:
        problem = exact_problem(got.get("exact"), value)
        if problem:
            case.fail(category_exact, f"{where}: {problem}", command)
        else:
            case.ok(category_exact)
        problem, deviation = decimal_problem(got.get("decimal"), value)
        if problem:
            case.fail("program decimal", f"{where}: {problem}", command)
        else:
            case.ok("program decimal", deviation)
    else:
        present = [k for k in ("exact", "decimal") if k in got]
        if present:
            case.fail("program missing", f"{where}: {' and '.join(present)} given while "
                      f"{', '.join(expect.symbols)} have no value", command)
        else:
            case.ok("program missing")
    if expect.symbols:
        text = got.get("formula")
        if got.get("formula_too_long") is True and text is None:
            # Past what a student could read, the program says so instead of writing it out.
            case.report.skip("program formula")
            return
        if not isinstance(text, str) or not text.strip():
            case.fail("program formula", f"{where}: no formula, though the netlist has symbols",
                      command)
            return
        judged, wanted = 0, 0
        for values, expected in points_values:
            if not isinstance(expected, Fraction):
                continue
            wanted += 1
            try:
                v = formula.evaluate(text, values)
            except formula.Undefined:
                continue
            except formula.FormulaError as e:
                case.fail("program formula", f"{where}: formula {text!r}: {e}", command)
                return
            if v != expected:
                shown = ", ".join(f"{k} = {values[k]}" for k in expect.symbols)
                case.fail("program formula", f"{where}: formula {text!r} at {shown} gives "
                          f"{show(v)}, the exact solver {show(expected)}", command)
                return
            judged += 1
        if wanted and not judged:
            case.fail("program formula", f"{where}: formula {text!r} divides by zero at each of "
                      f"the {wanted} points where the value exists", command)
        elif judged:
            case.ok("program formula")


def check_sets(case, label, sets_json, expect, command, missing_category="program missing",
               value_category=None):
    """A "sets" object against the expectation; label says whose sets they are."""
    if not isinstance(sets_json, dict):
        case.fail("program runs", f"{label}: no object 'sets'", command)
        return
    for name in solver.SETS:
        block = _block(case, label, sets_json, name, command)
        if block is None:
            continue
        expected = expect.sets[name]
        has_entries = isinstance(block.get("entries"), dict)
        has_missing = isinstance(block.get("missing"), str) and block["missing"].strip() != ""
        if has_entries == has_missing:
            case.fail("program runs", f"{label} {name}: neither entries nor a missing reason: "
                      f"{block!r}"[:400], command)
            continue
        if (expected is not None) != has_entries:
            if expected is None:
                case.fail(missing_category, f"{label} {name}: given, but its test has no unique "
                          f"answer (expected missing)", command)
            else:
                case.fail(missing_category, f"{label} {name}: missing ({block.get('missing')!r})"
                          f", but it exists" + (f": {_show_matrix(expected)}"
                                                if expect.known else ""), command)
            continue
        case.ok(missing_category)
        if expected is None:
            continue
        for k, key in enumerate(solver.ENTRIES[name]):
            got = block["entries"].get(key)
            i, j = divmod(k, 2)
            value = expected[i][j] if expect.known else None
            points = [(p[0], p[1][name][i][j] if p[1][name] is not None else None)
                      for p in expect.points]
            if got is None:
                case.fail("program runs", f"{label} {name}: no entry {key}", command)
                continue
            if value_category and expect.known:
                # Only the exact value is counted under this comparison's own name.
                problem = exact_problem(got.get("exact") if isinstance(got, dict) else None,
                                        value)
                if problem:
                    case.fail(value_category, f"{label} {name}.{key}: {problem}", command)
                    continue
                case.ok(value_category)
            check_quantity(case, f"{label} {name}.{key}", got, value, points, expect, command)


def _show_matrix(m):
    return "[[" + "], [".join(", ".join(str(x) for x in row) for row in m) + "]]"


def check_flags(case, data, expect, command):
    sets = expect.sets
    for flag, expected in (("reciprocal", expect.recip), ("symmetric", expect.sym)):
        got = data.get(flag)
        if got is None and all(sets[n] is None for n in ("Z", "Y", "H")):
            case.report.skip("program flags")  # the agreed exception: nothing to tell it by
            continue
        if not isinstance(got, bool):
            case.fail("program runs", f"{flag}: {got!r} is not true or false", command)
            continue
        if got != expected:
            why = {"reciprocal": "z12 = z21 (any two port states x, y: V1x I1y + V2x I2y = "
                                 "V1y I1x + V2y I2x)",
                   "symmetric": "the ports can be interchanged: z11 = z22 and z12 = z21"}[flag]
            case.fail("program flags", f"{flag}: {got}, expected {expected}; {why}", command)
        else:
            case.ok("program flags")


def check_terminated(case, data, expect, loads_text, command):
    block = _block(case, "terminated", data, "terminated", command)
    if block is None:
        return
    for q in solver.TERMINATED:
        got = block.get(q)
        expected = expect.term[q]
        where = f"terminated {q} (--source {loads_text[0]} --load {loads_text[1]})"
        if not isinstance(got, dict):
            case.fail("program runs", f"{where}: {got!r} is not an object", command)
            continue
        case.report.count("terminated")
        if expected == "ambiguous":
            case.report.skip("program terminated")
            continue
        missing = isinstance(got.get("missing"), str) and got["missing"].strip() != ""
        if (expected is None) != missing:
            if expected is None:
                case.fail("program missing", f"{where}: given, but its test has no unique "
                          f"answer (expected missing)", command)
            else:
                case.fail("program missing", f"{where}: missing ({got.get('missing')!r}), but "
                          + (f"it is {show(expected)}" if expect.known else "it exists"),
                          command)
            continue
        case.ok("program missing")
        if expected is None:
            continue
        points = [(p[0], p[2][q]) for p in expect.points]
        check_quantity(case, where, got, expected if expect.known else None, points, expect,
                       command)


def check_parameters(case, run, expect, loads_text=None):
    """Everything the program printed for one network against the expectation."""
    if run.data is None:
        case.fail("program runs", f"{run.problem}\nstderr: {run.err[-1500:]}\nstdout: "
                  f"{run.out[:1500]}", run.command)
        return False
    case.ok("program runs")
    check_sets(case, "", run.data.get("sets"), expect, run.command)
    check_flags(case, run.data, expect, run.command)
    if expect.term is not None:
        check_terminated(case, run.data, expect, loads_text, run.command)
    return True


# ---------------------------------------------------------------------------------------------
# ngspice against the exact solver

FLOOR = 1e-12


def _deviation(ng, ex, floor):
    """ngspice's disagreement with the exact value: relative, except that an absolute error up to
    floor (1e-12 of the largest voltage or current in the circuit, carried through to the
    quantity) counts as none. Agreement is a deviation up to SPICE_TOLERANCE."""
    ex = float(ex)
    if ng == ex:
        return 0.0
    return abs(ng - ex) / (abs(ex) + floor / SPICE_TOLERANCE)


# ngspice's error where a circuit's own equations amplify its rounding: up to this many times
# the rounding carried through them (see spice.Deck.error_bounds).
ROUNDING_FACTOR = 4096.0
# The floor that goes with it. A value that is exactly 0 as the difference of two node voltages
# of 1 V came out as 2e-11: an ill-conditioned circuit's rounding is not bounded by the first
# order alone.
ROUNDED_FLOOR = 1e-10
# How far rounding a circuit's values to doubles may move a quantity before ngspice's answer for
# it says nothing about the exact one.
ROUNDED_INPUTS = Fraction(1, 10 ** 12)


_DRIVES = {"Z": ("I", "I"), "Y": ("V", "V"), "H": ("I", "V"), "G": ("V", "I")}


def _states_set(states, name):
    """A set's 2x2 matrix from two port states that span the relation, in floats."""
    fixed, read = solver.TESTS[name]

    def q(state, quantity):
        sign = -1 if quantity.startswith("-") else 1
        return sign * state[solver.PORT.index(quantity.lstrip("-"))]
    a, b = states
    m = [[q(a, fixed[0]), q(b, fixed[0])], [q(a, fixed[1]), q(b, fixed[1])]]
    det = m[0][0] * m[1][1] - m[0][1] * m[1][0]
    out = []
    for i in range(2):
        row = []
        for j in range(2):
            e = (1, 0) if j == 0 else (0, 1)
            alpha = (e[0] * m[1][1] - m[0][1] * e[1]) / det
            beta = (m[0][0] * e[1] - m[1][0] * e[0]) / det
            row.append(alpha * q(a, read[i]) + beta * q(b, read[i]))
        out.append(row)
    return out


def _states_set_floors(states, floors, name):
    """The set from two port states, and for each entry the floor its states' floors carry over
    to it (to first order, one state quantity at a time)."""
    base = _states_set(states, name)
    total = [[0.0, 0.0], [0.0, 0.0]]
    for s in range(2):
        for k in range(4):
            if not floors[s][k]:
                continue
            moved = [list(states[0]), list(states[1])]
            moved[s][k] += floors[s][k]
            other = _states_set(moved, name)
            for i in range(2):
                for j in range(2):
                    total[i][j] += abs(other[i][j] - base[i][j])
    return base, total


def _rounded_quantities(network, values, loads, with_tf):
    """Every quantity spice_check compares, by key, exact for the circuit ngspice gets: each
    value (resistance, gain, symbol, Zs, ZL) rounded to the nearest double."""
    def near(x):
        return Fraction(float(x))
    rounded = copy.deepcopy(network)
    for e in rounded.branches():
        if e.symbol is None and e.value is not None:
            e.value, e.conductance = near(e.value), False
    vals = {k: near(v) for k, v in (values or {}).items()}
    out = {}
    try:
        rel = solver.relation(rounded, vals)
    except solver.Degenerate:
        return out
    for name, m in solver.all_sets(rel).items():
        if m is not None:
            for i in range(2):
                for j in range(2):
                    out[("set", name, i, j)] = m[i][j]
    for k, (_, zs, _, zl) in enumerate(loads):
        for q, v in solver.terminated(rel, near(zs), near(zl)).items():
            if isinstance(v, Fraction):
                out[("term", k, q)] = v
        if k == 0 and with_tf:
            for key, v in solver.internal_quantities(rel, near(zs), near(zl)).items():
                if v is not None:
                    out[("tf", key)] = v
    return out


def _state_floors(deck, tag, rounding):
    """The floor of each of (V1, I1, V2, I2) in one copy (0 for what its drive fixes): 1e-12 of
    the copy's largest voltage or current, or with rounding, 1e-10 of it and what ngspice's
    rounding may become through the copy's equations."""
    volts, amps = deck.scales(tag)
    # A current through a short leaves every voltage near 0, yet ngspice's rounding of it is
    # a current times a resistance: each scale is also the other one carried over by the
    # copy's typical resistance.
    r0 = deck.resistance(tag)
    volts, amps = max(volts, amps * r0), max(amps, volts / r0)
    floor = ROUNDED_FLOOR if rounding else FLOOR
    floors = [floor * volts, floor * amps, floor * volts, floor * amps]
    if rounding:
        bounds = deck.error_bounds(tag)
        floors = [f + ROUNDING_FACTOR * spice.EPSILON * b for f, b in zip(floors, bounds)]
    for number in (1, 2):
        kind = deck.drives[tag][number][0]
        if kind == "I":
            floors[2 * number - 1] = 0.0
        elif kind == "V":
            floors[2 * number - 2] = 0.0
    return floors


def spice_check(case, network, rel, sets, loads, terms, category, values=None, fault=False,
                keep=None):
    """Runs the network in ngspice, driven as each existing set's test and each terminated
    quantity's test drives it, and compares with the exact solver.

    Each comparison allows 1e-9 relative and an absolute floor: first 1e-12 of the largest
    voltage or current in the copy it is read from; where that fails, also what ngspice's
    rounding may grow to through that copy's equations (a near-singular circuit). The summary
    counts how many needed the second."""
    deck = spice.Deck(fault=fault)
    for name, (k1, k2) in _DRIVES.items():
        if sets[name] is not None:
            deck.add(f"{name.lower()}a", network, {1: (k1, 1), 2: (k2, 0)}, values)
            deck.add(f"{name.lower()}b", network, {1: (k1, 0), 2: (k2, 1)}, values)
    tf_expect = None
    for k, ((zs_text, zs, zl_text, zl), term) in enumerate(zip(loads, terms)):
        def unique(q):
            return isinstance(term[q], Fraction)
        if unique("Zin"):
            deck.add(f"t{k}zin", network, {1: ("I", 1), 2: ("R", zl)}, values)
        if unique("Av"):
            deck.add(f"t{k}av", network, {1: ("V", 1), 2: ("R", zl)}, values)
        if unique("Avs"):
            deck.add(f"t{k}avs", network, {1: ("VS", zs), 2: ("R", zl)}, values)
            if k == 0 and zl > 0 and tf_expect is None:
                internal = solver.internal_quantities(rel, zs, zl)
                if all(v is not None for v in internal.values()):
                    deck.add_tf(f"t{k}avs")
                    # What .tf's output impedance solves, as a copy of its own: a second
                    # reading of it, and the rounding bound of that solve.
                    deck.add(f"t{k}out", network, {1: ("R", zs), 2: ("IR", zl)}, values)
                    tf_expect = (f"t{k}avs", internal)
        if unique("Vth"):
            deck.add(f"t{k}vth", network, {1: ("VS", zs), 2: ("I", 0)}, values)
        if unique("Zout"):
            deck.add(f"t{k}zout", network, {1: ("R", zs), 2: ("I", 1)}, values)
    if not deck.copies:
        return
    try:
        ports, tfs, text = deck.run(keep)
    except (RuntimeError, OSError, ValueError) as e:
        case.fail(category, f"ngspice failed: {e}")
        return
    context = "" if not values else " at " + ", ".join(f"{k} = {v}" for k, v in values.items())
    pending = []  # (category, where, ngspice's value, exact value, floor from state floors, key)

    def compare(cat, where, ng, ex, floor_of, key):
        pending.append((cat, where, ng, ex, floor_of, key))

    for name in solver.SETS:
        matrix = sets[name]
        if matrix is None:
            continue
        if name in _DRIVES:
            _, read = solver.TESTS[name]
            for j, tag in enumerate((f"{name.lower()}a", f"{name.lower()}b")):
                for i, q in enumerate(read):
                    k = solver.PORT.index(q)
                    compare(category, f"{name}.{solver.ENTRIES[name][2 * i + j]}",
                            ports[tag][k], matrix[i][j],
                            lambda floors, tag=tag, k=k: floors(tag)[k], ("set", name, i, j))
        else:
            source = next(n for n in ("Y", "Z", "H", "G") if sets[n] is not None)
            tags = (f"{source.lower()}a", f"{source.lower()}b")
            states = [ports[t] for t in tags]
            got = _states_set(states, name)
            for i in range(2):
                for j in range(2):
                    compare(category, f"{name}.{solver.ENTRIES[name][2 * i + j]} (from the "
                            f"{source} drives)", got[i][j], matrix[i][j],
                            lambda floors, i=i, j=j: _states_set_floors(
                                states, [floors(t) for t in tags], name)[1][i][j],
                            ("set", name, i, j))
    term_category = "ngspice terminated" if category == "ngspice sets" else category
    for k, ((zs_text, zs, zl_text, zl), term) in enumerate(zip(loads, terms)):
        where = f"Zs = {zs}, ZL = {zl}: "
        readings = {"Zin": (f"t{k}zin", 0), "Ai": (f"t{k}zin", 3), "Av": (f"t{k}av", 2),
                    "Avs": (f"t{k}avs", 2), "P": (f"t{k}avs", None),
                    "Vth": (f"t{k}vth", 2), "Zout": (f"t{k}zout", 2)}
        for q, (tag, index) in readings.items():
            if not isinstance(term[q], Fraction) or tag not in ports:
                continue
            s = ports[tag]
            if q == "P":
                compare(term_category, where + q, -s[2] * s[3], term[q],
                        lambda floors, tag=tag, s=s: abs(s[3]) * floors(tag)[2]
                        + abs(s[2]) * floors(tag)[3], ("term", k, q))
            else:
                compare(term_category, where + q, -s[index] if q == "Ai" else s[index],
                        term[q], lambda floors, tag=tag, index=index: floors(tag)[index],
                        ("term", k, q))
    if tf_expect is not None:
        tag, internal = tf_expect
        s = ports[tag]
        got = tfs[tag]
        out_tag = tag.replace("avs", "out")
        tf_floor = {"transfer": lambda f: f(tag)[2],
                    "input": lambda f: f(tag)[1] / s[1] ** 2 if s[1] else float("inf"),
                    "output": lambda f: f(out_tag)[2]}
        for key in ("transfer", "input", "output"):
            compare("ngspice tf", f".tf {key}", got[key], internal[key], tf_floor[key],
                    ("tf", key))
        compare("ngspice tf", "output impedance by operating point", ports[out_tag][2],
                internal["output"], lambda f: f(out_tag)[2], ("tf", "output"))

    cache = {}

    def floors(rounding):
        def of(tag):
            if (tag, rounding) not in cache:
                cache[tag, rounding] = _state_floors(deck, tag, rounding)
            return cache[tag, rounding]
        return of

    rounded = None
    for cat, where, ng, ex, floor_of, key in pending:
        d = _deviation(ng, ex, floor_of(floors(False)))
        if d <= SPICE_TOLERANCE:
            case.ok(cat, d)
            continue
        # ngspice solves the circuit with its values rounded to doubles. Where that alone moves
        # the exact answer by more than ROUNDED_INPUTS, no double-precision solver can be held
        # to 1e-9 on it: it is not judged. Otherwise ngspice is held to the exact answer of the
        # rounded circuit, with what its own rounding may add.
        if rounded is None:
            rounded = _rounded_quantities(network, values, loads,
                                          tf_expect is not None)
        target = rounded.get(key)
        if target is None or abs(target - ex) > ROUNDED_INPUTS * abs(ex):
            case.report.skip(cat)
            case.report.count("ngspice comparisons too sensitive to rounded values")
            continue
        floor = floor_of(floors(True))
        conditioned = _deviation(ng, target, floor)
        if conditioned <= SPICE_TOLERANCE:
            case.ok(cat, conditioned)
            case.report.count("comparisons held to their rounding bound")
            continue
        case.fail(cat, f"{where}{context}: ngspice {ng!r}, exact {show(ex)} (relative "
                  f"disagreement {d:.3g}; absolute floor with the rounding bound {floor:.3g})"
                  f"\nngspice deck:\n{text}")


# ---------------------------------------------------------------------------------------------
# Sources and loads

def spell_load(rng):
    form = rng.choice(spelling.RESISTANCE_FORMS)
    text, value, _ = spelling.resistance(rng, form)
    return text, value, form


def _det(rel, rows):
    m = [list(rel[0]), list(rel[1])] + [list(r) for r in rows]
    return solver.determinant(m)


def _positive_root(det_of):
    """The positive value z at which the affine det_of(z) vanishes, or None."""
    d0, d1 = det_of(Fraction(0)), det_of(Fraction(1))
    if d0 == d1:
        return None
    root = d0 / (d0 - d1)
    return root if root > 0 else None


def choose_loads(rng, rel, report):
    """Two (Zs text, Zs, ZL text, ZL): ordinary values, then values that leave some test without
    a unique answer where the network allows one with Zs, ZL >= 0, else a source without
    resistance."""
    zs_text, zs, form1 = spell_load(rng)
    zl_text, zl, form2 = spell_load(rng)
    report.cover("load " + form1)
    report.cover("load " + form2)
    loads = [(zs_text, zs, zl_text, zl)]
    zs2_text, zs2, _ = spell_load(rng)
    zl2_text, zl2, _ = spell_load(rng)
    options = []
    r = _positive_root(lambda z: _det(rel, [(0, 0, 1, z), (0, 1, 0, 0)]))
    if r is not None:
        options.append(("Zin", zs2_text, zs2, spelling.plain(r), r))
    r = _positive_root(lambda z: _det(rel, [(0, 0, 1, z), (1, 0, 0, 0)]))
    if r is not None:
        options.append(("Av", zs2_text, zs2, spelling.plain(r), r))
    r = _positive_root(lambda z: _det(rel, [(1, z, 0, 0), (0, 0, 0, 1)]))
    if r is not None:
        options.append(("Zout", spelling.plain(r), r, zl2_text, zl2))
    r = _positive_root(lambda z: _det(rel, [(0, 0, 1, zl2), (1, z, 0, 0)]))
    if r is not None:
        options.append(("Avs", spelling.plain(r), r, zl2_text, zl2))
    # The program reads values of at most 40 characters; a longer root is no load to type.
    options = [o for o in options if len(o[1]) <= 40 and len(o[3]) <= 40]
    if options:
        which, a, b, c, d = rng.choice(options)
        report.cover("singular load " + which)
        loads.append((a, b, c, d))
    else:
        report.cover("source without resistance")
        loads.append(("0", Fraction(0), zl2_text, zl2))
    return loads


# ---------------------------------------------------------------------------------------------
# The cases

class Config:
    def __init__(self, seed, program, spice_on, out_dir, spice_fault=False, stdin_every=5):
        self.seed = seed
        self.program = program
        self.spice = spice_on
        self.out_dir = out_dir
        self.spice_fault = spice_fault
        self.stdin_every = stdin_every
        self.count = None


def _note_network(report, network):
    report.count("netlists")
    report.cover("kind " + network.kind)
    for e in network.elements:
        if e.form:
            report.cover("form " + e.form)
        report.cover("element " + e.kind + (" (conductance)" if e.conductance else ""))
        if e.kind != "P" and e.name[0].islower():
            report.cover("lower-case letter")
    if "\t" in network.text:
        report.cover("tab")
    if ";" in network.text:
        report.cover("trailing comment")
    if "\n*" in "\n" + network.text:
        report.cover("comment line")
    if "\n\n" in network.text:
        report.cover("blank line")


def _count_sets(report, sets):
    report.count("sets", len(sets))
    report.count("entries", 4 * sum(1 for m in sets.values() if m is not None))


def run_numeric(cfg, report, index):
    seed = f"{cfg.seed}:n:{index}"
    # The first networks of a run are one of each kind, so that a short run has them all too.
    kinds = [k for k, _ in generate.KINDS]
    network = generate.numeric_network(seed, kinds[index] if index < len(kinds) else None)
    case = Case(report, f"n:{index}", {"netlist": network.text}, cfg.out_dir)
    _note_network(report, network)
    rel = solver.relation(network)
    sets = solver.all_sets(rel)
    _count_sets(report, sets)
    recip, sym = solver.reciprocal(rel), solver.symmetric(rel)
    for name, m in sets.items():
        report.cover(f"set {name} {'present' if m is not None else 'missing'}")
    report.cover(f"reciprocal {recip}")
    report.cover(f"symmetric {sym}")
    if sets["Z"] is not None and sets["Z"][0][0] == sets["Z"][1][1] and not recip:
        report.cover("z11 = z22 but not reciprocal")
    rng = random.Random(seed + ":loads")
    loads = choose_loads(rng, rel, report)
    terms = [solver.terminated(rel, zs, zl) for (_, zs, _, zl) in loads]
    for term in terms:
        for q, v in term.items():
            report.cover(f"terminated {q} " + ("missing" if v is None else
                                                "ambiguous" if v == "ambiguous" else "present"))
    if cfg.spice:
        spice_check(case, network, rel, sets, [(a, b, c, d) for a, b, c, d in loads], terms,
                    "ngspice sets", fault=cfg.spice_fault)
    if cfg.program is None:
        return
    path = case.write("netlist", network.text)
    for k, (zs_text, zs, zl_text, zl) in enumerate(loads):
        via_stdin = k == 0 and index % cfg.stdin_every == 0
        args = ["--parameters", "-" if via_stdin else path, "--json", "--source", zs_text,
                "--load", zl_text]
        run = cfg.program.run(args, stdin=network.text.encode() if via_stdin else None)
        expect = Expect(sets, recip, sym, terms[k])
        passed = check_parameters(case, run, expect, (zs_text, zl_text))
        if via_stdin:
            if passed:
                case.ok("program stdin")
            else:
                case.fail("program stdin", "the same netlist on standard input fails (above)",
                          run.command)


def _spell_symbol_values(network, rng):
    """Values for --value, written as a netlist value; {symbol: (text, Fraction)}."""
    given = {}
    for e in network.elements:
        if e.symbol is None or e.symbol in given:
            continue
        if e.kind == "R":
            form = rng.choice(spelling.RESISTANCE_FORMS)
            text, value, _ = spelling.resistance(rng, form)
        else:
            form = rng.choice(spelling.GAIN_FORMS)
            text, value = spelling.gain(rng, form, e.kind, rng.random() < 0.5)
        given[e.symbol] = (text, value)
    return given


def run_symbolic(cfg, report, index, points_count=3):
    seed = f"{cfg.seed}:s:{index}"
    network = generate.symbolic_network(seed)
    case = Case(report, f"s:{index}", {"netlist": network.text}, cfg.out_dir)
    _note_network(report, network)
    report.count("symbolic netlists")
    rng = random.Random(seed + ":values")
    zs_text, zs, _ = spell_load(rng)
    zl_text, zl, _ = spell_load(rng)
    loads = (zs, zl)
    points = []
    while len(points) < points_count:
        p = solve_point(network, generate.symbol_values(network, rng), loads)
        if p is not None:
            points.append(p)
    # A formula may name the elements that have numbers too ("R1 + Ra" where R1 is 100): each
    # stands for its resistance or gain.
    named = {e.name: e.value for e in network.branches()
             if e.symbol is None and e.kind in "REGFH"}
    points = [({**named, **p[0]},) + p[1:] for p in points]
    unvalued = generic_expect(points, True, network.symbols)
    for _ in range(20):
        given = _spell_symbol_values(network, rng)
        at = solve_point(network, {k: v for k, (_, v) in given.items()}, loads)
        if at is not None and any(m is not None for m in at[1].values()):
            break
    else:
        report.skip("program --value")
        return
    values, sets_g, term_g, recip_g, sym_g = at
    _count_sets(report, sets_g)
    valued = Expect(sets_g, recip_g, sym_g, term_g, known=True,
                    points=[({**named, **values}, sets_g, term_g)] + unvalued.points,
                    symbols=network.symbols)
    if cfg.spice:
        rel = solver.relation(network, values)
        spice_check(case, network, rel, sets_g, [(zs_text, zs, zl_text, zl)], [term_g],
                    "ngspice sets", values=values, fault=cfg.spice_fault)
    if cfg.program is None:
        return
    path = case.write("netlist", network.text)
    base = ["--parameters", path, "--json", "--source", zs_text, "--load", zl_text]
    run = cfg.program.run(base)
    check_parameters(case, run, unvalued, (zs_text, zl_text))
    args = list(base)
    for name, (text, _) in given.items():
        args += ["--value", f"{name}={text}"]
    run = cfg.program.run(args)
    if run.data is None:
        case.fail("program --value", f"{run.problem}\nstderr: {run.err[-1500:]}", run.command)
        return
    check_sets(case, "", run.data.get("sets"), valued, run.command,
               value_category="program --value")
    check_flags(case, run.data, valued, run.command)
    check_terminated(case, run.data, valued, (zs_text, zl_text), run.command)


def run_join(cfg, report, index):
    kind = joins.KINDS[index % len(joins.KINDS)]
    # Most pairs have the sets the rule needs; one in six is taken as it comes.
    want_rule = index % 6 != 5
    for attempt in range(20):
        seed = f"{cfg.seed}:j:{index}:{attempt}"
        # Half the time the second network's ports are conductively apart: then no connection
        # can send a port's current round through it, and the rule holds for more than the
        # cascade (for which it always holds). A quarter of the pairs are two three-terminal
        # networks, whose common nodes a series connection shorts: the rule's classic failure;
        # a quarter are two four-terminal ones, which a parallel connection can upset as well.
        shape = index % 4
        common = {2: "three-terminal", 3: "four-terminal"}.get(shape)
        apart = "separate sides" if shape < 2 and kind != "cascade" else common
        first = generate.numeric_network(seed + ":1", common)
        second = generate.numeric_network(seed + ":2", apart)
        built = joins.join(first, second, kind)
        try:
            rel_built = solver.relation(built)
        except solver.Degenerate:
            continue
        rule_sets_present = solver.join_rule(kind, solver.all_sets(solver.relation(first)),
                                             solver.all_sets(solver.relation(second)))
        if rule_sets_present is None and want_rule and attempt < 19:
            continue
        break
    else:
        report.skip("program join built")
        return
    case = Case(report, f"j:{index}", {"netlist": first.text, "other": second.text},
                cfg.out_dir)
    report.count("joins")
    rel1, rel2 = solver.relation(first), solver.relation(second)
    sets1, sets2 = solver.all_sets(rel1), solver.all_sets(rel2)
    built_sets = solver.all_sets(rel_built)
    rule_rel = solver.join_rule(kind, sets1, sets2)
    rule_sets = solver.all_sets(rule_rel) if rule_rel is not None else {
        n: None for n in solver.SETS}
    holds = rule_rel is not None and solver.same_relation(rule_rel, rel_built)
    _count_sets(report, built_sets)
    report.cover(f"join {kind} rule {'holds' if holds else 'fails'}")
    if cfg.spice:
        spice_check(case, built, rel_built, built_sets, [], [], "ngspice joined",
                    fault=cfg.spice_fault)
    if cfg.program is None:
        return
    p1 = case.write("netlist", first.text)
    p2 = case.write("other", second.text)
    run = cfg.program.run(["--parameters", p1, "--json", "--join", kind, p2])
    expect1 = Expect(sets1, solver.reciprocal(rel1), solver.symmetric(rel1))
    if not check_parameters(case, run, expect1):
        return
    joined = _block(case, "joined", run.data, "joined", run.command)
    if joined is None:
        return
    for part, sets, rel, category in (("rule", rule_sets, rule_rel, "program join rule"),
                                      ("built", built_sets, rel_built, "program join built")):
        block = _block(case, f"joined {part}", joined, part, run.command)
        if block is None:
            continue
        expect = Expect(sets, None, None)
        check_sets(case, f"joined {kind} {part}", block.get("sets"), expect, run.command,
                   missing_category=category, value_category=category)
    got = joined.get("rule_holds")
    if not isinstance(got, bool):
        case.fail("program runs", f"joined rule_holds: {got!r} is not true or false",
                  run.command)
    elif got != holds:
        detail = ("the rule's set is missing" if rule_rel is None else
                  "rule and built are the same two-port" if holds else
                  "rule and built differ")
        case.fail("program rule_holds", f"joined {kind} rule_holds: {got}, expected {holds} "
                  f"({detail})", run.command)
    else:
        case.ok("program rule_holds")


_LINE = re.compile(r"\bline\s+(\d+)", re.I)
_LINE_COLON = re.compile(r":(\d+):(\d+)")
_COLUMN = re.compile(r"\bcolumn\s+(\d+)|:\d+:(\d+)", re.I)


def run_malformed(cfg, report, entry):
    case_id, data, line, names, what = entry
    text = data.decode("utf-8", "replace")
    case = Case(report, case_id, {"netlist": text}, cfg.out_dir)
    report.count("malformed netlists")
    path = case.write("netlist", data)
    run = cfg.program.run(["--parameters", path, "--json"], want_json=False)
    where = f"{what}"
    if run.code != 2:
        case.fail("program malformed", f"{where}: exit code {run.code}, expected 2 "
                  f"(stderr: {run.err[-500:]!r})", run.command)
        return
    message = run.err.strip()
    if not message:
        case.fail("program malformed", f"{where}: no message on stderr", run.command)
        return
    if line is not None:
        m = _LINE_COLON.search(message) or _LINE.search(message)
        if m is None or int(m.group(1)) != line:
            case.fail("program malformed", f"{where}: the message should name line {line}: "
                      f"{message!r}", run.command)
            return
        column = _COLUMN.search(message)
        lines = data.split(b"\n")
        width = len(lines[line - 1].decode("utf-8", "replace")) + 1
        if column is None or not 1 <= int(column.group(1) or column.group(2)) <= width:
            case.fail("program malformed", f"{where}: the message should name a column of line "
                      f"{line} (1 to {width}): {message!r}", run.command)
            return
    if names is not None and names.lower() not in message.lower() and \
            f"port {names[1]}" not in message.lower():
        case.fail("program malformed", f"{where}: the message should name {names}: "
                  f"{message!r}", run.command)
        return
    case.ok("program malformed")
