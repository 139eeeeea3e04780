#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""check_screenshots.py METAINFO URL FOLDER: every screenshot the AppStream
metadata names is a PNG committed in FOLDER (published at URL) of the size it
states, and every PNG in FOLDER is named, so none is left stale."""
import pathlib
import struct
import sys
import xml.etree.ElementTree as ElementTree


def main(metainfo, url, folder):
    folder, prefix = pathlib.Path(folder), url.rstrip("/") + "/"
    images = ElementTree.parse(metainfo).getroot().findall("./screenshots/screenshot/image")
    failures = [] if images else ["the metadata names no screenshot"]
    for image in images:
        address = (image.text or "").strip()
        path = folder / address[len(prefix):]
        stated = (int(image.get("width", 0)), int(image.get("height", 0)))
        head = path.read_bytes()[:24] if address.startswith(prefix) and path.is_file() else b""
        size = struct.unpack(">II", head[16:24]) if head[:8] == b"\x89PNG\r\n\x1a\n" and head[12:16] == b"IHDR" else None
        if size != stated:
            failures.append(f"{address}: {path} is {size or 'not a PNG under ' + url}, the metadata says {stated}")
    named = {pathlib.PurePath((image.text or "").strip()).name for image in images}
    failures += [f"{path} is not named in the metadata" for path in sorted(folder.glob("*.png")) if path.name not in named]
    print("\n".join(f"FAIL: {failure}" for failure in failures) or f"{len(images)} screenshots match their references")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:4]))
