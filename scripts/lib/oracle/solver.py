"""The exact solver: modified nodal analysis over the rationals, written from circuit theory.

A two-port is the set of port states (V1, I1, V2, I2) its network allows: a plane through the
origin, the port relation. Modified nodal analysis gives it directly. The unknowns are the node
voltages, a current for every element that fixes a voltage (R, E, H and the sense sources V) and
the four port quantities; the equations are Kirchhoff's current law at every node but one
reference per conductively connected part, one equation per element, and V = v(a) - v(b) for each
port. That is two equations fewer than unknowns. Eliminating everything but the port quantities
leaves two equations in V1, I1, V2, I2: the relation. Every parameter set and every terminated
quantity is then a two-by-two or four-by-four problem on it: fix the quantities its test fixes and
see whether the others follow uniquely.

A network whose inner unknowns are not all fixed by its port state (two sense sources in parallel,
a node held only by current sources) has no single answer however its ports are driven; the
harness does not use such networks, since for them a set's existence depends on what one counts.
"""

from fractions import Fraction

PORT = ("V1", "I1", "V2", "I2")
SETS = ("Z", "Y", "H", "G", "ABCD")
ENTRIES = {
    "Z": ("z11", "z12", "z21", "z22"),
    "Y": ("y11", "y12", "y21", "y22"),
    "H": ("h11", "h12", "h21", "h22"),
    "G": ("g11", "g12", "g21", "g22"),
    "ABCD": ("A", "B", "C", "D"),
}
# Each set's test: the two port quantities it fixes, then the two it reads, in the order of the
# set's rows and columns. "-I2" is the current out of port 2 that ABCD is written with.
TESTS = {
    "Z": (("I1", "I2"), ("V1", "V2")),
    "Y": (("V1", "V2"), ("I1", "I2")),
    "H": (("I1", "V2"), ("V1", "I2")),
    "G": (("V1", "I2"), ("I1", "V2")),
    "ABCD": (("V2", "-I2"), ("V1", "I1")),
}
TERMINATED = ("Zin", "Zout", "Av", "Avs", "Ai", "Vth", "P")


class Degenerate(Exception):
    """The network's port state does not fix its inner unknowns, or fixes fewer than two of the
    port quantities' combinations: no two-port in the usual sense."""


def _column(quantity):
    """(index into PORT, sign) of a test quantity."""
    if quantity.startswith("-"):
        return PORT.index(quantity[1:]), -1
    return PORT.index(quantity), 1


def components(network):
    """The conductively connected parts: nodes joined by any element's current path, or by a port
    (the source or load at a port carries current between its two nodes). Control pairs of E and G
    carry no current and join nothing."""
    parent = {}

    def find(n):
        parent.setdefault(n, n)
        while parent[n] != n:
            parent[n] = parent[parent[n]]
            n = parent[n]
        return n

    for e in network.elements:
        for n in e.nodes:
            find(n)
        a, b = e.nodes[0], e.nodes[1]
        parent[find(a)] = find(b)
    groups = {}
    for n in network.nodes():
        groups.setdefault(find(n), []).append(n)
    return list(groups.values())


def references(network):
    """One reference node per conductively connected part: ground where the part has it."""
    refs = set()
    for part in components(network):
        refs.add("0" if "0" in part else part[0])
    return refs


def element_value(element, values):
    if element.symbol is not None:
        return Fraction(values[element.symbol])
    return element.value


def equations(network, values=None, value_of=None):
    """The modified nodal equations as sparse rows {column: coefficient}, and the number of inner
    unknowns; the last four columns are V1, I1, V2, I2. value_of(element) gives an element's
    value where it is not a number (the test double's symbolic path)."""
    values = values or {}
    if value_of is None:
        def value_of(element):
            return element_value(element, values)
    refs = references(network)
    nodes = [n for n in network.nodes() if n not in refs]
    column = {("v", n): i for i, n in enumerate(nodes)}
    for e in network.branches():
        if e.kind in "REHV":
            column[("i", e.name)] = len(column)
    inner = len(column)
    for i, q in enumerate(PORT):
        column[("port", q)] = inner + i

    kcl = {n: {} for n in nodes}

    def add(row, key, coefficient):
        if key[0] == "v" and key[1] in refs:
            return
        c = column[key]
        row[c] = row.get(c, 0) + coefficient
        if row[c] == 0:
            del row[c]

    def leaving(node, key, coefficient):
        """A current coefficient·unknown leaves node through an element."""
        if node not in refs:
            add(kcl[node], key, coefficient)

    rows = []
    for e in network.branches():
        a, b = e.nodes[0], e.nodes[1]
        if e.kind in "REHV":
            current = ("i", e.name)
            leaving(a, current, 1)
            leaving(b, current, -1)
            row = {}
            if e.kind == "R" and e.conductance and e.symbol is None:
                # g·(v(a) - v(b)) - i = 0
                g = 1 / e.value
                add(row, ("v", a), g)
                add(row, ("v", b), -g)
                add(row, current, -1)
            else:
                add(row, ("v", a), 1)
                add(row, ("v", b), -1)
                if e.kind == "R":  # v(a) - v(b) - R·i = 0
                    add(row, current, -value_of(e))
                elif e.kind == "E":  # v(a) - v(b) - gain·(v(c) - v(d)) = 0
                    k = value_of(e)
                    add(row, ("v", e.nodes[2]), -k)
                    add(row, ("v", e.nodes[3]), k)
                elif e.kind == "H":  # v(a) - v(b) - r·i(sense) = 0
                    add(row, ("i", e.control), -value_of(e))
            rows.append(row)
        elif e.kind == "G":  # gm·(v(c) - v(d)) flows from a through the source to b
            gm = value_of(e)
            for node, sign in ((a, 1), (b, -1)):
                leaving(node, ("v", e.nodes[2]), sign * gm)
                leaving(node, ("v", e.nodes[3]), -sign * gm)
        elif e.kind == "F":  # gain·i(sense) flows from a through the source to b
            k = value_of(e)
            leaving(a, ("i", e.control), k)
            leaving(b, ("i", e.control), -k)
        else:
            raise ValueError(e.kind)
    for number in (1, 2):
        p = network.port(number)
        a, b = p.nodes
        current = ("port", f"I{number}")
        # The port's current enters at a and leaves at b: it is a current leaving a negatively.
        leaving(a, current, -1)
        leaving(b, current, 1)
        row = {}
        add(row, ("port", f"V{number}"), 1)
        add(row, ("v", a), -1)
        add(row, ("v", b), 1)
        rows.append(row)
    return list(kcl.values()) + rows, inner


def relation(network, values=None):
    """The two equations in (V1, I1, V2, I2) that the network's ports obey: a 2x4 list of
    Fractions. Raises Degenerate for a network that is no two-port."""
    # A control pair across two conductively separate parts senses a voltage no element fixes;
    # taking each part's reference as 0 V would tie the parts together, which the program
    # rightly does not. Such a network has no answer to judge.
    part = {n: i for i, nodes in enumerate(components(network)) for n in nodes}
    for e in network.elements:
        if e.kind in "EG" and part[e.nodes[2]] != part[e.nodes[3]]:
            raise Degenerate(f"the control pair of {e.name} spans two separate parts")
    rows, inner = equations(network, values)
    rows = [{c: Fraction(v) for c, v in r.items()} for r in rows]
    active = list(range(len(rows)))
    for c in range(inner):
        pivot = next((r for r in active if rows[r].get(c)), None)
        if pivot is None:
            raise Degenerate("the port state leaves an inner unknown free")
        active.remove(pivot)
        p = rows[pivot]
        for r in active:
            f = rows[r].get(c)
            if not f:
                continue
            f = f / p[c]
            row = rows[r]
            for k, v in p.items():
                nv = row.get(k, 0) - f * v
                if nv:
                    row[k] = nv
                else:
                    row.pop(k, None)
    assert len(active) == 2
    result = [[rows[r].get(inner + i, Fraction(0)) for i in range(4)] for r in active]
    if rank(result) < 2:
        raise Degenerate("the ports are not held by two independent equations")
    return result


def rank(matrix):
    m = [list(map(Fraction, row)) for row in matrix]
    r = 0
    cols = len(m[0]) if m else 0
    for c in range(cols):
        pivot = next((i for i in range(r, len(m)) if m[i][c]), None)
        if pivot is None:
            continue
        m[r], m[pivot] = m[pivot], m[r]
        for i in range(len(m)):
            if i != r and m[i][c]:
                f = m[i][c] / m[r][c]
                m[i] = [x - f * y for x, y in zip(m[i], m[r])]
        r += 1
    return r


def solve(matrix, rhs):
    """Solves a square system exactly: the solution, or None where it is singular."""
    n = len(matrix)
    m = [list(map(Fraction, row)) + [Fraction(b)] for row, b in zip(matrix, rhs)]
    for c in range(n):
        pivot = next((i for i in range(c, n) if m[i][c]), None)
        if pivot is None:
            return None
        m[c], m[pivot] = m[pivot], m[c]
        for i in range(n):
            if i != c and m[i][c]:
                f = m[i][c] / m[c][c]
                m[i] = [x - f * y for x, y in zip(m[i], m[c])]
    return [m[i][n] / m[i][i] for i in range(n)]


def determinant(matrix):
    n = len(matrix)
    m = [list(map(Fraction, row)) for row in matrix]
    det = Fraction(1)
    for c in range(n):
        pivot = next((i for i in range(c, n) if m[i][c]), None)
        if pivot is None:
            return Fraction(0)
        if pivot != c:
            m[c], m[pivot] = m[pivot], m[c]
            det = -det
        det *= m[c][c]
        for i in range(c + 1, n):
            if m[i][c]:
                f = m[i][c] / m[c][c]
                m[i] = [x - f * y for x, y in zip(m[i], m[c])]
    return det


def analyse_system(matrix, rhs):
    """A square system, singular or not: (solution or None, consistent, {index: value} of the
    unknowns that every solution shares). The last two tell a quantity that has no unique answer
    from one that is fixed although the system as a whole is not."""
    x = solve(matrix, rhs)
    n = len(matrix)
    if x is not None:
        return x, True, dict(enumerate(x))
    m = [list(map(Fraction, row)) + [Fraction(b)] for row, b in zip(matrix, rhs)]
    pivots = []
    r = 0
    for c in range(n):
        pivot = next((i for i in range(r, n) if m[i][c]), None)
        if pivot is None:
            continue
        m[r], m[pivot] = m[pivot], m[r]
        m[r] = [v / m[r][c] for v in m[r]]
        for i in range(n):
            if i != r and m[i][c]:
                f = m[i][c]
                m[i] = [a - f * b for a, b in zip(m[i], m[r])]
        pivots.append(c)
        r += 1
    consistent = all(m[i][n] == 0 for i in range(r, n))
    free = [c for c in range(n) if c not in pivots]
    fixed = {}
    if consistent:
        for row_index, c in enumerate(pivots):
            if all(m[row_index][f] == 0 for f in free):
                fixed[c] = m[row_index][n]
    return None, consistent, fixed


def parameter_set(rel, name):
    """The 2x2 matrix of a set from the relation, or None where its test has no unique answer."""
    fixed, read = TESTS[name]
    out = [[rel[r][_column(q)[0]] * _column(q)[1] for q in read] for r in range(2)]
    fix = [[rel[r][_column(q)[0]] * _column(q)[1] for q in fixed] for r in range(2)]
    det = out[0][0] * out[1][1] - out[0][1] * out[1][0]
    if det == 0:
        return None
    inv = [[out[1][1] / det, -out[0][1] / det], [-out[1][0] / det, out[0][0] / det]]
    # out·read + fix·fixed = 0, so read = -out⁻¹·fix·fixed.
    return [[-(inv[i][0] * fix[0][j] + inv[i][1] * fix[1][j]) for j in range(2)]
            for i in range(2)]


def all_sets(rel):
    return {name: parameter_set(rel, name) for name in SETS}


def relation_of_set(name, matrix):
    """The relation a set's matrix stands for: read - matrix·fixed = 0."""
    fixed, read = TESTS[name]
    rel = [[Fraction(0)] * 4 for _ in range(2)]
    for i in range(2):
        c, s = _column(read[i])
        rel[i][c] += s
        for j in range(2):
            c, s = _column(fixed[j])
            rel[i][c] -= matrix[i][j] * s
    return rel


def same_relation(r1, r2):
    return rank(r1 + r2) == 2


def basis(rel):
    """Two port states that span the relation."""
    for i in range(4):
        for j in range(i + 1, 4):
            det = rel[0][i] * rel[1][j] - rel[0][j] * rel[1][i]
            if det == 0:
                continue
            states = []
            for free in [k for k in range(4) if k not in (i, j)]:
                x = [Fraction(0)] * 4
                x[free] = Fraction(1)
                # rel[r][i]·x_i + rel[r][j]·x_j = -rel[r][free]
                b0, b1 = -rel[0][free], -rel[1][free]
                x[i] = (b0 * rel[1][j] - b1 * rel[0][j]) / det
                x[j] = (rel[0][i] * b1 - rel[1][i] * b0) / det
                states.append(x)
            return states
    raise Degenerate("relation of rank below 2")


def reciprocal(rel):
    """Reciprocity: any two port states x, y give V1x·I1y + V2x·I2y = V1y·I1x + V2y·I2x
    (z12 = z21 where Z exists)."""
    x, y = basis(rel)
    return x[0] * y[1] + x[2] * y[3] - y[0] * x[1] - y[2] * x[3] == 0


def symmetric(rel):
    """The ports can be interchanged: swapping (V1, I1) with (V2, I2) in any allowed port state
    gives an allowed port state (z11 = z22 and z12 = z21 where Z exists)."""
    for x in basis(rel):
        swapped = [x[2], x[3], x[0], x[1]]
        if any(sum(r[k] * swapped[k] for k in range(4)) != 0 for r in rel):
            return False
    return True


# Terminated tests: two constraints on (V1, I1, V2, I2) besides the relation, each as
# (coefficients, right-hand side), and what is read from the solution. zs and zl are Fractions.
def _terminated_tests(zs, zl):
    load = ((0, 0, 1, zl), 0)            # V2 + ZL·I2 = 0: the load at port 2
    source = ((1, zs, 0, 0), 1)          # V1 + Zs·I1 = Vs = 1: the source with Zs at port 1
    return {
        "Zin": ((load, ((0, 1, 0, 0), 1)), lambda x: x[0]),
        "Zout": ((((1, zs, 0, 0), 0), ((0, 0, 0, 1), 1)), lambda x: x[2]),
        "Av": ((load, ((1, 0, 0, 0), 1)), lambda x: x[2]),
        "Avs": ((load, source), lambda x: x[2]),
        "Ai": ((load, ((0, 1, 0, 0), 1)), lambda x: -x[3]),
        "Vth": ((((0, 0, 0, 1), 0), source), lambda x: x[2]),
        "P": ((load, source), lambda x: -x[2] * x[3]),
    }


# Which port quantities each terminated quantity is read from.
_READS = {"Zin": (0,), "Zout": (2,), "Av": (2,), "Avs": (2,), "Ai": (3,), "Vth": (2,),
          "P": (2, 3)}


def terminated(rel, zs, zl):
    """{quantity: Fraction, None where its test has no unique answer, or "ambiguous" where the
    network with its source and load has no unique state yet the quantity is fixed}."""
    result = {}
    for name, (constraints, read) in _terminated_tests(Fraction(zs), Fraction(zl)).items():
        matrix = [list(rel[0]), list(rel[1])] + [list(c[0]) for c in constraints]
        rhs = [0, 0] + [c[1] for c in constraints]
        x, consistent, fixed = analyse_system(matrix, rhs)
        if x is not None:
            result[name] = read(x)
        elif consistent and any(k in fixed for k in _READS[name]):
            result[name] = "ambiguous"
        else:
            result[name] = None
    return result


def internal_quantities(rel, zs, zl):
    """What ngspice's transfer function analysis reports for a source Vs with Zs at port 1 and
    ZL at port 2 (ZL > 0): (V2/Vs, Vs/I of the source, the impedance at port 2 with Vs zeroed and
    ZL in place), each None where its test has no unique answer."""
    zs, zl = Fraction(zs), Fraction(zl)
    out = {}
    m = [list(rel[0]), list(rel[1]), [0, 0, 1, zl], [1, zs, 0, 0]]
    x = solve(m, [0, 0, 0, 1])
    out["transfer"] = x[2] if x else None
    out["input"] = (1 / x[1]) if x and x[1] != 0 else None
    # 1 A into port 2's node pair, shared by the load (V2/ZL) and the network (I2).
    m2 = [list(rel[0]), list(rel[1]), [0, 0, 1 / zl, 1], [1, zs, 0, 0]]
    y = solve(m2, [0, 0, 1, 0])
    out["output"] = y[2] if y else None
    return out


def matrix_product(a, b):
    return [[a[i][0] * b[0][j] + a[i][1] * b[1][j] for j in range(2)] for i in range(2)]


def matrix_sum(a, b):
    return [[a[i][j] + b[i][j] for j in range(2)] for i in range(2)]


JOIN_RULE = {"cascade": "ABCD", "series": "Z", "parallel": "Y", "series-parallel": "H",
             "parallel-series": "G"}


def join_rule(kind, sets1, sets2):
    """The textbook rule's relation from the two networks' sets, or None where a set it needs is
    missing."""
    name = JOIN_RULE[kind]
    a, b = sets1[name], sets2[name]
    if a is None or b is None:
        return None
    combined = matrix_product(a, b) if kind == "cascade" else matrix_sum(a, b)
    return relation_of_set(name, combined)
