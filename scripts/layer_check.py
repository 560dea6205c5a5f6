#!/usr/bin/env python3
"""Checks the skin engine's layers: no include runs upward, no circle.

The layers, bottom to top: skin/model (state), skin/paint (painting),
skin/controls (one pair per control skin), skin/window (forms, dialogs,
panels) and the engine in skin/ itself. A file may include its own layer
and the layers below it. A .cpp and its .h count as one unit, as in
include_graph.py.

    scripts/layer_check.py          # exits 1 and names each fault
"""
import os
import sys

from include_graph import circles, read_units

LAYERS = ["skin/model", "skin/paint", "skin/controls", "skin/window", "skin"]


def rank(unit):
    """The unit's layer (its index in LAYERS), None for a folder not listed."""
    folder = os.path.dirname(unit)
    return LAYERS.index(folder) if folder in LAYERS else None


def faults(graph):
    found = []
    for unit in sorted(graph):
        own = rank(unit)
        if own is None:
            found.append(f"{unit}: in no layer (folders: {', '.join(LAYERS)})")
            continue
        for target in sorted(graph[unit]):
            if rank(target) is not None and rank(target) > own:
                found.append(f"{unit} includes {target}, a layer above it ({LAYERS[rank(target)]})")
    for component in circles(graph):
        found.append(f"circle of includes: {', '.join(component)}")
    return found


def main(argv):
    repo = argv[1] if len(argv) > 1 else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    found = faults(read_units(repo, ["skin"]))
    for fault in found:
        print(fault)
    print(f"{len(found)} layer fault(s)")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
