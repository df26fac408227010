"""Finds a control of a running program through the accessibility bus (AT-SPI), as a screen
reader sees it, so that a check can click it or read it without knowing any layout figure:

    /usr/bin/python3 scripts/lib/atspi.py PID centre STEP...      prints "X Y" on the screen
    /usr/bin/python3 scripts/lib/atspi.py PID text STEP... [=TEXT] prints its text, or waits for TEXT
    /usr/bin/python3 scripts/lib/atspi.py PID tree                 prints the program's tree

Each STEP is ROLE:NAME, ROLE or ROLE#N: the N-th (default first) showing accessible with that
role ("*" for any) and that accessible name, found at any depth below what the step before it
found, in the tree's order. Example: '*:Calculator' 'panel:Input data' 'text#2'.
Waits up to 20 s (KVADRA_ATSPI_TIMEOUT) for the path; when it is not found prints the tree.
Needs Debian's python3-pyatspi, hence /usr/bin/python3 rather than whatever python3 is first.
"""
import os
import sys
import time

import pyatspi

TIMEOUT = float(os.environ.get("KVADRA_ATSPI_TIMEOUT", "20"))


def parse(step):
    index = 1
    if "#" in step:
        step, number = step.rsplit("#", 1)
        index = int(number)
    role, _, name = step.partition(":")
    return role or "*", name if ":" in step else None, index


def descendants(node):
    for child in node:
        if child is None:
            continue
        yield child
        yield from descendants(child)


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def matches(node, role, name):
    """A name ending in "*" matches every name it starts (a title that changes as one edits)."""
    if role != "*" and node.getRoleName() != role:
        return False
    if name is not None and name.endswith("*") and len(name) > 1:
        return node.name.startswith(name[:-1])
    return name is None or node.name == name


def application(pid):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def find(app, steps):
    node = app
    for step in steps:
        role, name, index = parse(step)
        found = [d for d in descendants(node) if matches(d, role, name) and showing(d)]
        if len(found) < index:
            return None
        node = found[index - 1]
    return node


def extents(node):
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x, box.y, box.width, box.height


def text(node):
    return node.queryText().getText(0, -1)


def tree(node, depth=0, out=sys.stdout):
    try:
        where = " at %d,%d %dx%d" % extents(node)
    except NotImplementedError:
        where = ""
    print("%s%s %r%s" % ("  " * depth, node.getRoleName(), node.name, where), file=out)
    for child in node:
        if child is not None:
            tree(child, depth + 1, out)


def fail(message, app):
    print("atspi: " + message, file=sys.stderr)
    if app is not None:
        print("what the program shows:", file=sys.stderr)
        tree(app, 1, sys.stderr)
    sys.exit(1)


def main(argv):
    if len(argv) < 2 or argv[1] not in ("centre", "text", "tree"):
        print(__doc__, file=sys.stderr)
        return 2
    pid, command, steps = int(argv[0]), argv[1], argv[2:]
    wanted = None
    if command == "text" and steps and steps[-1].startswith("="):
        wanted = steps.pop()[1:]
    deadline = time.monotonic() + TIMEOUT
    app = node = None
    last = None
    while True:
        app = application(pid)
        if app is not None:
            if command == "tree":
                tree(app)
                return 0
            node = find(app, steps)
        if node is not None and command == "centre":
            # A window the window manager is still placing moves under the pointer: only a place
            # that holds still for a moment is clicked.
            box = extents(node)
            time.sleep(0.1)
            if box == extents(node) and box[2] > 0 and box[3] > 0:
                print(box[0] + box[2] // 2, box[1] + box[3] // 2)
                return 0
        elif node is not None:
            last = text(node)
            if wanted is None or last == wanted:
                print(last)
                return 0
        if time.monotonic() > deadline:
            break
        time.sleep(0.2)
    if app is None:
        fail("no program with process id %d on the accessibility bus" % pid, None)
    if node is None:
        fail("nothing at %s" % " > ".join(steps), app)
    fail("%s reads %r, expected %r" % (" > ".join(steps), last, wanted), app)
    return 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
