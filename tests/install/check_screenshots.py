#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""check_screenshots.py METAINFO URL FOLDER: every screenshot the AppStream
metadata names is a PNG committed in FOLDER (the image address is URL, where
FOLDER is published, plus the file name) of the width and height it states,
and every PNG in FOLDER is named, so none is left stale."""

import pathlib
import struct
import sys
import xml.etree.ElementTree as ElementTree


def png_size(path):
    with open(path, "rb") as picture:
        head = picture.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        return None
    return struct.unpack(">II", head[16:24])


def main(metainfo, url, folder):
    folder, prefix = pathlib.Path(folder), url.rstrip("/") + "/"
    failures, named = [], set()
    images = ElementTree.parse(metainfo).getroot().findall("./screenshots/screenshot/image")
    if not images:
        failures.append("the metadata names no screenshot")
    for image in images:
        address = (image.text or "").strip()
        path = folder / address[len(prefix):]
        stated = (int(image.get("width", 0)), int(image.get("height", 0)))
        named.add(path.name)
        if not address.startswith(prefix):
            failures.append(f"{address} is not under {url}")
        elif not path.is_file():
            failures.append(f"{address}: no {path}")
        elif png_size(path) != stated:
            failures.append(f"{path} is {png_size(path) or 'not a PNG'}, the metadata says {stated[0]}x{stated[1]}")
    failures += [f"{path} is not named in the metadata" for path in sorted(folder.glob("*.png")) if path.name not in named]
    for failure in failures:
        print(f"FAIL: {failure}")
    if not failures:
        print(f"{len(images)} screenshots match their references")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:4]))
