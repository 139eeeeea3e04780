#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# tests/fuzz/run.sh [SECONDS per target, default 20]: builds the fuzz preset and
# runs each fuzzer from its seed corpus. Fails on any crash, hang, leak,
# sanitizer report or broken invariant, keeping the input in build/fuzz/artifacts;
# inputs found on the way go to a scratch folder, so the seeds stay as they are.
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-20}
command -v clang++ >/dev/null || { echo "missing clang++: run scripts/install-deps.sh --with-tools"; exit 1; }
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2

export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$PWD/tests/sanitizers/lsan.supp
artifacts=build/fuzz/artifacts scratch=$(mktemp -d) status=0
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$artifacts"
for target in fuzz_practice_file fuzz_keys fuzz_behaviour; do
    echo "== $target for ${seconds}s"
    mkdir -p "$scratch/$target"
    if build/fuzz/bin/$target -max_total_time="$seconds" -timeout=25 -print_final_stats=1 \
           -artifact_prefix="$artifacts/$target-" "$scratch/$target" "tests/fuzz/corpus/$target" 2>"$scratch/log"; then
        grep -E "^#[0-9]+[[:space:]]+DONE|^stat::(number_of_executed_units|peak_rss_mb)" "$scratch/log" || true
    else
        tail -n 60 "$scratch/log"
        echo "FAIL: $target; reproduce with build/fuzz/bin/$target on the file named above" >&2
        status=1
    fi
done
exit "$status"
