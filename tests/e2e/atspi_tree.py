#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads one window of the running program as a screen reader does, through
AT-SPI: atspi_tree.py TITLE

Prints what a screen reader could present below the window, one object a
line, in tree order: role, name and text (of a text object), separated by
tabs, with CR and LF written as \\r and \\n. Objects that are not showing are
left out, as a screen reader leaves them out. Exits 2 when the program is not
on the accessibility bus, 3 when it has no window of that title.
"""

import sys

import pyatspi

PROGRAM = "hoshinotamago"


def escaped(text):
    return text.replace("\r", "\\r").replace("\n", "\\n").replace("\t", "\\t")


def text_of(accessible):
    try:
        text = accessible.queryText()
    except NotImplementedError:
        return ""
    return text.getText(0, text.characterCount)


def showing(accessible):
    return accessible.getState().contains(pyatspi.STATE_SHOWING)


def print_below(accessible):
    for index in range(accessible.childCount):
        child = accessible.getChildAtIndex(index)
        if child is None or not showing(child):
            continue
        print("\t".join(escaped(field) for field in (child.getRoleName(), child.name, text_of(child))))
        print_below(child)


def program():
    desktop = pyatspi.Registry.getDesktop(0)
    for index in range(desktop.childCount):
        application = desktop.getChildAtIndex(index)
        if application is not None and application.name == PROGRAM:
            return application
    return None


def main():
    title = sys.argv[1]
    application = program()
    if application is None:
        print(f"{PROGRAM} is not on the accessibility bus", file=sys.stderr)
        return 2
    for index in range(application.childCount):
        window = application.getChildAtIndex(index)
        if window is not None and window.name == title and showing(window):
            print_below(window)
            return 0
    print(f"no window titled {title}", file=sys.stderr)
    return 3


if __name__ == "__main__":
    sys.exit(main())
