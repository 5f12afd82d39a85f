#!/usr/bin/env python3
"""Checks that the application's layers include one another one way only.

model and support include no application layer; files includes only model and support; the table
control only support; engine includes no windows; and no two engine modules (a header and its
source) include each other, however long the way round. Prints what breaks a rule and exits with
1, else says what it checked.
"""
import pathlib
import re
import sys

APP = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parents[1])
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


def main():
    problems = []
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
    print(f"layers: {len(edges)} engine modules, no include cycle, every layer includes downwards")
    return 0


if __name__ == "__main__":
    sys.exit(main())
