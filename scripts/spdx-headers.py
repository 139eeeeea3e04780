#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Every source file of the tree names its licence in an SPDX line.

  scripts/spdx-headers.py --check    lists the files without one; exit 1 if any
  scripts/spdx-headers.py --insert   gives each of them the program's licence
                                     (idempotent: a file that has a line keeps it)

Source files are the tracked (and new, not ignored) files that hold code,
build rules or desktop data; sounds, pictures, test inputs and documents
are covered by debian/copyright alone."""

import pathlib
import re
import subprocess
import sys

LICENCE = "GPL-3.0-or-later"
MARK = "SPDX-License-Identifier:"
# The line must come near the top, where a reader and a scanner look.
HEAD_LINES = 10

# Comment syntax by file name: (prefix, suffix).
STYLES = [
    (re.compile(r".*\.(cpp|h)$"), ("// ", "")),
    (re.compile(r"(.*/)?CMakeLists\.txt$|.*\.(cmake|sh|py|supp|desktop)$"), ("# ", "")),
    (re.compile(r".*\.(xml|svg)(\.in)?$"), ("<!-- ", " -->")),
    (re.compile(r".*\.[1-8](\.in)?$"), ('.\\" ', "")),
]


def style_of(path, text):
    for pattern, style in STYLES:
        if pattern.fullmatch(path):
            return style
    if text.startswith("#!"):
        return ("# ", "")
    return None


def tree_files(root):
    listed = subprocess.run(
        ["git", "-C", str(root), "ls-files", "-z", "--cached", "--others", "--exclude-standard"],
        check=True, capture_output=True).stdout.decode().split("\0")
    return sorted({name for name in listed if name and (root / name).is_file()})


def source_files(root):
    for name in tree_files(root):
        try:
            text = (root / name).read_text(encoding="utf-8")
        except UnicodeDecodeError:
            continue
        style = style_of(name, text)
        if style:
            yield name, text, style


def has_mark(text):
    return any(MARK in line for line in text.splitlines()[:HEAD_LINES])


def with_mark(text, style):
    line = f"{style[0]}{MARK} {LICENCE}{style[1]}\n"
    lines = text.splitlines(keepends=True)
    # After a shebang or an XML declaration, which must stay first.
    at = 1 if lines and (lines[0].startswith("#!") or lines[0].startswith("<?xml")) else 0
    return "".join(lines[:at] + [line] + lines[at:])


def main(argv):
    if len(argv) < 2 or argv[1] not in ("--check", "--insert"):
        sys.exit(__doc__)
    root = pathlib.Path(argv[2] if len(argv) > 2 else pathlib.Path(__file__).resolve().parent.parent)
    lacking = [(name, text, style) for name, text, style in source_files(root) if not has_mark(text)]
    if argv[1] == "--insert":
        for name, text, style in lacking:
            (root / name).write_text(with_mark(text, style), encoding="utf-8")
            print(f"added: {name}")
        return 0
    for name, _, _ in lacking:
        print(f"no {MARK} line in the first {HEAD_LINES} lines: {name}")
    if lacking:
        print(f"{len(lacking)} files lack it; scripts/spdx-headers.py --insert adds it", file=sys.stderr)
    return 1 if lacking else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
