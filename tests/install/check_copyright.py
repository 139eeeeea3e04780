#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""check_copyright.py SOURCE_DIR: the machine-readable debian/copyright the
package installs covers every file of the tree (git ls-files), each Files
pattern still matches a file, every licence named has its text, and a
file's own SPDX line agrees with the licence the copyright gives it.
Exit 77 (skip) outside a git checkout."""

import pathlib
import re
import shutil
import subprocess
import sys

FORMAT = "https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"
# Debian's short names and the SPDX identifiers the files carry.
SPDX_OF = {"GPL-3+": "GPL-3.0-or-later", "CC0-1.0": "CC0-1.0"}
failures = []
fail = failures.append


def paragraphs(text):
    """Each paragraph as {field: value}; continuation lines joined by newlines."""
    for block in re.split(r"\n\s*\n", text.strip()):
        fields, name = {}, None
        for line in block.splitlines():
            if line[:1] in (" ", "\t") and name:
                fields[name] += "\n" + line.strip()
            else:
                name, _, value = line.partition(":")
                fields[name] = value.strip()
        yield fields


def glob_regex(pattern):
    """A DEP-5 Files pattern: * matches anything, slashes too; ? one character."""
    return re.compile("".join(".*" if c == "*" else "." if c == "?" else re.escape(c) for c in pattern))


def main(root):
    if not shutil.which("git") or subprocess.run(["git", "-C", root, "rev-parse"], capture_output=True).returncode:
        print("SKIP: not a git checkout")
        return 77
    root = pathlib.Path(root)
    listed = subprocess.run(["git", "-C", str(root), "ls-files", "-z", "--cached", "--others", "--exclude-standard"],
                            check=True, capture_output=True).stdout.decode().split("\0")
    files = sorted(name for name in listed if name and (root / name).is_file())

    header, *rest = list(paragraphs((root / "cmake/debian/copyright").read_text(encoding="utf-8")))
    if header.get("Format") != FORMAT:
        fail(f"the first paragraph is not a DEP-5 header: Format is {header.get('Format')!r}")
    stanzas = [p for p in rest if "Files" in p]
    texts = {p["License"].split("\n")[0]: p["License"] for p in rest if "Files" not in p and "License" in p}
    for stanza in stanzas:
        for field in ("Copyright", "License"):
            if not stanza.get(field):
                fail(f"Files: {stanza['Files']} has no {field}")
        name = stanza.get("License", "").split("\n")[0]
        if "\n" not in stanza.get("License", "") and "\n" not in texts.get(name, ""):
            fail(f"the licence {name!r} has no text")
        if name not in SPDX_OF:
            fail(f"the licence {name!r} has no SPDX identifier known to this check")

    patterns = [(glob_regex(p), p, s) for s in stanzas for p in s["Files"].split()]
    used = set()
    for name in files:
        licence = None
        for regex, pattern, stanza in patterns:
            if regex.fullmatch(name):
                licence = stanza["License"].split("\n")[0]
                used.add(pattern)
        if licence is None:
            fail(f"not covered by any Files paragraph: {name}")
            continue
        try:
            head = (root / name).read_text(encoding="utf-8").splitlines()[:10]
        except UnicodeDecodeError:
            continue
        for line in head:
            found = re.search(r"SPDX-License-Identifier:\s*([^\s>]+)", line)
            if found and found.group(1) != SPDX_OF.get(licence):
                fail(f"{name} says {found.group(1)}, debian/copyright gives it {licence}")
    failures.extend(f"the Files pattern {p!r} matches no file of the tree" for _, p, _ in patterns if p not in used)
    for message in failures:
        print(f"FAIL: {message}")
    if not failures:
        print(f"debian/copyright covers all {len(files)} files")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
