#!/usr/bin/python3
# Walks the accessibility tree (AT-SPI) of a running program and fails on
# every control that takes the keyboard focus and has no name: a screen
# reader would read it as "button" or "edit" and nothing more. Tables and
# lists are controls; their cells are content and are not walked.
#   walk.py APP-NAME SECONDS
import sys
import time

import pyatspi

CONTENT_ROLES = {pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_LIST, pyatspi.ROLE_TREE,
                 pyatspi.ROLE_MENU_BAR, pyatspi.ROLE_MENU}


def find_app(name, seconds):
    deadline = time.time() + seconds
    while time.time() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name == name and app.childCount > 0:
                return app
        time.sleep(0.2)
    return None


def path_of(node):
    parts = []
    while node is not None and node.getRole() != pyatspi.ROLE_APPLICATION:
        parts.append("%s[%s]" % (node.getRoleName(), node.name))
        node = node.parent
    return " < ".join(parts)


def walk(node, found, counts):
    for child in node:
        if child is None:
            continue
        states = child.getState()
        if not states.contains(pyatspi.STATE_SHOWING):
            continue
        if states.contains(pyatspi.STATE_FOCUSABLE):
            counts[0] += 1
            if not child.name.strip():
                found.append(path_of(child))
        if child.getRole() not in CONTENT_ROLES:
            walk(child, found, counts)


def main():
    name, seconds = sys.argv[1], float(sys.argv[2])
    app = find_app(name, seconds)
    if app is None:
        print("walk: %s did not appear on the accessibility bus" % name)
        return 2
    found, counts = [], [0]
    windows = []
    for window in app:
        windows.append(window.name)
        walk(window, found, counts)
    print("walk: %d windows (%s), %d focusable controls" % (len(windows), ", ".join(windows), counts[0]))
    for path in found:
        print("unnamed: " + path)
    if counts[0] == 0:
        print("walk: no focusable control found")
        return 3
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
