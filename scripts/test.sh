#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what building and testing need, builds, and runs every test (unit,
# window and end-to-end under Xvfb). Exits non-zero when any test fails.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --for-tests
cmake --preset dev >/dev/null
cmake --build --preset dev -j"$(nproc)"
ctest --preset dev
