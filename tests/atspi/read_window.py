#!/usr/bin/python3
"""Reads Tavoret's main window the way a screen reader does, over the accessibility bus.

    read_window.py                 prints, one per line: the font selector's name and the
                                   text it shows, the chart's name and the names of its cells
                                   (row, column) (0, 0), (2, 1) and (13, 15)

Waits up to 20 s for the program to appear on the bus and its selector to show a text. Exits 1 when it does not.
"""

import sys
import time

import pyatspi


def find(node, predicate, depth=0):
    if node is None or depth > 12:
        return None
    if predicate(node):
        return node
    for i in range(node.childCount):
        found = find(node.getChildAtIndex(i), predicate, depth + 1)
        if found is not None:
            return found
    return None


def main():
    desktop = pyatspi.Registry.getDesktop(0)
    deadline = time.time() + 20
    app = None
    while app is None and time.time() < deadline:
        for i in range(desktop.childCount):
            try:
                child = desktop.getChildAtIndex(i)
                if child is not None and child.name == "tavoret":
                    app = child
            except Exception:  # another program on the bus that does not answer
                pass
        if app is None:
            time.sleep(0.2)
    if app is None:
        print("tavoret is not on the accessibility bus", file=sys.stderr)
        return 1
    selector = find(app, lambda n: n.getRole() == pyatspi.ROLE_COMBO_BOX and n.name == "Font")
    chart = find(app, lambda n: n.getRole() == pyatspi.ROLE_TABLE)
    if selector is None or chart is None:
        print("no font selector or chart", file=sys.stderr)
        return 1
    print(selector.name)
    # The selector shows the verdict once the preview has been answered, which a slow
    # (sanitizer) build may still be waiting for when the window appears.
    text = selector.queryText()
    shown = text.getText(0, text.characterCount)
    deadline = time.time() + 20
    while not shown and time.time() < deadline:
        time.sleep(0.2)
        shown = text.getText(0, text.characterCount)
    print(shown)
    print(chart.name)
    table = chart.queryTable()
    for row, column in ((0, 0), (2, 1), (13, 15)):
        print(table.getAccessibleAt(row, column).name)
    return 0


if __name__ == "__main__":
    sys.exit(main())
