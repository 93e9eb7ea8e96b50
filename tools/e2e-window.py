#!/usr/bin/python3
"""Reads the running Vocabrium window through the accessibility bus (AT-SPI),
for the real-window scripts: they press keys like a learner, and this tells
them what a learner would see.

    e2e-window.py lesson                 the lesson named in the status bar
    e2e-window.py row WORD TRANSLATION   the row (1-6) of the choice lesson's
                                         answer that is WORD or TRANSLATION
    e2e-window.py labels                 the text of every label shown, a line each
    e2e-window.py selected               the first cell of the selected table row
    e2e-window.py label TEXT             whether a label showing TEXT is on screen

Exits with 1 when the window or the answer is not found.
"""
import sys

import pyatspi


def showing(node):
    try:
        return node.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:  # the widget went away while we looked
        return False


def nodes(node, role):
    """Showing descendants of the given role, in the window's order."""
    found = []
    for child in node:
        if child is None or not showing(child):
            continue
        if child.getRoleName() == role:
            found.append(child)
        found.extend(nodes(child, role))
    return found


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and "vocabrium" in (app.name or "").lower():
            return app
    return None


def main(argv):
    app = application()
    if app is None:
        return 1
    if argv[1:2] == ["lesson"]:
        for bar in nodes(app, "status bar"):
            labels = [label.name for label in nodes(bar, "label") if label.name]
            if labels:
                print(labels[0])
                return 0
        return 1
    if argv[1:2] == ["row"] and len(argv) == 4:
        answers = set(argv[2:4])
        for row, button in enumerate(nodes(app, "check box"), start=1):
            if button.name in answers:
                print(row)
                return 0
        return 1
    if argv[1:2] == ["selected"]:
        for role in ("table cell", "tree item", "list item"):
            for cell in nodes(app, role):
                try:
                    if cell.getState().contains(pyatspi.STATE_SELECTED) and cell.name:
                        print(cell.name)
                        return 0
                except Exception:
                    continue
        return 1
    if argv[1:2] == ["labels"]:
        for label in nodes(app, "label"):
            if label.name:
                print(label.name)
        return 0
    if argv[1:2] == ["label"] and len(argv) == 3:
        return 0 if any(label.name == argv[2] for label in nodes(app, "label")) else 1
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
