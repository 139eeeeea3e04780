#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""check_layers.py SOURCE_ROOT: includes between the folders of src/ point one way:
modes, records -> ui -> platform; launcher -> ui; app -> all; settings -> platform/api.
The *_core libraries see only their folder and platform/api, and link only its target."""
import pathlib
import re
import sys

# What each folder may include beyond itself and platform/api (modes reach records through RunRecorder).
REACHES = {"platform": ("platform",), "ui": ("platform",)}
REACHES.update({folder: ("platform", "ui") for folder in ("launcher", "records", "keyguide", "fingers", "typing")})
# Platform folders no other folder includes: the run-time modules' code, and one system's code.
SEALED = ("platform/media", "platform/linux", "platform/other")
CORE = re.compile(r"hoshi_library\((\w+_core)\s+SOURCES([^)]*?)LIBS([^)]*)\)")


def folder_of(path):
    """'ui/menus.h' -> 'ui'; 'platform/api/x.h' -> 'platform/api'."""
    parts = path.split("/")
    return "/".join(parts[:2]) if parts[0] == "platform" and len(parts) > 2 else parts[0]


def allowed(source, target, cores):
    here, there = folder_of(source), folder_of(target)
    if here == there or there == "platform/api":
        return True
    if source in cores or here in ("platform/api", "settings") or there in SEALED:
        return False
    return here == "app" or there.split("/")[0] in REACHES.get(here.split("/")[0], ())


def main(src):
    cores, broken = set(), []
    for cmake in src.glob("*/CMakeLists.txt"):
        for name, sources, libs in CORE.findall(cmake.read_text()):
            for source in sources.split():
                cores.update(f"{cmake.parent.name}/{source[:-4]}{suffix}" for suffix in (".cpp", ".h"))
            ours = [lib for lib in libs.split() if lib.startswith("hoshi_")]
            if ours != ["hoshi_platform_api"]:
                broken.append(f"{name} links {' '.join(ours) or 'no platform interface'}")
    if not cores:
        print("no *_core library found: the check would pass blindly")
        return 1
    for path in sorted(src.rglob("*")):
        if path.suffix in (".h", ".cpp"):
            source = path.relative_to(src).as_posix()
            for target in re.findall(r'^\s*#\s*include\s+"([^"]+)"', path.read_text(encoding="utf-8"), re.M):
                if (src / target).exists() and not allowed(source, target, cores):
                    broken.append(f"{source} includes {target}")
    print("\n".join(broken + [f"{len(broken)} break(s) of the layers, {len(cores) // 2} behaviour files checked"]))
    return 1 if broken else 0


if __name__ == "__main__":
    sys.exit(main(pathlib.Path(sys.argv[1]) / "src"))
