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
    folder = pathlib.Path(folder)
    failures, named = [], set()
    images = ElementTree.parse(metainfo).getroot().findall("./screenshots/screenshot/image")
    if not images:
        failures.append("the metadata names no screenshot")
    for image in images:
        address = (image.text or "").strip()
        if not address.startswith(url.rstrip("/") + "/"):
            failures.append(f"{address} is not under {url}")
            continue
        name = address[len(url.rstrip("/")) + 1:]
        named.add(name)
        path = folder / name
        if not path.is_file():
            failures.append(f"{address}: no {path}")
            continue
        size = png_size(path)
        stated = (int(image.get("width", 0)), int(image.get("height", 0)))
        if size is None:
            failures.append(f"{path} is not a PNG")
        elif size != stated:
            failures.append(f"{path} is {size[0]}x{size[1]}, the metadata says {stated[0]}x{stated[1]}")
    for path in sorted(folder.glob("*.png")):
        if path.name not in named:
            failures.append(f"{path} is not named in the metadata")
    for failure in failures:
        print(f"FAIL: {failure}")
    if not failures:
        print(f"{len(images)} screenshots match their references")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:4]))
