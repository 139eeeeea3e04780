#!/usr/bin/env bash
# Installs what is missing, builds, and starts ほしのたまご.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset dev >/dev/null
cmake --build --preset dev -j"$(nproc)"
exec build/dev/bin/hoshinotamago "$@"
