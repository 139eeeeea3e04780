#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""atspi_tree.py TITLE: the showing objects below the program's window TITLE,
read through AT-SPI as a screen reader reads them, in tree order, one a line:
role, name and text, tab-separated, CR LF and tab escaped."""
import sys

import pyatspi


def showing(parent):
    return [c for c in parent if c is not None and c.getState().contains(pyatspi.STATE_SHOWING)]


def text_of(accessible):
    try:
        text = accessible.queryText()
    except NotImplementedError:
        return ""
    return text.getText(0, text.characterCount)


def print_below(accessible):
    for child in showing(accessible):
        fields = (child.getRoleName(), child.name, text_of(child))
        print("\t".join(f.replace("\r", "\\r").replace("\n", "\\n").replace("\t", "\\t") for f in fields))
        print_below(child)


windows = [w for a in pyatspi.Registry.getDesktop(0) if a is not None and a.name == "hoshinotamago" for w in showing(a)]
for window in (w for w in windows if w.name == sys.argv[1]):
    print_below(window)
    sys.exit(0)
sys.exit(f"no window of hoshinotamago titled {sys.argv[1]} on the accessibility bus")
