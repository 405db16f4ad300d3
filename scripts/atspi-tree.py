#!/usr/bin/env python3
# Prints what a screen reader sees of the running Vornelle through AT-SPI: the tree of its
# windows with each object's role, name and description. Steps given on the command line are
# played in order first: "Configurer" presses the menu item or button of that name, "=dump"
# prints the tree at that moment. Run it through scripts/atspi-tree.sh.
import sys
import time

import pyatspi
from gi.repository import Atspi, GLib


def find_app(name, wait=20.0):
    end = time.time() + wait
    while time.time() < end:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name.lower() == name:
                return app
        time.sleep(0.3)
    sys.exit(f"{name} n'apparaît pas sur le bus d'accessibilité")


def walk(node, depth=0, out=sys.stdout):
    if node is None:
        return
    states = node.getState()
    if depth > 0 and not states.contains(pyatspi.STATE_SHOWING):
        return
    role = node.getRoleName()
    line = "  " * depth + f"[{role}] « {node.name} »"
    if node.description:
        line += f" — {node.description}"
    try:
        text = node.queryText().getText(0, -1) if role in ("text", "entry") else ""
        if text:
            line += f" = {text!r}"
    except NotImplementedError:
        pass
    try:
        value = node.queryValue().currentValue
        line += f" = {value:g}"
    except NotImplementedError:
        pass
    print(line, file=out)
    for child in node:
        walk(child, depth + 1)


def press(app, caption, wait=10.0):
    wanted = (pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_MENU)
    end = time.time() + wait
    while time.time() < end:
        hits = pyatspi.findAllDescendants(
            app, lambda n: n is not None and n.getRole() in wanted and n.name == caption)
        for hit in hits:
            action = hit.queryAction()
            if action.nActions > 0:
                print(f"--- action « {action.getName(0)} » sur « {caption} »")
                try:
                    action.doAction(0)
                except GLib.GError:
                    # The program answers once the action returns: not before a message box
                    # it opened is closed. The box is there to be read meanwhile.
                    print("--- pas de réponse : une boîte de dialogue est ouverte")
                time.sleep(1.0)
                return
        time.sleep(0.3)
    print(f"--- « {caption} » introuvable")


def main():
    # Short calls (milliseconds), so that an action held by a message box does not stall the look.
    Atspi.set_timeout(2000, 15000)
    app = find_app("vornelle")
    steps = sys.argv[1:] or ["=dump"]
    for step in steps:
        if step == "=dump":
            print(f"=== {app.name}")
            walk(app)
        else:
            press(app, step)


if __name__ == "__main__":
    main()
