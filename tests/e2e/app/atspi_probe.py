#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""What a screen reader meets of a running application, read through pyatspi as Orca reads it.

  atspi_probe.py listen     prints each focus, selection and window-activation event, one JSON
                            object a line, after a line "ready" once it listens; until killed
  atspi_probe.py tree PID   prints, as one JSON object, the windows of the application of process
                            PID with their role, name and states, and for each list its selected
                            item
  atspi_probe.py census PID prints the interactive elements of that application's windows: how
                            many, how many named, how many of a wrong role, and the problems
"""
import json
import re
import sys

import pyatspi

INTERACTIVE = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX,
    pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY,
    pyatspi.ROLE_PAGE_TAB, pyatspi.ROLE_LINK, pyatspi.ROLE_LIST_ITEM, pyatspi.ROLE_TABLE_CELL,
    pyatspi.ROLE_SLIDER, pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_MENU_ITEM,
}
CONTAINERS = {pyatspi.ROLE_LIST, pyatspi.ROLE_LIST_BOX, pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE}
ID_LIKE = re.compile(r"^[a-z0-9_.\-]+$")


def out(value):
    print(json.dumps(value, ensure_ascii=False), flush=True)


def states(node):
    return sorted(pyatspi.stateToString(s) for s in node.getState().getStates())


def application(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def first_selected(node):
    for child in node:
        if child is not None and child.getState().contains(pyatspi.STATE_SELECTED):
            return child.name
    return None


def describe(node, depth=0):
    lists = []
    if node.getRole() in CONTAINERS:
        lists.append({"role": node.getRoleName(), "children": node.childCount,
                      "selected": first_selected(node)})
        return lists
    if depth < 40:
        for child in node:
            if child is not None:
                lists += describe(child, depth + 1)
    return lists


def tree(pid):
    app = application(pid)
    if app is None:
        out({"error": "no application of process %d on the bus" % pid})
        return
    windows = []
    for window in app:
        if window is None:
            continue
        windows.append({"role": window.getRoleName(), "name": window.name,
                        "states": states(window), "lists": describe(window)})
    out({"app": app.name, "windows": windows})


def choices(combo):
    names = set()
    for child in combo:
        if child is not None:
            names |= {item.name for item in child if item is not None}
    return names


def census(pid):
    app = application(pid)
    counts = {"exposed": 0, "named": 0, "wrong_role": 0, "empty_lists": 0, "problems": []}

    def visit(node, depth, in_list=False):
        if node is None or depth > 40:
            return
        # A list's items count whether scrolled into view or not; anything else only when shown.
        if not in_list and not node.getState().contains(pyatspi.STATE_SHOWING):
            return
        role = node.getRole()
        name = (node.name or "").strip()
        if role in INTERACTIVE:
            counts["exposed"] += 1
            content = role in (pyatspi.ROLE_LIST_ITEM, pyatspi.ROLE_TABLE_CELL)
            # On Linux a combo box is named by its current choice, and labelled by a relation.
            by_value = False
            if role == pyatspi.ROLE_COMBO_BOX:
                labelled = any(r.getRelationType() == pyatspi.RELATION_LABELLED_BY
                               for r in node.getRelationSet())
                by_value = not labelled and name in choices(node)
            if not name or by_value or (not content and ID_LIKE.match(name)):
                counts["problems"].append("%s '%s': not named" % (node.getRoleName(), name))
            else:
                counts["named"] += 1
        if role in CONTAINERS and node.childCount == 0:
            counts["empty_lists"] += 1
            counts["problems"].append("%s '%s': no children" % (node.getRoleName(), name))
        for child in node:
            visit(child, depth + 1, role in CONTAINERS)

    for window in app or []:
        if window is None:
            continue
        if window.getRole() not in (pyatspi.ROLE_WINDOW, pyatspi.ROLE_DIALOG, pyatspi.ROLE_FRAME):
            counts["wrong_role"] += 1
            counts["problems"].append("window of role %s" % window.getRoleName())
        visit(window, 0)
    out(counts)


def listen():
    def on_event(event):
        try:
            source = event.source
            out({"type": event.type, "detail": event.detail1, "name": source.name,
                 "role": source.getRoleName()})
        except Exception as error:  # the source may be gone already
            out({"type": event.type, "error": str(error)})

    pyatspi.Registry.registerEventListener(
        on_event, "focus:", "object:state-changed:focused", "object:state-changed:selected",
        "window:activate")
    print("ready", flush=True)
    pyatspi.Registry.start()


if __name__ == "__main__":
    mode = sys.argv[1] if len(sys.argv) > 1 else ""
    if mode == "listen":
        listen()
    elif mode in ("tree", "census") and len(sys.argv) > 2:
        (tree if mode == "tree" else census)(int(sys.argv[2]))
    else:
        sys.exit(__doc__)
