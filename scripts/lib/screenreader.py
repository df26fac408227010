"""A screen reader's pass through the running program over the accessibility bus (AT-SPI), as
Orca meets it: every control is found, pressed and typed into through the interfaces a screen
reader uses, and what it would announce is checked: names, descriptions, values, roles and the
state of the comparison's check boxes; the check window and the own-network window too.

    /usr/bin/python3 scripts/lib/screenreader.py PID

Fails, printing the program's accessible tree, at the first thing heard wrong.
"""
import sys
import time

import pyatspi

sys.path.insert(0, __file__.rsplit("/", 1)[0])
import atspi  # noqa: E402  (the finder the display check uses)

TIMEOUT = 20


class Reader:
    def __init__(self, pid):
        self.pid = pid
        self.app = None

    def find(self, *steps):
        """The control at that path, waiting for a window that is still opening."""
        deadline = time.monotonic() + TIMEOUT
        while True:
            self.app = atspi.application(self.pid)
            node = atspi.find(self.app, steps) if self.app is not None else None
            if node is not None:
                return node
            if time.monotonic() > deadline:
                atspi.fail("nothing at %s" % " > ".join(steps), self.app)
            time.sleep(0.2)

    def press(self, *steps, action="Press"):
        node = self.find(*steps)
        actions = node.queryAction()
        names = [actions.getName(i) for i in range(actions.nActions)]
        if action not in names:
            atspi.fail("%s offers %s, not %s" % (" > ".join(steps), names, action), self.app)
        actions.doAction(names.index(action))
        time.sleep(0.2)

    def type(self, value, *steps):
        self.find(*steps).queryEditableText().setTextContents(value)

    def expect(self, what, got, wanted):
        if not wanted(got):
            atspi.fail("%s: heard %r" % (what, got), self.app)

    def value(self, wanted, *steps):
        deadline = time.monotonic() + TIMEOUT
        while atspi.text(self.find(*steps)) != wanted and time.monotonic() < deadline:
            time.sleep(0.2)
        self.expect(" > ".join(steps) + " value", atspi.text(self.find(*steps)),
                    lambda got: got == wanted)

    def description(self, starts, *steps):
        self.expect(" > ".join(steps) + " description", self.find(*steps).description,
                    lambda got: got.startswith(starts))

    def describes(self, part, *steps):
        self.expect(" > ".join(steps) + " description", self.find(*steps).description,
                    lambda got: part in got)

    def checked(self, wanted, *steps):
        state = self.find(*steps).getState().contains(pyatspi.STATE_CHECKED)
        self.expect(" > ".join(steps) + " checked", state, lambda got: got == wanted)


def pick(r, window, schematic, values):
    """A schematic picked and calculated in the calculator, as in an exercise or a test step."""
    r.press("frame:" + window, "push button:Schematic " + schematic)
    for element, value in values:
        r.type(value, "frame:Calculator", "text:%s" % element)
    r.press("frame:Calculator", "push button:Calculate")


def main(pid):
    r = Reader(pid)
    # A whole test: the same schematic five times, so every parameter is the same in every case.
    r.press("frame:Kvadra", "push button:Test solver")
    for step in range(5):
        pick(r, "Schematic selection", "R1R2", [("R1 (kOhm)", "1"), ("R2 (kOhm)", "2")])
        r.press("frame:Calculator", "push button:Continue...")
    r.press("frame:Test solver", "push button:z11")
    r.checked(True, "frame:Test solver", "check box:Case A")
    r.describes("z11 in case A: 3 kOhm", "frame:Test solver", "check box:Case A")
    # Toggled as a screen reader toggles it, the box goes straight back to its answer.
    r.press("frame:Test solver", "check box:Case A", action="Toggle")
    r.checked(True, "frame:Test solver", "check box:Case A")
    r.press("frame:Test solver", "push button:Exit")

    # An exercise: each box is heard by its own label and unit, each frame by its caption, the
    # picture as an image with what it shows, a result by its entry and value first.
    r.press("frame:Kvadra", "push button:Excercise solver")
    pick(r, "Schematic selection", "R1R2R3",
         [("R1 (kOhm)", "1"), ("R2 (kOhm)", "2"), ("R3 (kOhm)", "3")])
    calc = "frame:Calculator"
    r.value("3", calc, "panel:Z parameters (kOhm)", "text:z11 (kOhm)")
    r.description("z11 = 3 kOhm\n", calc, "text:z11 (kOhm)")
    r.value("0.454545454545455", calc, "panel:Y parameters (mS)", "text:y11 (mS)")
    r.description("y11 = 0.454545454545455 mS = 5/11 mS\n", calc, "text:y11 (mS)")
    r.find(calc, "panel:Resistor values (kOhm)", "text:R3 (kOhm)")
    r.describes("R2 from the middle of the top line", calc, "image:Schematic R1R2R3")
    # A missing matrix is told where the focus is after Calculate.
    pick(r, "Schematic selection", "R1", [("R1 (kOhm)", "2")])
    r.description("No Y matrix: the middle wire shorts port 2", calc, "push button:Calculate")

    # Check my results: the exact sets read by entry and unit, the student's fraction judged
    # aloud in the box's description.
    pick(r, "Schematic selection", "R1R2R3",
         [("R1 (kOhm)", "1"), ("R2 (kOhm)", "2"), ("R3 (kOhm)", "3")])
    r.press(calc, "push button:Check my results")
    check = "frame:Check my results"
    r.value("0.454545454545455", check, "text:y11 mS")
    r.type("5/11", check, "text:Your y11 mS")
    r.describes("matches", check, "text:Your y11 mS")

    # Own network: a netlist typed in, its sets read back, each drawn element heard with its
    # kind, value and nodes.
    r.press("frame:Schematic selection", "push button:Draw your own network…")
    own = "frame:Own network*"
    r.type("P1 1 0\nP2 3 0\nR1 1 2 1k\nR2 2 0 2k\nR3 2 3 3k\n", own, "text:Netlist")
    r.value("5", own, "text:z22 kOhm")
    r.describes("resistor, 2k, between node 2 and node 0", own, "image:R2")

    # The lab helper: readings and answer named by their captions, the set-up described.
    r.press("frame:Kvadra", "push button:Lab helper")
    r.press("frame:Select parameter", "push button:z11")
    r.type("5", "frame:Lab helper", "text:V1, V")
    r.type("2", "frame:Lab helper", "text:I1, mA")
    r.press("frame:Lab helper", "push button:Calculate")
    r.value("2.5", "frame:Lab helper", "text:Parameter z11 value (kOhm):")
    r.describes("current source drives a current into port 1", "frame:Lab helper",
                "image:Set-up for z11")
    print("screen reader: every name, description, value and state heard as it should be")
    return 0


if __name__ == "__main__":
    sys.exit(main(int(sys.argv[1])))
