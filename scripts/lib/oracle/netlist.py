"""A two-port network as the harness knows it: its elements with exact values, and its text."""

from dataclasses import dataclass, field
from fractions import Fraction


@dataclass
class Element:
    kind: str            # "R", "E", "G", "F", "H", "V" (zero-volt sense source) or "P" (port)
    name: str            # as written in the netlist: "R1", "rload", "P2"
    nodes: tuple         # two nodes; four for E and G (output pair, then control pair)
    value: Fraction = None  # R: resistance in ohms; E, F: ratio; G: siemens; H: ohms
    conductance: bool = False  # R written as a conductance
    symbol: str = None   # the symbol that stands for the value, where there is one
    text: str = ""       # the value as written; "" where the element's name is its symbol
    form: str = ""       # the spelling form of text, for the coverage count
    control: str = None  # F and H: the name of the sense source

    def line(self):
        """The element's netlist line, without a comment."""
        parts = [self.name, *self.nodes]
        if self.control is not None:
            parts.append(self.control)
        if self.kind == "V":
            parts.append("0")
        elif self.kind != "P" and self.text:
            parts.append(self.text)
        return " ".join(parts)


@dataclass
class Network:
    elements: list
    kind: str = ""                  # what the generator meant to make: "T", "open port", ...
    text: str = ""                  # the netlist as the program reads it
    symbols: list = field(default_factory=list)  # in order of first appearance

    def port(self, number):
        return next(e for e in self.elements if e.kind == "P" and e.name == f"P{number}")

    def branches(self):
        return [e for e in self.elements if e.kind != "P"]

    def nodes(self):
        seen = []
        for e in self.elements:
            for n in e.nodes:
                if n not in seen:
                    seen.append(n)
        return seen

    def dangling(self):
        """The nodes met only once, at no port: the netlist format refuses them, since such a node
        joins its element to nothing."""
        uses = {}
        for e in self.elements:
            for n in e.nodes:
                uses[n] = uses.get(n, 0) + (2 if e.kind == "P" else 1)
        return [n for n, count in uses.items() if count == 1]

    def resistances(self):
        """The resistances of the network in ohms, for a scale of its impedances."""
        values = [e.value for e in self.elements if e.kind == "R" and e.value]
        values += [abs(e.value) for e in self.elements if e.kind == "H" and e.value]
        return values


def render(network, rng):
    """Writes the network's text: its element lines in a shuffled order, with the comments, blank
    lines and spacing a student's file has."""
    lines = []
    if rng.random() < 0.6:
        lines.append(rng.choice(["* " + network.kind, "* two-port for the oracle",
                                 "*" + network.kind.replace(" ", "_")]))
    order = list(network.elements)
    rng.shuffle(order)
    for element in order:
        text = element.line()
        if rng.random() < 0.15:
            text = text.replace(" ", rng.choice(["  ", "\t", " \t "]), rng.randint(1, 3))
        if rng.random() < 0.15:
            text += rng.choice([" ; " + element.kind + " element", " ;", "  ; note: 1k ; 2"])
        lines.append(text)
        if rng.random() < 0.1:
            lines.append("")
        if rng.random() < 0.08:
            lines.append("* " + rng.choice(["R9 a b 1k", "the next one", "", "P1 in 0"]))
    network.text = "\n".join(lines) + ("\n" if rng.random() < 0.8 else "")
    return network
