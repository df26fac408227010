#!/usr/bin/env python3
"""TEST DOUBLE of kvadra's command line, for the oracle's --self-test only.

It answers `--parameters FILE [--value N=V]... [--json] [--source ZS --load ZL] [--join KIND
OTHER]` from the harness's own exact solver, so that the harness can be run against a program
before the real one has its command line, and it can be told to answer wrongly
(KVADRA_FAKE_FAULT=name) to prove that each of the harness's comparisons fails on a fault. It
reads netlists with a parser of its own, which also checks the generator's value texts from the
other side. It is no model of the real program: it is never installed nor run by CI except in
the self-test.
"""

import json
import os
import random
import re
import sys
from decimal import Decimal, localcontext
from fractions import Fraction

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))

from oracle import joins, solver  # noqa: E402
from oracle.netlist import Element, Network  # noqa: E402
from oracle.poly import Poly, determinant  # noqa: E402

FAULT = os.environ.get("KVADRA_FAKE_FAULT", "")


class NetlistError(Exception):
    def __init__(self, line, column, message):
        super().__init__(message)
        self.line, self.column, self.message = line, column, message

    def text(self):
        if self.line:
            return f"line {self.line}, column {self.column}: {self.message}"
        return self.message


# ---------------------------------------------------------------------------------------------
# Values

_PREFIX = {"f": -15, "p": -12, "n": -9, "u": -6, "\u00b5": -6, "m": -3, "k": 3, "meg": 6,
           "g": 9, "t": 12}
_NUMBER = re.compile(r"^(?P<sign>-)?(?:(?P<fp>\d+)/(?P<fq>\d+)|"
                     r"(?P<int>\d+)(?:[.,](?P<frac>\d+))?(?:[eE](?P<exp>[+-]?\d+))?)"
                     r"(?P<prefix>meg|MEG|Meg|[fpnu\u00b5mkgtKGTM])?(?P<unit>\u03a9|ohm|S)?$")
_RKM = re.compile(r"^(?P<sign>-)?(?P<a>\d+)(?P<letter>[Rr]|[kK]|meg|MEG)(?P<b>\d+)"
                  r"(?P<unit>\u03a9|ohm)?$")


def parse_value(text):
    """(value, is a conductance) of a netlist value, or ValueError."""
    m = _RKM.match(text)
    if m:
        power = {"r": 0, "k": 3, "meg": 6}[m["letter"].lower()]
        v = Fraction(int(m["a"] + m["b"]), 10 ** len(m["b"])) * Fraction(10) ** power
        return (-v if m["sign"] else v), False
    m = _NUMBER.match(text)
    if not m:
        raise ValueError(f"'{text}' is not a value")
    if m["fp"] is not None:
        if int(m["fq"]) == 0:
            raise ValueError(f"'{text}' divides by zero")
        v = Fraction(int(m["fp"]), int(m["fq"]))
    else:
        digits = m["int"] + (m["frac"] or "")
        if FAULT == "comma-thousands" and "," in text:
            v = Fraction(int(digits))
        else:
            v = Fraction(int(digits), 10 ** len(m["frac"] or ""))
        if m["exp"]:
            v *= Fraction(10) ** int(m["exp"])
    prefix = m["prefix"]
    if prefix:
        if prefix == "M":
            if FAULT != "mega-M":
                raise ValueError(f"'{text}': M is ambiguous; write meg (mega) or m (milli)")
            prefix = "meg"
        if prefix == "\u00b5" and FAULT == "micro-sign":
            raise ValueError(f"'{text}': unknown prefix")
        v *= Fraction(10) ** _PREFIX[prefix.lower()]
    if m["sign"]:
        v = -v
    return v, m["unit"] == "S"


_SYMBOL = re.compile(r"^[A-Za-z_][A-Za-z0-9_]*$")


# ---------------------------------------------------------------------------------------------
# Netlists

def parse(data):
    """A Network from netlist bytes; NetlistError where it cannot be read."""
    elements = []
    names = {}
    controls = []
    raw_lines = data.split(b"\n")
    first_content = True
    for number, raw in enumerate(raw_lines, start=1):
        raw = raw.rstrip(b"\r")
        try:
            line = raw.decode("utf-8")
        except UnicodeDecodeError as e:
            raise NetlistError(number, e.start + 1, "bytes that are not text") from None
        if any(ord(ch) < 32 and ch != "\t" for ch in line):
            raise NetlistError(number, 1, "control characters in the line")
        if ";" in line:
            line = line[:line.index(";")]
        if not line.strip() or line.lstrip().startswith("*"):
            continue
        if FAULT == "title-line" and first_content:
            first_content = False
            continue
        tokens = [(m.group(), m.start() + 1) for m in re.finditer(r"\S+", line)]
        name, col = tokens[0]
        kind = name[0].upper()
        if kind not in "REGFHVP" or not name[0].isalpha():
            raise NetlistError(number, col, f"unknown element '{name}'")
        if name.lower() in names:
            raise NetlistError(number, col, f"'{name}' is named twice (first on line "
                                            f"{names[name.lower()]})")
        want = {"R": (3, 4), "E": (6,), "G": (6,), "F": (5,), "H": (5,), "V": (4,), "P": (3,)}
        if len(tokens) not in want[kind]:
            at = tokens[-1][1] + len(tokens[-1][0]) if len(tokens) < min(want[kind]) else \
                tokens[max(want[kind])][1]
            raise NetlistError(number, at, f"'{name}' needs {max(want[kind]) - 1} fields")
        names[name.lower()] = number
        fields = [t for t, _ in tokens[1:]]
        if kind == "P":
            if name.upper() not in ("P1", "P2"):
                raise NetlistError(number, col, f"a port is P1 or P2, not '{name}'")
            elements.append(Element("P", name.upper(), tuple(fields)))
            continue
        nodes = tuple(fields[:4] if kind in "EG" else fields[:2])
        control = fields[2] if kind in "FH" else None
        value_text = fields[-1] if len(fields) > len(nodes) + (control is not None) else None
        value_col = tokens[-1][1]
        e = Element(kind, name, nodes, control=control, text=value_text or "")
        if value_text is None:
            e.symbol = name
        elif value_text[0].isalpha() or value_text[0] == "_":
            if not _SYMBOL.match(value_text):
                raise NetlistError(number, value_col, f"'{value_text}' is not a value or name")
            e.symbol = value_text
        else:
            try:
                e.value, e.conductance = parse_value(value_text)
            except ValueError as x:
                raise NetlistError(number, value_col, str(x)) from None
            if kind == "R":
                if e.value <= 0:
                    raise NetlistError(number, value_col, "a resistance is positive")
                if e.conductance:
                    e.value = 1 / e.value
            if kind == "V" and e.value != 0:
                raise NetlistError(number, value_col, "a sense source is 0 V")
        if kind == "F" and FAULT == "gain-sign-F" and e.value is not None:
            e.value = -e.value
        if control is not None:
            controls.append((number, tokens[3][1], e))
        elements.append(e)
    if not elements:
        raise NetlistError(0, 0, "the netlist is empty")
    senses = {e.name for e in elements if e.kind == "V"}
    for number, col, e in controls:
        if e.control not in senses:
            raise NetlistError(number, col, f"'{e.control}' is no sense source of this netlist")
    ports = {e.name for e in elements if e.kind == "P"}
    for p in ("P1", "P2"):
        if p not in ports:
            raise NetlistError(0, 0, f"{p} is missing: the netlist needs both ports")
    network = Network(elements)
    for e in elements:
        if e.symbol is not None and e.symbol not in network.symbols:
            network.symbols.append(e.symbol)
    return network


# ---------------------------------------------------------------------------------------------
# Answers

def decimal_text(value):
    if FAULT == "decimal-digit":
        value = value * (1 + Fraction(1, 10 ** 13))
    digits = 12 if FAULT == "decimal-short" else 15
    with localcontext() as ctx:
        ctx.prec = digits
        d = Decimal(value.numerator) / Decimal(value.denominator)
    return format(d, f".{digits}g")


def exact_text(value):
    if value.denominator == 1:
        return str(value.numerator)
    if FAULT == "unreduced":
        return f"{value.numerator * 2}/{value.denominator * 2}"
    return f"{value.numerator}/{value.denominator}"


def quantity(value, formula):
    out = {}
    if value is not None:
        out["exact"] = exact_text(value)
        out["decimal"] = decimal_text(value)
        out["latex"] = out["exact"]
    if formula is not None:
        out["formula"] = formula
        out["latex"] = formula
    return out


def ratio_text(num, den):
    if FAULT == "formula-sign" and num.terms:
        m = next(iter(num.terms))
        num = Poly({**num.terms, m: -num.terms[m]})
    if not den.variables():
        c = den.terms[()]
        return Poly({m: v / c for m, v in num.terms.items()}).text()
    return f"({num.text()})/({den.text()})"


def symbolic_relation(network, values):
    """The relation with the symbols left as polynomials (values put in where given)."""
    def value_of(e):
        if e.symbol is None:
            return Poly.const(e.value)
        if e.symbol in values:
            return Poly.const(values[e.symbol])
        return Poly.var(e.symbol)
    rows, inner = solver.equations(network, value_of=value_of)
    ncols = inner + 4
    m = [[Poly.of(r.get(c, 0)) for c in range(ncols)] for r in rows]
    prev = Poly.const(1)
    active = list(range(len(m)))
    for c in range(inner):
        pivot = next((r for r in active if m[r][c]), None)
        if pivot is None:
            raise solver.Degenerate("inner unknown free")
        active.remove(pivot)
        p = m[pivot]
        for r in active:
            row = m[r]
            m[r] = [Poly()] * (c + 1) + [(p[c] * row[k] - row[c] * p[k]).exact_div(prev)
                                         for k in range(c + 1, ncols)]
        prev = p[c]
    return [[m[r][inner + i] for i in range(4)] for r in active]


def symbolic_set(srel, name):
    """(numerators 2x2, denominator) of a set from the symbolic relation, or None."""
    fixed, read = solver.TESTS[name]

    def col(q):
        return solver.PORT.index(q.lstrip("-")), (-1 if q.startswith("-") else 1)
    out = [[srel[r][col(q)[0]] * col(q)[1] for q in read] for r in range(2)]
    fix = [[srel[r][col(q)[0]] * col(q)[1] for q in fixed] for r in range(2)]
    det = out[0][0] * out[1][1] - out[0][1] * out[1][0]
    if not det:
        return None
    adj = [[out[1][1], -out[0][1]], [-out[1][0], out[0][0]]]
    nums = [[-(adj[i][0] * fix[0][j] + adj[i][1] * fix[1][j]) for j in range(2)]
            for i in range(2)]
    return nums, det


def symbolic_terminated(srel, zs, zl):
    out = {}
    for name, (constraints, _) in solver._terminated_tests(zs, zl).items():
        m = [list(srel[0]), list(srel[1])] + [[Poly.of(x) for x in c[0]] for c in constraints]
        rhs = [0, 0] + [c[1] for c in constraints]
        det = determinant(m)
        if not det:
            out[name] = None
            continue

        def solved(k):
            mk = [row[:k] + [Poly.of(b)] + row[k + 1:] for row, b in zip(m, rhs)]
            return determinant(mk)
        reads = {"Zin": (0, 1), "Zout": (2, 1), "Av": (2, 1), "Avs": (2, 1), "Ai": (3, -1),
                 "Vth": (2, 1)}
        if name == "P":
            out[name] = (-(solved(2) * solved(3)), det * det)
        else:
            k, sign = reads[name]
            out[name] = (solved(k) * sign, det)
    return out


def sets_json(network, values, zs=None, zl=None, rule=None):
    """The sets (and terminated quantities) of a network as the JSON has them."""
    known = all(s in values for s in network.symbols)
    point = dict(values)
    rng = random.Random(1)
    for s in network.symbols:
        point.setdefault(s, Fraction(rng.randint(1, 999), rng.randint(1, 99)))
    rel = solver.relation(network, point)
    num_sets = solver.all_sets(rel)
    if rule is not None:
        num_sets = rule
    srel = symbolic_relation(network, {}) if network.symbols else None
    sym_sets = {n: symbolic_set(srel, n) for n in solver.SETS} if srel else None
    sets = {}
    for name in solver.SETS:
        exists = (sym_sets[name] is not None if sym_sets else num_sets[name] is not None)
        if known:
            exists = num_sets[name] is not None
        if FAULT == "missing-z" and name == "Z" and len(network.elements) % 2:
            exists = False
        if FAULT == "present-y" and name == "Y" and not exists:
            sets[name] = {"entries": {k: quantity(Fraction(0), None)
                                      for k in solver.ENTRIES[name]}}
            continue
        if not exists:
            sets[name] = {"missing": f"the {name} test has no unique answer"}
            continue
        entries = {}
        for k, key in enumerate(solver.ENTRIES[name]):
            i, j = divmod(k, 2)
            value = num_sets[name][i][j] if known else None
            if value is not None:
                if FAULT == "exact-entry" and key == "z21":
                    value = value * Fraction(1001, 1000) + Fraction(1, 1000)
                if FAULT == "abcd-sign" and key in ("B", "D"):
                    value = -value
                if FAULT == "h-swap" and key in ("h12", "h21"):
                    other = (0, 1) if key == "h21" else (1, 0)
                    value = num_sets[name][other[0]][other[1]]
            text = None
            if sym_sets:
                nums, den = sym_sets[name]
                text = ratio_text(nums[i][j], den)
            entries[key] = quantity(value, text)
        sets[name] = {"entries": entries}
    result = {"sets": sets}
    if rule is None:
        recip = solver.reciprocal(rel)
        if FAULT == "reciprocal-from-z":
            recip = num_sets["Z"] is not None and num_sets["Z"][0][1] == num_sets["Z"][1][0]
        sym = solver.symmetric(rel)
        if FAULT == "symmetric-diagonal":
            z, y = num_sets["Z"], num_sets["Y"]
            sym = (z[0][0] == z[1][1]) if z else (y[0][0] == y[1][1]) if y else sym
        result["reciprocal"], result["symmetric"] = recip, sym
    if zs is not None:
        term = solver.terminated(rel, zs, zl)
        if FAULT == "zout-open":
            term["Zout"] = solver.terminated(rel, 10 ** 30, zl)["Zout"]
            if term["Zout"] is not None and term["Zout"] != "ambiguous":
                term["Zout"] = Fraction(round(term["Zout"] * 1000), 1000)
        if FAULT == "av-with-source":
            term["Av"] = term["Avs"]
        sterm = symbolic_terminated(srel, zs, zl) if srel else None
        block = {}
        for q in solver.TERMINATED:
            v = term[q] if known else None
            exists = (sterm[q] is not None) if (sterm and not known) else \
                isinstance(term[q], Fraction)
            if FAULT == "singular-as-zero" and not exists:
                exists, v = True, Fraction(0)
            if not exists:
                block[q] = {"missing": f"{q} has no unique value with these source and load"}
                continue
            text = ratio_text(*sterm[q]) if sterm and sterm[q] is not None else None
            block[q] = quantity(v, text)
        result["terminated"] = block
    return result


def main(argv):
    args = {"values": {}}
    i = 0
    try:
        while i < len(argv):
            a = argv[i]
            if a == "--parameters":
                args["file"] = argv[i + 1]
                i += 2
            elif a == "--value":
                name, _, text = argv[i + 1].partition("=")
                args["values"][name] = text
                i += 2
            elif a == "--json":
                args["json"] = True
                i += 1
            elif a in ("--source", "--load"):
                args[a[2:]] = argv[i + 1]
                i += 2
            elif a == "--join":
                args["join"] = (argv[i + 1], argv[i + 2])
                i += 3
            else:
                raise IndexError(a)
    except IndexError as e:
        print(f"kvadra (test double): bad arguments near {e}", file=sys.stderr)
        return 1

    def read(path):
        if path == "-":
            return b"" if FAULT == "stdin-empty" else sys.stdin.buffer.read()
        with open(path, "rb") as f:
            return f.read()

    try:
        network = parse(read(args["file"]))
        other = parse(read(args["join"][1])) if "join" in args else None
    except NetlistError as e:
        if FAULT == "error-line" and e.line:
            e.line += 1
        print(f"kvadra: {args.get('file')}: {e.text()}", file=sys.stderr)
        return 1 if FAULT == "error-exit" else 2
    values = {}
    names = list(args["values"])
    for name, text in args["values"].items():
        v, conductance = parse_value(text)
        element = next((e for e in network.elements if e.symbol == name), None)
        if conductance and element is not None and element.kind == "R":
            v = 1 / v
        if FAULT == "value-ignored" and name == names[-1]:
            v = Fraction(1)
        values[name] = v
    zs = zl = None
    if "source" in args:
        zs, c1 = parse_value(args["source"])
        zl, c2 = parse_value(args["load"])
        zs = 1 / zs if c1 else zs
        zl = 1 / zl if c2 else zl
    result = sets_json(network, values, zs, zl)
    if other is not None:
        kind = args["join"][0]
        first = network
        if FAULT == "ground-shared-in-join":
            built = joins.join(first, other, kind)
            for e in built.elements:
                e.nodes = tuple("1:0" if n == "2:0" else n for n in e.nodes)
        else:
            built = joins.join(first, other, kind)
        rel1, rel2 = solver.relation(first), solver.relation(other)
        sets1, sets2 = solver.all_sets(rel1), solver.all_sets(rel2)
        rule_kind = "parallel" if (FAULT == "rule-y-for-series" and kind == "series") else kind
        rule_rel = solver.join_rule(rule_kind, sets1, sets2)
        rule_sets = solver.all_sets(rule_rel) if rule_rel else {n: None for n in solver.SETS}
        try:
            rel_built = solver.relation(built)
            built_sets = solver.all_sets(rel_built)
        except solver.Degenerate:
            rel_built, built_sets = None, {n: None for n in solver.SETS}
        if FAULT == "built-is-rule" and rule_rel is not None:
            built_sets, rel_built = rule_sets, rule_rel
        holds = bool(rule_rel and rel_built and solver.same_relation(rule_rel, rel_built))
        if FAULT == "rule-holds-always":
            holds = True
        result["joined"] = {
            "rule": sets_json(first, {}, rule=rule_sets),
            "built": sets_json(first, {}, rule=built_sets),
            "rule_holds": holds,
            "why": "" if holds else "the connection changes the port currents",
        }
    print(json.dumps(result, ensure_ascii=False, indent=1))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
