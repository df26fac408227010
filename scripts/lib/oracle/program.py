"""Runs the program under test (or its test double) and reads its JSON."""

import json
import os
import shlex
import subprocess
from dataclasses import dataclass
from decimal import Decimal


@dataclass
class Run:
    command: str   # as a shell line, to repeat by hand
    code: int
    out: str
    err: str
    data: object = None   # the JSON, where it parsed
    problem: str = ""     # why there is no JSON


class Program:
    def __init__(self, argv, env=None, timeout=120):
        self.argv = list(argv)
        self.env = dict(os.environ)
        # The command line needs no display; a program that opens a window instead must not
        # wait for one.
        self.env.update({"QT_QPA_PLATFORM": "offscreen", "LC_ALL": "C.UTF-8"})
        self.env.update(env or {})
        self.timeout = timeout

    def run(self, args, stdin=None, want_json=True, timeout=None):
        argv = self.argv + list(args)
        command = " ".join(shlex.quote(a) for a in argv)
        if stdin is not None:
            command += " < (the netlist on standard input)"
        timeout = timeout or self.timeout
        try:
            p = subprocess.run(argv, input=stdin if stdin is not None else b"",
                               capture_output=True, timeout=timeout, env=self.env)
        except subprocess.TimeoutExpired:
            return Run(command, -1, "", "", None, f"no answer within {timeout} s")
        except OSError as e:
            return Run(command, -1, "", "", None, f"cannot start: {e}")
        out = p.stdout.decode("utf-8", "replace")
        err = p.stderr.decode("utf-8", "replace")
        run = Run(command, p.returncode, out, err)
        if want_json:
            if p.returncode != 0:
                run.problem = f"exit code {p.returncode}, expected 0"
            else:
                try:
                    run.data = json.loads(out, parse_float=Decimal)
                except ValueError as e:
                    run.problem = f"standard output is not JSON: {e}"
                if run.data is not None and not isinstance(run.data, dict):
                    run.problem, run.data = "the JSON is not an object", None
        return run
