#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks that the includes between the folders of src/ point one way:
modes, records -> ui -> platform; launcher -> ui; app -> all; settings -> platform/api.
Behaviour classes (the *_core libraries) see only their own folder and
platform/api. Prints each include that breaks a rule; exits 1 if any does.
    check_layers.py SOURCE_ROOT"""
import pathlib
import re
import sys

MODES = ("keyguide", "fingers", "typing")
# Subsystems beside the modes that use the kit and the platform alone; the
# modes reach them only through platform/api (records: RunRecorder).
SERVICES = ("records",)
# Platform folders no other folder includes: the run-time modules' code, and
# the code of one system.
SEALED = ("platform/media", "platform/linux", "platform/other")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def folder_of(path: str) -> str:
    """'ui/menus.h' -> 'ui'; 'platform/api/x.h' -> 'platform/api'."""
    parts = path.split("/")
    if parts[0] == "platform" and len(parts) > 2:
        return "/".join(parts[:2])
    return parts[0]


def core_files(src: pathlib.Path) -> set[str]:
    """The sources of every *_core library and the headers beside them."""
    files = set()
    for cmake in src.glob("*/CMakeLists.txt"):
        for block in re.findall(r"hoshi_library\(\w+_core\s+SOURCES([^)]*?)LIBS", cmake.read_text()):
            for source in block.split():
                stem = f"{cmake.parent.name}/{source[:-4]}"
                files.update({stem + ".cpp", stem + ".h"})
    return files


def core_links(src: pathlib.Path) -> list[str]:
    """Each *_core library links the interface target and no other part of the program."""
    wrong = []
    for cmake in src.glob("*/CMakeLists.txt"):
        for name, libs in re.findall(r"hoshi_library\((\w+_core)\s+SOURCES[^)]*?LIBS([^)]*)\)", cmake.read_text()):
            ours = [lib for lib in libs.split() if lib.startswith("hoshi_")]
            if ours != ["hoshi_platform_api"]:
                wrong.append(f"{name} links {' '.join(ours) or 'no platform interface'}")
    return wrong


def allowed(source: str, target: str, cores: set[str]) -> bool:
    here, there = folder_of(source), folder_of(target)
    if here == there:
        return True
    if there == "platform/api":
        return True
    if source in cores:
        return False  # a behaviour class knows no widget and no platform part
    if here in ("platform/api", "settings"):
        return False  # the preferences file knows only the interfaces
    if there in SEALED:
        return False  # loaded at run time, or built for one system only
    if here.startswith("platform"):
        # The platform never reaches up; its subsystems may use one another.
        return there.startswith("platform")
    if here == "ui":
        return there.startswith("platform")
    if here == "launcher":
        return there.startswith("platform") or there == "ui"
    if here in MODES or here in SERVICES:
        return there.startswith("platform") or there == "ui"
    return here == "app"


def main() -> int:
    src = pathlib.Path(sys.argv[1]) / "src"
    cores = core_files(src)
    if not cores:
        print("no *_core library found: the check would pass blindly")
        return 1
    broken = core_links(src)
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        source = path.relative_to(src).as_posix()
        for target in INCLUDE.findall(path.read_text(encoding="utf-8")):
            if (src / target).exists() and not allowed(source, target, cores):
                broken.append(f"{source} includes {target}")
    for line in broken:
        print(line)
    print(f"{len(broken)} break(s) of the layers, {len(cores) // 2} behaviour files checked")
    return 1 if broken else 0


if __name__ == "__main__":
    sys.exit(main())
