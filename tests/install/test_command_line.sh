#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# test_command_line.sh PROGRAM: the program as started from a shell, without
# any display: --version and --help answer on standard output; a write error
# there, an unknown option and a missing display each end with their own
# status and one clear message.
set -euo pipefail
program=$1
fail() { echo "FAIL: $*" >&2; exit 1; }
without_display() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" "$@"; }
# run_status ARGUMENT...: status and standard error of a run without a display.
run_status() {
    set +e
    message=$(without_display "$@" 2>&1 >/dev/null)
    status=$?
    set -e
}

version=$(without_display --version) || fail "--version exited with status $?"
[[ $version == *"ほしのたまご"*"2.0"* ]] || fail "--version printed '$version'"
[[ $version == *"GPL version 3 or later"* ]] || fail "--version names no licence: '$version'"

help=$(without_display --help) || fail "--help exited with status $?"
for expected in "Usage: hoshinotamago" "--version" "--help" "--check-sounds" "--voice" "--no-voice"; do
    [[ $help == *"$expected"* ]] || fail "--help does not mention '$expected': $help"
done

# Output that cannot be written is an error, not a silent success.
for option in --version --help; do
    set +e
    message=$(without_display "$option" 2>&1 >/dev/full)
    status=$?
    set -e
    [ "$status" -eq 1 ] || fail "$option >/dev/full: status $status, expected 1"
    [[ $message == *"cannot write to standard output"* ]] || fail "$option >/dev/full said '$message'"
done

# An unknown option: status 2 and one line that names it and the way to help.
run_status --bogus
[ "$status" -eq 2 ] || fail "--bogus: status $status, expected 2"
[ "$(wc -l <<<"$message")" -eq 1 ] || fail "--bogus: more than one line: $message"
[[ $message == *"--bogus"*"$program --help"* ]] || fail "--bogus said '$message'"

# No display: the hint names the program as it was started here.
run_status
[ "$status" -eq 2 ] || fail "without a display the status is $status, expected 2"
[[ $message == *"no display found"* ]] || fail "without a display it said '$message'"
[[ $message == *"xvfb-run -a -s '-screen 0 1280x1024x24' $program"* ]] || fail "the hint does not name $program: '$message'"

# A Wayland name without a compositor behind it is no display either (Qt
# itself would abort with status 134).
set +e
message=$(env -u DISPLAY -u QT_QPA_PLATFORM WAYLAND_DISPLAY=hoshi-test-no-compositor \
          XDG_RUNTIME_DIR="$(mktemp -d)" "$program" 2>&1 >/dev/null)
status=$?
set -e
[ "$status" -eq 2 ] || fail "with only WAYLAND_DISPLAY the status is $status, expected 2: $message"
[[ $message == *"no display found"* ]] || fail "with only WAYLAND_DISPLAY it said '$message'"
echo "command line passed"
