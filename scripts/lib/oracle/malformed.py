"""Netlists with one fault each, and the line the program's message has to name."""

import random

from . import generate

# Each kind with the faulty line it puts into a good netlist; {a} {b} are nodes the netlist has,
# {name} an element it has, {letter} that element's letter.
_LINES = {
    "unknown element letter": ["X7 {a} {b} 100", "L1 {a} {b} 1m", "C3 {a} {b} 1u",
                               "Q1 {a} {b} {a}", "1R {a} {b} 100"],
    # A gain may be left out (it is then a symbol), so an E or G short of nodes is one with
    # fewer than four words after its name.
    "missing node": ["R90 {a}", "E90 {a} {b}", "G90 {a} {b} {b}", "P3", "R91"],
    "bad value": ["R90 {a} {b} 1.2.3", "R90 {a} {b} 4..7", "R90 {a} {b} 5//11",
                  "R90 {a} {b} 1/0", "R90 {a} {b} 2kk", "R90 {a} {b} 1e", "R90 {a} {b} 3,3,3",
                  "E90 {a} {b} {b} {a} 1.2.3", "R90 {a} {b} 4k7k", "R90 {a} {b} 0x10"],
    "lone M": ["R90 {a} {b} 10M", "R90 {a} {b} 4.7M", "R90 {a} {b} 1,5M", "R90 {a} {b} 2MΩ"],
    "duplicate name": ["{name} {a} {b} 100"],
    "undefined sense source": ["F90 {a} {b} Vnone 2", "H90 {a} {b} vmissing 100"],
}
KINDS = tuple(_LINES) + ("missing port", "garbage bytes", "empty file")


def cases(seed, per_kind):
    """[(case id, netlist bytes, expected line or None, what else the message must name or None,
    what the fault is)] from good netlists of the generator."""
    out = []
    for kind in KINDS:
        for k in range(per_kind):
            rng = random.Random(f"{seed}:bad:{kind}:{k}")
            network = generate.numeric_network(f"{seed}:bad:{kind}:{k}")
            lines = network.text.rstrip("\n").split("\n")
            case_id = f"m:{KINDS.index(kind)}.{k}"
            if kind == "empty file":
                text = rng.choice(["", "\n", "* nothing here\n", "\n\n* only comments\n\n"])
                out.append((case_id, text.encode(), None, None, "an empty netlist"))
                continue
            if kind == "missing port":
                which = rng.choice(["P1", "P2"])
                kept = [ln for ln in lines if ln.split()[:1] != [which]]
                # Without the port a node of it may be left with one element; the program may
                # then name that node instead of the port, and both are right.
                rest = generate.Network([e for e in network.elements if e.name != which])
                named = None if rest.dangling() else which
                out.append((case_id, ("\n".join(kept) + "\n").encode(), None, named,
                            f"no {which} line"))
                continue
            position = rng.randint(0, len(lines))
            if kind == "garbage bytes":
                others = [b for b in range(256) if b not in (10, 13)]
                junk = bytes([0xff, 0xfe]) + bytes(rng.choice(others)
                                                   for _ in range(rng.randint(3, 20)))
                data = ("\n".join(lines[:position]) + ("\n" if position else "")).encode()
                data += junk + b"\n" + ("\n".join(lines[position:]) + "\n").encode()
                out.append((case_id, data, position + 1, None, "a line of bytes that are no text"))
                continue
            branches = [e for e in network.elements if e.kind != "P"]
            nodes = [n for n in network.nodes()]
            a, b = rng.sample(nodes, 2)
            if kind == "duplicate name":
                # After the line of the element whose name it repeats.
                original = rng.choice(branches)
                first = next(i for i, ln in enumerate(lines)
                             if ln.split()[:1] == [original.name])
                position = rng.randint(first + 1, len(lines))
                template = "{name} {a} {b} 100" if original.kind != "V" else "{name} {a} {b} 0"
                if original.kind in "EG":
                    template = "{name} {a} {b} {a} {b} 2"
                if original.kind in "FH":
                    template = "{name} {a} {b} " + original.control + " 2"
                line = template.format(name=original.name, a=a, b=b)
            else:
                line = rng.choice(_LINES[kind]).format(a=a, b=b, name="", letter="")
            new = lines[:position] + [line] + lines[position:]
            out.append((case_id, ("\n".join(new) + "\n").encode(), position + 1, None,
                        f"{kind}: {line!r}"))
    return out
