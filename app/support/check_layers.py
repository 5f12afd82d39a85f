#!/usr/bin/env python3
"""Checks that the application's layers include one another one way only.

model and support include no application layer; files includes only model and support; the table
control only support; engine includes no windows; and no two engine modules (a header and its
source) include each other, however long the way round. Given the toolkit's folder too, checks that
no source but the kernel layer's and the help viewer's includes a Qt header. Prints what breaks a
rule and exits with 1, else says what it checked.
"""
import pathlib
import re
import sys

APP = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parents[1])
TOOLKIT = pathlib.Path(sys.argv[2]) if len(sys.argv) > 2 else None
QT_INCLUDE = re.compile(r'^\s*#\s*include\s+<Q', re.M)
# The only places that may see Qt.
QT_HOMES = ("base/kernel", "help/viewer")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z_]+)/([a-z_]+)\.h"', re.M)
ALLOWED = {
    "support": set(),
    "model": set(),
    "files": {"model", "support", "files"},
    "engine": {"model", "support", "files", "engine"},
    "table": {"support", "table"},
}


def includes(path):
    return INCLUDE.findall(path.read_text(errors="replace"))


def qt_outside_its_homes():
    roots = [APP] + ([TOOLKIT] if TOOLKIT else [])
    found = []
    for root in roots:
        for path in sorted(root.rglob("*.[ch]*")):
            rel = path.relative_to(root).as_posix()
            if root == TOOLKIT and rel.startswith(QT_HOMES):
                continue
            if QT_INCLUDE.search(path.read_text(errors="replace")):
                found.append(f"{root.name}/{rel} includes a Qt header")
    return found


def main():
    problems = qt_outside_its_homes()
    edges = {}
    for layer, allowed in ALLOWED.items():
        for path in sorted((APP / layer).glob("*.[ch]*")):
            for folder, name in includes(path):
                if folder not in allowed:
                    problems.append(f"{layer}/{path.name} includes {folder}/{name}.h")
                if layer == "engine" and folder == "engine" and name != path.stem:
                    edges.setdefault(path.stem, set()).add(name)
    # A module reached again on the way down from itself is part of a cycle.
    state = {}

    def visit(module, trail):
        state[module] = "open"
        for nxt in sorted(edges.get(module, ())):
            if state.get(nxt) == "open":
                problems.append("include cycle: " + " -> ".join(trail[trail.index(nxt):] + [nxt]))
            elif nxt not in state:
                visit(nxt, trail + [nxt])
        state[module] = "done"

    for module in sorted(edges):
        if module not in state:
            visit(module, [module])
    for problem in problems:
        print(problem)
    if problems:
        return 1
    print(f"layers: {len(edges)} engine modules, no include cycle, every layer includes downwards,"
          " Qt only in the kernel and the help viewer")
    return 0


if __name__ == "__main__":
    sys.exit(main())
