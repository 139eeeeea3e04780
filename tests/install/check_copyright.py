#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""check_copyright.py SOURCE_DIR: the machine-readable debian/copyright covers
every file of the tree (git ls-files), each Files pattern matches a file,
every licence has its text, and a file's SPDX line agrees with the licence
it is given. Exit 77 (skip) outside a git checkout."""
import pathlib
import re
import subprocess
import sys

FORMAT = "https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"
SPDX_OF = {"GPL-3+": "GPL-3.0-or-later", "CC0-1.0": "CC0-1.0"}  # Debian's short names


def paragraphs(text):
    """Each paragraph as {field: value}, continuation lines joined by newlines."""
    for block in re.split(r"\n\s*\n", text.strip()):
        fields, name = {}, None
        for line in block.splitlines():
            if line[:1] in (" ", "\t") and name:
                fields[name] += "\n" + line.strip()
            else:
                name, _, value = line.partition(":")
                fields[name] = value.strip()
        yield fields


def main(root):
    listed = subprocess.run(["git", "-C", str(root), "ls-files", "-z", "--cached", "--others", "--exclude-standard"],
                            capture_output=True)
    if listed.returncode:
        print("SKIP: not a git checkout")
        return 77
    files = sorted(name for name in listed.stdout.decode().split("\0") if name and (root / name).is_file())
    header, *rest = paragraphs((root / "cmake/debian/copyright").read_text(encoding="utf-8"))
    failures = [] if header.get("Format") == FORMAT else [f"not a DEP-5 header: Format is {header.get('Format')!r}"]
    stanzas = [p for p in rest if "Files" in p]
    texts = {p["License"].split("\n")[0]: p["License"] for p in rest if "Files" not in p and "License" in p}
    for stanza in stanzas:
        failures += [f"Files: {stanza['Files']} has no {field}" for field in ("Copyright", "License") if not stanza.get(field)]
        name = stanza.get("License", "").split("\n")[0]
        failures += [f"the licence {name!r} has no text"] * ("\n" not in stanza.get("License", "") + texts.get(name, ""))
        failures += [f"the licence {name!r} has no SPDX identifier known to this check"] * (name not in SPDX_OF)
    # A DEP-5 pattern: * matches anything, slashes too; ? one character.
    patterns = [(re.compile("".join(".*" if c == "*" else "." if c == "?" else re.escape(c) for c in pattern)),
                 pattern, stanza["License"].split("\n")[0]) for stanza in stanzas for pattern in stanza["Files"].split()]
    used = set()
    for name in files:
        matching = [(pattern, licence) for regex, pattern, licence in patterns if regex.fullmatch(name)]
        used.update(pattern for pattern, _ in matching)
        if not matching:
            failures.append(f"not covered by any Files paragraph: {name}")
            continue
        head = b"\n".join((root / name).read_bytes().splitlines()[:10]).decode("utf-8", "replace")
        failures += [f"{name} says {found}, debian/copyright gives it {matching[-1][1]}"
                     for found in re.findall(r"SPDX-License-Identifier:\s*([^\s>]+)", head) if found != SPDX_OF.get(matching[-1][1])]
    failures += [f"the Files pattern {p!r} matches no file of the tree" for _, p, _ in patterns if p not in used]
    print("\n".join(f"FAIL: {f}" for f in failures) or f"debian/copyright covers all {len(files)} files")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(pathlib.Path(sys.argv[1])))
