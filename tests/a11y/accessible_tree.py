#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Prints what a screen reader reads of a running program over AT-SPI, one line per
accessible object, depth first: depth, role, name (line breaks read as spaces), "focusable"
for the ones a learner can reach, and "showing" for the ones on the screen.
usage: accessible_tree.py PROGRAM_NAME [SECONDS]

Waits up to SECONDS (default 10) for the program to appear on the accessibility bus and
for its tree to hold a named window. Exits 1 when it never does.
"""
import sys
import time

import pyatspi


def find_application(name):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == name:
            return app
    return None


def walk(node, depth, out):
    state = node.getState()
    focusable = state.contains(pyatspi.STATE_FOCUSABLE)
    showing = state.contains(pyatspi.STATE_SHOWING)
    name = " ".join(node.name.splitlines())
    out.append(f"{depth}\t{node.getRoleName()}\t{name}\t"
               f"{'focusable' if focusable and showing else ''}\t"
               f"{'showing' if showing else ''}")
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            walk(child, depth + 1, out)


def main():
    name = sys.argv[1]
    deadline = time.monotonic() + (float(sys.argv[2]) if len(sys.argv) > 2 else 10)
    while time.monotonic() < deadline:
        app = find_application(name)
        if app is not None and app.childCount > 0:
            lines = []
            walk(app, 0, lines)
            print("\n".join(lines))
            return 0
        time.sleep(0.2)
    print(f"{name} never appeared on the accessibility bus", file=sys.stderr)
    return 1


if __name__ == "__main__":
    sys.exit(main())
