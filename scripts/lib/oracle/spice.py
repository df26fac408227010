"""The second oracle: ngspice in batch mode, on copies of a network driven as each test drives it.

All copies of one network go into one deck and one operating point: they share only ground, and
each conductively connected part of a copy is tied to ground at one node, so no current flows
from copy to copy. A port is driven by a current source (a fixed current), a voltage source (a
fixed voltage), a resistor (a load), or a 1 V source behind a resistor (the source and Zs).
In SPICE, "I n+ n- v" drives its current from n+ through the source to n-, and the current
I(V) of a voltage source flows into its n+ from the circuit.

ngspice works in doubles, so how close it can come depends on the circuit: Deck.error_bounds
estimates, for one copy, how far its rounding may move each port quantity.
"""

import math
import os
import re
import subprocess
import tempfile

from . import solver

EPSILON = 2.0 ** -52


def _number(x):
    return repr(float(x))


class Deck:
    def __init__(self, fault=False):
        self.stamps = {}     # tag -> [(kind, name, nodes..., value)] as ngspice gets them
        self.copies = {}     # tag -> {port number: (a, b, how its current is known)}
        self.drives = {}     # tag -> how its ports are driven
        self.tf = []         # (tag, output expression, source name)
        self.fault = fault   # every first resistor of a copy 1e-7 too large: proves the check
        self.op = None

    def add(self, tag, network, drives, values=None):
        """A copy of the network with port drives {1: (kind, value), 2: (kind, value)}: kind
        "I" (current into the port), "V" (port voltage), "R" (a load, 0 for a short), "VS" (a 1 V
        source behind a resistor of the given value), "IR" (1 A into the port and a load of the
        given value across it)."""
        refs = solver.references(network)
        index = {n: i for i, n in enumerate(network.nodes())}

        def node(n):
            return "0" if n in refs else f"{tag}n{index[n]}"

        names = {e.name: f"{e.kind}{tag}e{i}".lower() for i, e in enumerate(network.elements)}
        stamps = []
        first_r = True
        for e in network.branches():
            nodes = tuple(node(n) for n in e.nodes)
            value = float(solver.element_value(e, values or {}))
            if e.kind == "R":
                if self.fault and first_r:
                    value = value * (1 + 1e-7)
                first_r = False
                stamps.append(("R", names[e.name], *nodes, value))
            elif e.kind == "V":
                stamps.append(("V", names[e.name], *nodes, 0.0))
            elif e.kind in "EG":
                stamps.append((e.kind, names[e.name], *nodes, value))
            else:
                stamps.append((e.kind, names[e.name], *nodes, names[e.control], value))
        readers = {}
        for number in (1, 2):
            a, b = (node(n) for n in network.port(number).nodes)
            kind, value = drives[number]
            src = f"{tag}p{number}"
            if kind == "I":
                stamps.append(("I", f"i{src}", b, a, float(value)))
                readers[number] = (a, b, ("fixed", float(value)))
            elif kind == "V" or (kind == "R" and value == 0):
                stamps.append(("V", f"v{src}", a, b, float(value) if kind == "V" else 0.0))
                readers[number] = (a, b, ("source", f"v{src}"))
            elif kind == "R":
                stamps.append(("R", f"r{src}", a, b, float(value)))
                readers[number] = (a, b, ("load", float(value)))
            elif kind == "IR":
                # 1 A into the node pair, shared by the network and a load across it.
                stamps.append(("I", f"i{src}", b, a, 1.0))
                stamps.append(("R", f"r{src}", a, b, float(value)))
                readers[number] = (a, b, ("shared", float(value)))
            elif kind == "VS":
                if value == 0:
                    stamps.append(("V", f"v{src}", a, b, 1.0))
                else:
                    stamps.append(("V", f"v{src}", f"{tag}s{number}", b, 1.0))
                    stamps.append(("R", f"r{src}", f"{tag}s{number}", a, float(value)))
                readers[number] = (a, b, ("source", f"v{src}"))
            else:
                raise ValueError(kind)
        self.stamps[tag] = stamps
        self.copies[tag] = readers
        self.drives[tag] = drives
        return tag

    def add_tf(self, tag, number=2):
        """A transfer function analysis on copy tag: port 2's voltage per volt of the source at
        port 1."""
        a, b, _ = self.copies[tag][number]
        out = f"v({a})" if b == "0" else f"v({a},{b})"
        self.tf.append((tag, out, f"v{tag}p1"))

    def text(self):
        lines = ["* oracle deck"]
        for stamps in self.stamps.values():
            for s in stamps:
                kind, name = s[0], s[1]
                if kind == "R":
                    lines.append(f"{name} {s[2]} {s[3]} {_number(s[4])}")
                elif kind in "VI":
                    lines.append(f"{name} {s[2]} {s[3]} dc {_number(s[4])}")
                elif kind in "EG":
                    lines.append(f"{name} {s[2]} {s[3]} {s[4]} {s[5]} {_number(s[6])}")
                else:
                    lines.append(f"{name} {s[2]} {s[3]} {s[4]} {_number(s[5])}")
        # Pivots chosen by size alone, not by the sparsity they keep: the circuits are small,
        # and a small pivot can cost ngspice several digits where loop gains are large.
        lines += [".options pivrel=1", ".control", "set numdgt=17", "op", "echo @@op",
                  "print all"]
        for k, (tag, out_expr, source) in enumerate(self.tf):
            lines += [f"tf {out_expr} {source}", f"echo @@tf{k}", "print all"]
        lines += ["echo @@end", ".endc", ".end"]
        return "\n".join(lines) + "\n"

    def run(self, keep=None):
        """Runs ngspice on the deck; returns (ports {tag: (V1, I1, V2, I2)}, tf {tag: {...}},
        the deck's text), or raises RuntimeError with ngspice's output."""
        text = self.text()
        with tempfile.TemporaryDirectory(prefix="oracle-spice-") as tmp:
            path = os.path.join(tmp, "deck.cir")
            with open(path, "w", encoding="ascii") as f:
                f.write(text)
            if keep:
                with open(keep, "w", encoding="ascii") as f:
                    f.write(text)
            run = subprocess.run(["ngspice", "-b", path], capture_output=True, text=True,
                                 timeout=120)
        out = run.stdout
        sections = self._sections(out)
        if "op" not in sections:
            raise RuntimeError(f"ngspice gave no operating point (exit {run.returncode}):\n"
                               + out[-3000:] + run.stderr[-2000:])
        op = self.op = sections["op"]
        ports = {}
        for tag, readers in self.copies.items():
            state = []
            for number in (1, 2):
                a, b, (how, what) = readers[number]
                v = self.voltage(a) - self.voltage(b)
                if how == "fixed":
                    i = what
                elif how == "load":
                    i = -v / what
                elif how == "shared":
                    i = 1.0 - v / what
                else:
                    i = -self.current(what)
                state += [v, i]
            ports[tag] = tuple(state)
        tfs = {}
        for k, (tag, out_expr, source) in enumerate(self.tf):
            s = sections.get(f"tf{k}")
            if s is None:
                raise RuntimeError("ngspice gave no transfer function:\n" + out[-3000:])
            tfs[tag] = {"transfer": _value(s, "transfer_function"),
                        "output": _value(s, "output_impedance_at_" + out_expr),
                        "input": _value(s, f"{source}#input_impedance")}
        return ports, tfs, text

    def voltage(self, node):
        return 0.0 if node == "0" else _value(self.op, node)

    def current(self, name):
        return _value(self.op, f"{name}#branch")

    def scales(self, tag):
        """The largest voltage and the largest current anywhere in a copy: what ngspice's
        rounding is relative to, however small the port quantities come out."""
        volts, amps = [0.0], [0.0]
        for s in self.stamps[tag]:
            kind = s[0]
            volts += [abs(self.voltage(n)) for n in s[2:4]]
            if kind == "R":
                amps.append(abs((self.voltage(s[2]) - self.voltage(s[3])) / s[4]))
            elif kind == "I":
                amps.append(abs(s[4]))
            elif kind == "G":
                amps.append(abs(s[6] * (self.voltage(s[4]) - self.voltage(s[5]))))
            elif kind == "F":
                amps.append(abs(s[5] * self.current(s[4])))
            else:
                amps.append(abs(self.current(s[1])))
        return max(volts), max(amps)

    def resistance(self, tag):
        """The geometric mean of the copy's resistances: its scale of impedance."""
        rs = [abs(s[4]) for s in self.stamps[tag] if s[0] == "R" and s[4]]
        if not rs:
            return 1.0
        return math.exp(sum(math.log(r) for r in rs) / len(rs))

    def error_bounds(self, tag):
        """How far rounding may move each of (V1, I1, V2, I2) of a copy, in units of the
        rounding: |A⁻¹|·(|A|·|x| + |b|) of the copy's own nodal equations as ngspice forms them
        (node voltages and the currents of voltage-like elements as unknowns), with x ngspice's
        solution. A circuit whose equations are close to singular, or mix very large and very
        small conductances, has large ones."""
        stamps = self.stamps[tag]
        nodes = sorted({n for s in stamps for n in (s[2:4] if s[0] in "RVIFH" else s[2:6])
                        if n != "0"})
        branches = [s[1] for s in stamps if s[0] in "VEH"]
        col = {("v", n): i for i, n in enumerate(nodes)}
        for b in branches:
            col[("i", b)] = len(col)
        n = len(col)
        a = [[0.0] * n for _ in range(n)]
        rhs = [0.0] * n
        row_of_branch = {b: len(nodes) + k for k, b in enumerate(branches)}

        def put(row, key, value):
            if key[0] == "v" and key[1] == "0":
                return
            a[row][col[key]] += value

        def kcl(node, key, value):  # a current value·unknown leaves node
            if node != "0":
                put(col[("v", node)], key, value)

        for s in stamps:
            kind, name = s[0], s[1]
            if kind == "R":
                g = 1.0 / s[4]
                for x, y, sign in ((s[2], s[2], 1), (s[2], s[3], -1), (s[3], s[3], 1),
                                   (s[3], s[2], -1)):
                    kcl(x, ("v", y), sign * g)
            elif kind == "I":
                if s[2] != "0":
                    rhs[col[("v", s[2])]] -= s[4]
                if s[3] != "0":
                    rhs[col[("v", s[3])]] += s[4]
            elif kind == "G":
                for x, sign in ((s[2], 1), (s[3], -1)):
                    kcl(x, ("v", s[4]), sign * s[6])
                    kcl(x, ("v", s[5]), -sign * s[6])
            elif kind == "F":
                kcl(s[2], ("i", s[4]), s[5])
                kcl(s[3], ("i", s[4]), -s[5])
            else:
                kcl(s[2], ("i", name), 1.0)
                kcl(s[3], ("i", name), -1.0)
                row = row_of_branch[name]
                put(row, ("v", s[2]), 1.0)
                put(row, ("v", s[3]), -1.0)
                if kind == "V":
                    rhs[row] = s[4]
                elif kind == "E":
                    put(row, ("v", s[4]), -s[6])
                    put(row, ("v", s[5]), s[6])
                else:
                    put(row, ("i", s[4]), -s[5])
        x = [self.voltage(k[1]) if k[0] == "v" else self.current(k[1]) for k in col]
        r = [sum(abs(a[i][j] * x[j]) for j in range(n)) + abs(rhs[i]) for i in range(n)]
        inverse = _inverse(a)
        if inverse is None:
            w = [float("inf")] * n
        else:
            w = [sum(abs(inverse[i][j]) * r[j] for j in range(n)) for i in range(n)]

        def v_bound(node):
            return 0.0 if node == "0" else w[col[("v", node)]]
        bounds = []
        for number in (1, 2):
            p, q, (how, what) = self.copies[tag][number]
            dv = v_bound(p) + v_bound(q)
            if how == "fixed":
                di = 0.0
            elif how in ("load", "shared"):
                di = dv / abs(what)
            else:
                di = w[col[("i", what)]]
            bounds += [dv, di]
        return bounds

    @staticmethod
    def _sections(out):
        sections = {}
        current = None
        for line in out.splitlines():
            m = re.match(r"^@@(\w+)$", line.strip())
            if m:
                current = m.group(1)
                sections[current] = {}
                continue
            if current is None:
                continue
            m = re.match(r"^\s*(\S+)\s*=\s*(\S+)\s*$", line)
            if m:
                sections[current][m.group(1).lower()] = m.group(2)
        return sections


def _value(section, name):
    if name not in section:
        raise RuntimeError(f"ngspice printed no {name}")
    x = float(section[name])
    if x != x or x in (float("inf"), float("-inf")):
        raise RuntimeError(f"ngspice printed {name} = {x}")
    return x


def _inverse(a):
    """The inverse of a small float matrix (Gauss-Jordan, partial pivoting), None if singular."""
    n = len(a)
    m = [row[:] + [1.0 if i == j else 0.0 for j in range(n)] for i, row in enumerate(a)]
    for c in range(n):
        p = max(range(c, n), key=lambda i: abs(m[i][c]))
        if m[p][c] == 0.0:
            return None
        m[c], m[p] = m[p], m[c]
        pivot = m[c][c]
        m[c] = [v / pivot for v in m[c]]
        for i in range(n):
            if i != c and m[i][c] != 0.0:
                f = m[i][c]
                m[i] = [u - f * v for u, v in zip(m[i], m[c])]
    return [row[n:] for row in m]
