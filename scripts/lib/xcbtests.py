"""Runs the tests ctest knows of a build, one at a time, on the X display in $DISPLAY with Qt's
xcb platform instead of the offscreen one their ctest definition sets:

    /usr/bin/python3 scripts/lib/xcbtests.py BUILD-DIR

Every other variable of a test's definition (locale, scale factor) is kept, so a new test runs
here as soon as ctest knows it. One at a time, because windows of tests running side by side
would take the focus from each other.
Ends with the line "N passed, N failed" and exits 1 when a test failed.
"""
import json
import os
import subprocess
import sys


def environment(test):
    env = dict(os.environ)
    for prop in test.get("properties", []):
        if prop["name"] == "ENVIRONMENT":
            env.update(item.split("=", 1) for item in prop["value"])
    env["QT_QPA_PLATFORM"] = "xcb"
    return env


def main(argv):
    if not argv or "DISPLAY" not in os.environ:
        print(__doc__, file=sys.stderr)
        return 2
    build = argv[0]
    listed = subprocess.run(["ctest", "--test-dir", build, "--show-only=json-v1"],
                            capture_output=True, text=True, check=True)
    tests = json.loads(listed.stdout)["tests"]
    passed, failed = [], []
    for test in tests:
        command, env = test["command"], environment(test)
        cwd = next((p["value"] for p in test.get("properties", [])
                    if p["name"] == "WORKING_DIRECTORY"), None)
        try:
            run = subprocess.run(command, env=env, cwd=cwd, capture_output=True, text=True,
                                 timeout=300)
            ok, output = run.returncode == 0, run.stdout + run.stderr
        except subprocess.TimeoutExpired:
            ok, output = False, "timed out after 300 s"
        print("%-24s %s" % (test["name"], "passed" if ok else "FAILED"))
        if not ok:
            print(output)
        (passed if ok else failed).append(test["name"])
    if not tests:
        print("ctest knows no test in %s" % build)
        return 1
    print("%d passed, %d failed" % (len(passed), len(failed)))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
