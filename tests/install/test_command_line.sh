#!/usr/bin/env bash
# test_command_line.sh PROGRAM: --version and --help answer on standard output
# and exit 0 without any display; with no option and no display the program
# says why it cannot start.
set -euo pipefail
program=$1
fail() { echo "FAIL: $*" >&2; exit 1; }
without_display() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" "$@"; }

version=$(without_display --version) || fail "--version exited with status $?"
[[ $version == *"ほしのたまご"*"2.0"* ]] || fail "--version printed '$version'"

help=$(without_display --help) || fail "--help exited with status $?"
for expected in "Usage: hoshinotamago" "--version" "--help" "--check-sounds" "--voice" "--no-voice"; do
    [[ $help == *"$expected"* ]] || fail "--help does not mention '$expected': $help"
done

set +e
message=$(without_display 2>&1 >/dev/null)
status=$?
set -e
[ "$status" -eq 2 ] || fail "without a display the status is $status, expected 2"
[[ $message == *"no display found"* ]] || fail "without a display it said '$message'"
echo "command line passed"
