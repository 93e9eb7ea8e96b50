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
    e2e-window.py menu                   the items of the open menu, a line each
    e2e-window.py cells                  how many table cells are shown
    e2e-window.py ready                  "ready LESSON: CONTROLS" with the names of
                                         the page's enabled controls, or "busy
                                         LESSON" while they are all grey (the
                                         pause after an answer)

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


# Roles of the controls a lesson page answers with.
CONTROLS = {"push button", "check box", "text", "entry", "toggle button", "radio button"}
# Bars around the pages: their buttons stay live during a pause.
BARS = {"tool bar", "menu bar", "status bar", "menu"}


def page_controls(node):
    """(name, enabled) of the showing controls outside the window's bars."""
    found = []
    for child in node:
        if child is None or not showing(child):
            continue
        role = child.getRoleName()
        if role in BARS:
            continue
        if role in CONTROLS:
            try:
                enabled = child.getState().contains(pyatspi.STATE_SENSITIVE)
            except Exception:
                continue
            found.append((child.name or role, enabled))
        found.extend(page_controls(child))
    return found


def lesson(app):
    for bar in nodes(app, "status bar"):
        labels = [label.name for label in nodes(bar, "label") if label.name]
        if labels:
            return labels[0]
    return None


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
        name = lesson(app)
        if name is None:
            return 1
        print(name)
        return 0
    if argv[1:2] == ["ready"]:
        name = lesson(app) or ""
        live = [control for control, enabled in page_controls(app) if enabled]
        print(f"ready {name}: {'|'.join(live)}" if live else f"busy {name}")
        return 0
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
    if argv[1:2] == ["menu"]:
        items = [item.name for menu in nodes(app, "popup menu")
                 for item in nodes(menu, "menu item") if item.name]
        print("\n".join(items))
        return 0 if items else 1
    if argv[1:2] == ["cells"]:
        count = len(nodes(app, "table cell"))
        print(count)
        return 0 if count else 1
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
