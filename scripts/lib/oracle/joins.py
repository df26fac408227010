"""Two networks wired together port to port, as one network."""

from dataclasses import replace

from .netlist import Element, Network

KINDS = ("cascade", "series", "parallel", "series-parallel", "parallel-series")


def join(first, second, kind):
    """The network of `first` and `second` joined: cascade (port 2 of first to port 1 of second),
    series or parallel at both ports, or series at port 1 and parallel at port 2
    (series-parallel), or the other way round (parallel-series). The two keep their own nodes,
    ground included: only the connection joins them."""
    parent = {}

    def find(n):
        parent.setdefault(n, n)
        while parent[n] != n:
            n = parent[n]
        return n

    def merge(a, b):
        parent[find(b)] = find(a)

    def ends(network, tag, number):
        a, b = network.port(number).nodes
        return f"{tag}:{a}", f"{tag}:{b}"

    a1, b1 = ends(first, 1, 1)
    a2, b2 = ends(first, 1, 2)
    c1, d1 = ends(second, 2, 1)
    c2, d2 = ends(second, 2, 2)
    if kind == "cascade":
        merge(a2, c1)
        merge(b2, d1)
        ports = ((a1, b1), (c2, d2))
    else:
        series1 = kind in ("series", "series-parallel")
        series2 = kind in ("series", "parallel-series")
        ports = []
        for series, (a, b, c, d) in ((series1, (a1, b1, c1, d1)), (series2, (a2, b2, c2, d2))):
            if series:  # b of the first to a of the second; the port from a to d
                merge(b, c)
                ports.append((a, d))
            else:
                merge(a, c)
                merge(b, d)
                ports.append((a, b))
        ports = tuple(ports)

    elements = []
    for tag, network in ((1, first), (2, second)):
        for e in network.branches():
            elements.append(replace(
                e, name=f"{e.name}_{tag}",
                nodes=tuple(find(f"{tag}:{n}") for n in e.nodes),
                control=None if e.control is None else f"{e.control}_{tag}"))
    for number, (a, b) in enumerate(ports, start=1):
        elements.append(Element("P", f"P{number}", (find(a), find(b))))
    return Network(elements, kind=f"{kind} join")
