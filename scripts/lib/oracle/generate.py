"""Random two-port networks, each from its own seed, of every kind the harness needs."""

import random
from fractions import Fraction

from . import solver, spelling
from .netlist import Element, Network, render

NODE_WORDS = ("in", "out", "a", "b", "c", "d", "mid", "x", "y", "top", "tap", "left", "right",
              "n1", "n2", "n3", "n4", "n5", "1", "2", "3", "4", "5", "7", "12", "com", "base",
              "sum", "hub", "k1", "Node_7")
NAME_SUFFIXES = ("1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "21", "load",
                 "in", "out", "x", "b", "_a", "bias", "s", "m")
SYMBOLS = ("Ra", "Rb", "Rc", "Rx", "R_load", "mu", "beta", "gm", "rm", "alpha2")
MAX_BRANCHES = 12
MAX_NODES = 8

# What the generator makes, with the weight of each: ordinary three- and four-terminal networks,
# and the shapes that test the parts of the sets and flags a random network seldom reaches.
KINDS = (("three-terminal", 30), ("four-terminal", 22), ("separate sides", 9), ("open port", 7),
         ("shorted port", 8), ("mirror", 9), ("mirror, one way", 6), ("lattice", 9))


class Builder:
    def __init__(self, rng):
        self.rng = rng
        self.elements = []
        self.taken = set()

    def name(self, kind):
        while True:
            letter = kind if self.rng.random() < 0.7 else kind.lower()
            candidate = letter + self.rng.choice(NAME_SUFFIXES)
            if candidate.lower() not in self.taken:
                self.taken.add(candidate.lower())
                return candidate

    def resistor(self, a, b, like=None):
        if like is not None:
            e = Element("R", self.name("R"), (a, b), value=like.value, conductance=like.conductance,
                        text=like.text, form=like.form)
        else:
            form = self.rng.choice(spelling.RESISTANCE_FORMS)
            text, value, conductance = spelling.resistance(self.rng, form)
            e = Element("R", self.name("R"), (a, b), value=value, conductance=conductance,
                        text=text, form=form)
        self.elements.append(e)
        return e

    def gain(self, kind):
        form = self.rng.choice(spelling.GAIN_FORMS)
        negative = self.rng.random() < 0.5
        text, value = spelling.gain(self.rng, form, kind, negative)
        return text, value, "gain-" + form + ("-negative" if negative else "")

    def controlled(self, kind, out, control, like=None):
        """E or G with a control pair; F or H with the name of a sense source."""
        if like is not None:
            text, value, form = like.text, like.value, like.form
        else:
            text, value, form = self.gain(kind)
        if kind in "EG":
            e = Element(kind, self.name(kind), tuple(out) + tuple(control), value=value,
                        text=text, form=form)
        else:
            e = Element(kind, self.name(kind), tuple(out), value=value, text=text, form=form,
                        control=control)
        self.elements.append(e)
        return e

    def sense(self, a, b):
        e = Element("V", self.name("V"), (a, b), value=Fraction(0), text="0", form="sense")
        self.elements.append(e)
        return e

    def port(self, number, a, b):
        self.elements.append(Element("P", f"P{number}", (a, b)))

    def branch_count(self):
        return sum(1 for e in self.elements if e.kind != "P")

    def tree(self, nodes):
        """Resistors joining the nodes into one connected part."""
        order = list(nodes)
        self.rng.shuffle(order)
        for i in range(1, len(order)):
            self.resistor(order[i], self.rng.choice(order[:i]))

    def extra_resistors(self, nodes, count):
        for _ in range(count):
            if self.branch_count() >= MAX_BRANCHES or len(nodes) < 2:
                return
            a, b = self.rng.sample(list(nodes), 2)
            self.resistor(a, b)

    def sense_source(self, nodes, fresh):
        """A sense source to control F or H: an existing one, or a new one in series with a
        resistor (it takes a new node), or None where neither can be had."""
        existing = [e for e in self.elements if e.kind == "V"]
        if existing and self.rng.random() < 0.4:
            return self.rng.choice(existing)
        resistors = [e for e in self.elements if e.kind == "R"]
        if not resistors or fresh is None:
            return existing[0] if existing else None
        r = self.rng.choice(resistors)
        a, b = r.nodes
        r.nodes = (a, fresh)
        nodes.append(fresh)
        return self.sense(fresh, b)

    def controlled_sources(self, out_nodes, control_nodes, count, spare):
        """count random controlled sources with outputs among out_nodes and controls among
        control_nodes; spare gives fresh node names for sense sources."""
        for _ in range(count):
            if self.branch_count() >= MAX_BRANCHES - 1:
                return
            kind = self.rng.choice("EGFH")
            out = self.rng.sample(list(out_nodes), 2)
            if kind in "EG":
                self.controlled(kind, out, self.rng.sample(list(control_nodes), 2))
                continue
            fresh = spare() if len(set(out_nodes) | set(control_nodes)) < MAX_NODES else None
            v = self.sense_source(control_nodes, fresh)
            if v is None:
                self.controlled("E", out, self.rng.sample(list(control_nodes), 2))
            else:
                self.controlled(kind, out, v.name)


def _words(rng, count, common_is_ground):
    words = rng.sample([w for w in NODE_WORDS], count)
    if common_is_ground:
        words[0] = "0"
    return words


def _spare(rng, used):
    def fresh():
        while True:
            w = rng.choice(NODE_WORDS) + rng.choice(["", "_", "s"]) + str(rng.randint(0, 99))
            if w not in used:
                used.add(w)
                return w
    return fresh


def _general(rng, b, kind):
    four = kind in ("four-terminal", "separate sides") or (
        kind in ("open port", "shorted port") and rng.random() < 0.4)
    inner = rng.randint(0, 3 if four else 4)
    words = _words(rng, 4 + inner + 1, rng.random() < 0.6)
    used = set(words)
    spare = _spare(rng, used)
    controlled = rng.choice([0, 0, 1, 1, 2, 3])
    if kind == "separate sides":
        p1a, p1b, p2a, p2b = words[1], words[0], words[2], words[3]
        split = rng.randint(0, inner)
        side1 = [p1a, p1b] + words[4:4 + split]
        side2 = [p2a, p2b] + words[4 + split:4 + inner]
        b.tree(side1)
        b.tree(side2)
        b.extra_resistors(side1, rng.randint(0, 1))
        b.extra_resistors(side2, rng.randint(0, 1))
        # Coupled forwards, both ways, or not at all (then ABCD has nothing to stand on).
        for _ in range(rng.choice([0, 1, 1, 1, 2])):
            out, ctl = (side2, side1) if rng.random() < 0.8 else (side1, side2)
            b.controlled_sources(out, ctl, 1, spare)
        b.port(1, p1a, p1b)
        b.port(2, p2a, p2b)
        return
    if four:
        p1a, p1b, p2a, p2b = words[1], words[0], words[2], words[3]
        nodes = [p1a, p1b, p2a, p2b] + words[4:4 + inner]
    else:
        p1a, common, p2a = words[1], words[0], words[2]
        p1b = p2b = common
        nodes = [p1a, common, p2a] + words[3:3 + inner]
    open_port = kind == "open port"
    if open_port:
        # One port node that nothing but the port touches.
        which = rng.choice([1, 2])
        dangling = p1a if which == 1 else p2a
        nodes.remove(dangling)
    b.tree(nodes)
    b.extra_resistors(nodes, rng.randint(0, 3))
    b.controlled_sources(nodes, nodes, controlled, spare)
    if kind == "shorted port":
        which = rng.choice([1, 2])
        a, c = (p1a, p1b) if which == 1 else (p2a, p2b)
        v = b.sense(a, c)
        if rng.random() < 0.5 and b.branch_count() < MAX_BRANCHES:
            # The current in the short drives a source elsewhere.
            out = rng.sample(nodes, 2)
            b.controlled(rng.choice("FH"), out, v.name)
    b.port(1, p1a, p1b)
    b.port(2, p2a, p2b)


def _mirror(rng, b, one_way):
    four = rng.random() < 0.4
    inner = rng.randint(0, 2)
    words = _words(rng, 2 + 2 * inner + 3, rng.random() < 0.5)
    left = [words[1]] + words[3:3 + inner]
    right = [words[2]] + words[3 + inner:3 + 2 * inner]
    fixed = [] if four else [words[0]]
    if four:
        left.append(words[0])
        right.append(words[-1])
    elif rng.random() < 0.4:
        fixed.append(words[-1])
    mirror = dict(zip(left, right))
    mirror.update(zip(right, left))
    mirror.update({n: n for n in fixed})
    half = Builder(rng)
    half.taken = b.taken
    half_nodes = left + fixed
    half.tree(half_nodes)
    half.extra_resistors(half_nodes, rng.randint(0, 2))
    if rng.random() < 0.4:
        kind = rng.choice("EG")
        half.controlled(kind, rng.sample(half_nodes, 2), rng.sample(half_nodes, 2))
    for e in half.elements:
        if e.kind == "R":
            b.resistor(*e.nodes, like=e)
            if any(n not in fixed for n in e.nodes):
                b.resistor(*(mirror[n] for n in e.nodes), like=e)
        else:
            b.controlled(e.kind, e.nodes[:2], e.nodes[2:], like=e)
            if any(n not in fixed for n in e.nodes):
                mapped = [mirror[n] for n in e.nodes]
                b.controlled(e.kind, mapped[:2], mapped[2:], like=e)
    # Bridges from each node to its mirror image are symmetric by themselves. Without one (or a
    # shared middle node) nothing would pass from port 1 to port 2 but through the common node.
    pairs = list(zip(left, right))
    for _ in range(rng.randint(0 if len(fixed) > 1 else 1, 2)):
        b.resistor(*rng.choice(pairs))
    c1 = left[-1] if four else fixed[0]
    c2 = right[-1] if four else fixed[0]
    if one_way:
        # A sense source in series with port 1 and a current-controlled voltage source in series
        # with port 2: z21 changes by r, nothing else does. z11 = z22, yet not reciprocal.
        spare = _spare(rng, set(words))
        x1, x2 = spare(), spare()
        v = b.sense(x1, left[0])
        b.controlled("H", (x2, right[0]), v.name)
        b.port(1, x1, c1)
        b.port(2, x2, c2)
    else:
        b.port(1, left[0], c1)
        b.port(2, right[0], c2)


def _lattice(rng, b):
    a, c, d, e = _words(rng, 4, rng.random() < 0.5)
    # a-c and b-d the series arms, a-d and b-c the cross arms; ports (a, b) and (c, d).
    p1a, p1b, p2a, p2b = c, a, d, e
    b.resistor(p1a, p2a)
    b.resistor(p1b, p2b)
    cross = b.resistor(p1a, p2b)
    if rng.random() < 0.5:
        b.resistor(p1b, p2a, like=cross)  # equal cross arms: the ports can be interchanged
    else:
        b.resistor(p1b, p2a)
    if rng.random() < 0.3:
        b.controlled_sources([p1a, p1b, p2a, p2b], [p1a, p1b, p2a, p2b], 1, lambda: None)
    b.port(1, p1a, p1b)
    b.port(2, p2a, p2b)


def _choose_kind(rng):
    total = sum(w for _, w in KINDS)
    pick = rng.uniform(0, total)
    for kind, weight in KINDS:
        pick -= weight
        if pick <= 0:
            return kind
    return KINDS[-1][0]


def usable(network, values=None):
    """A network the harness can judge: a two-port with at least one set."""
    try:
        rel = solver.relation(network, values)
    except solver.Degenerate:
        return False
    return any(m is not None for m in solver.all_sets(rel).values())


def numeric_network(seed, kind=None):
    """A numeric network from its own seed: the same seed gives the same network. kind forces
    one of KINDS."""
    rng = random.Random(seed)
    wanted = kind
    while True:
        kind = wanted or _choose_kind(rng)
        b = Builder(rng)
        if kind in ("mirror", "mirror, one way"):
            _mirror(rng, b, kind == "mirror, one way")
        elif kind == "lattice":
            _lattice(rng, b)
        else:
            _general(rng, b, kind)
        if not 2 <= b.branch_count() <= MAX_BRANCHES + 1:
            continue
        network = Network(b.elements, kind=kind)
        if len(network.nodes()) > MAX_NODES + 1 or network.dangling() or not usable(network):
            continue
        if kind == "mirror" and solver.parameter_set(solver.relation(network), "ABCD") is None:
            continue  # halves that meet only at the common node: no symmetry worth testing
        return render(network, rng)


def symbol_values(network, rng):
    """Random nonzero rational values for a network's symbols: resistances positive."""
    values = {}
    for e in network.elements:
        if e.symbol is not None and e.symbol not in values:
            magnitude = Fraction(rng.randint(1, 9999), rng.randint(1, 99))
            if e.kind == "R":
                values[e.symbol] = magnitude
            else:
                values[e.symbol] = magnitude * rng.choice([1, -1]) / {
                    "E": 100, "F": 100, "G": 100000, "H": 1}[e.kind]
    return values


def symbolic_network(seed):
    """A small network in which some values are symbols: elements without a value (the symbol
    is the element's name), resistors named by a symbol, one symbol shared by two resistors, or a
    symbolic gain."""
    rng = random.Random(seed)
    while True:
        b = Builder(rng)
        kind = rng.choice(["three-terminal", "three-terminal", "four-terminal", "shorted port"])
        _general(rng, b, kind)
        branches = [e for e in b.elements if e.kind in "REGFH"]
        if not 2 <= len(branches) <= 7:
            continue
        resistors = [e for e in branches if e.kind == "R"]
        gains = [e for e in branches if e.kind in "EGFH"]
        count = rng.randint(1, min(3, len(branches)))
        chosen = rng.sample(branches, count)
        names = [s for s in SYMBOLS]
        rng.shuffle(names)
        for e in chosen:
            if e.kind == "R" and rng.random() < 0.5:
                e.symbol, e.text, e.form = e.name, "", "symbol-unvalued"
            else:
                name = names.pop()
                e.symbol, e.text, e.form = name, name, "symbol-named"
            e.value, e.conductance = None, False
        shared = [r for r in resistors if r.symbol is None]
        named = [e for e in chosen if e.kind == "R" and e.symbol != e.name]
        if shared and named and rng.random() < 0.5:
            other = rng.choice(shared)
            other.symbol, other.text, other.form = named[0].symbol, named[0].symbol, "symbol-shared"
            other.value, other.conductance = None, False
        network = Network(b.elements, kind="symbolic " + kind)
        if network.dangling():
            continue
        order = []
        for e in network.elements:
            if e.symbol is not None and e.symbol not in order:
                order.append(e.symbol)
        network.symbols = order
        # Generic: usable at two random points (a network that only works at special values
        # is of no use here).
        if not all(usable(network, symbol_values(network, rng)) for _ in range(2)):
            continue
        # Most keep a controlled source, whose gain may be one of the symbols.
        if not gains and rng.random() < 0.3:
            continue
        return render(network, rng)
