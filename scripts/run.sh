#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what building and running need, builds the program (without the
# tests), and starts it in the folder this was called from.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
(cd "$root" && cmake --preset release >/dev/null && cmake --build --preset release -j"$(nproc)")
exec "$root/build/release/bin/hoshinotamago" "$@"
