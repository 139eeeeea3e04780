#!/usr/bin/env bash
# Installs what is missing, builds the program (without the tests), and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j"$(nproc)"
exec build/release/bin/hoshinotamago "$@"
