#!/usr/bin/env python3
"""Prints the include graph of a source folder and the circles in it.

A .cpp and its .h count as one unit (named by their path without the
extension). Only includes written as a path from the repository root
("skin/controls/button_skin.h") are followed, as the build resolves them.

    scripts/include_graph.py            # the skin engine
    scripts/include_graph.py app net    # any folders, read together

Exits with 1 when a circle exists, so it can guard a build.
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)
SOURCE_SUFFIXES = (".cpp", ".h")


def read_units(repo, folders):
    """Returns {unit: set(units it includes)} for the units in folders."""
    files = []
    for folder in folders:
        for root, _, names in os.walk(os.path.join(repo, folder)):
            files += [os.path.join(root, n) for n in names if n.endswith(SOURCE_SUFFIXES)]
    units = {}
    for path in sorted(files):
        unit = os.path.splitext(os.path.relpath(path, repo))[0]
        with open(path, encoding="utf-8", errors="replace") as source:
            targets = {os.path.splitext(t)[0] for t in INCLUDE.findall(source.read())}
        units.setdefault(unit, set()).update(targets)
    return {unit: {t for t in targets if t in units and t != unit} for unit, targets in units.items()}


def circles(graph):
    """Strongly connected components of more than one unit (Tarjan)."""
    index, low, stack, on_stack, found = {}, {}, [], set(), []

    def visit(node):
        index[node] = low[node] = len(index)
        stack.append(node)
        on_stack.add(node)
        for target in sorted(graph[node]):
            if target not in index:
                visit(target)
                low[node] = min(low[node], low[target])
            elif target in on_stack:
                low[node] = min(low[node], index[target])
        if low[node] == index[node]:
            component = []
            while True:
                member = stack.pop()
                on_stack.discard(member)
                component.append(member)
                if member == node:
                    break
            if len(component) > 1:
                found.append(sorted(component))

    sys.setrecursionlimit(10000)
    for node in sorted(graph):
        if node not in index:
            visit(node)
    return found


def main(argv):
    repo = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    folders = argv[1:] or ["skin"]
    graph = read_units(repo, folders)
    for unit in sorted(graph):
        print(f"{unit} -> {', '.join(sorted(graph[unit])) or '-'}")
    found = circles(graph)
    print(f"\n{len(graph)} units, {sum(map(len, graph.values()))} includes, {len(found)} circle(s)")
    for number, component in enumerate(found, 1):
        print(f"circle {number} ({len(component)} units): {', '.join(component)}")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
