#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# test_command_line.sh PROGRAM: the program as started from a shell, without
# any display: --version and --help answer on standard output; a write error
# there, an unknown option and a missing display or one that cannot be opened
# each end with their own status and one clear message.
set -euo pipefail
program=$1
fail() { echo "FAIL: $*" >&2; exit 1; }
# run OUT [VARIABLE=VALUE...] [-- ARGUMENT...]: the program without a display
# but for VARIABLEs, output to OUT; sets status and message (standard error).
run() {
    local out=$1 variables=()
    shift
    while [ $# -gt 0 ] && [ "$1" != -- ]; do variables+=("$1"); shift; done
    [ $# -gt 0 ] && shift
    set +e
    message=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "${variables[@]}" \
              timeout 60 "$program" "$@" 2>&1 >"$out")
    status=$?
    set -e
}

out=$(mktemp)
run "$out" -- --version
version=$(cat "$out")
[ "$status" -eq 0 ] && [[ $version == *"ほしのたまご"*"2.0"*"GPL version 3 or later"* ]] \
    || fail "--version: status $status, printed '$version'"
run "$out" -- --help
[ "$status" -eq 0 ] || fail "--help exited with status $status"
for expected in "Usage: hoshinotamago" "--version" "--help" "--check-sounds" "--voice" "--no-voice"; do
    grep -qF -- "$expected" "$out" || fail "--help does not mention '$expected': $(cat "$out")"
done

# Output that cannot be written is an error, not a silent success.
for option in --version --help; do
    run /dev/full -- "$option"
    [ "$status" -eq 1 ] || fail "$option >/dev/full: status $status, expected 1"
    [[ $message == *"cannot write to standard output"* ]] || fail "$option >/dev/full said '$message'"
done

# An unknown option: status 2 and one line that names it and the way to help.
run /dev/null -- --bogus
[ "$status" -eq 2 ] || fail "--bogus: status $status, expected 2"
[ "$(wc -l <<<"$message")" -eq 1 ] || fail "--bogus: more than one line: $message"
[[ $message == *"--bogus"*"$program --help"* ]] || fail "--bogus said '$message'"

# No display, or a Wayland name with no compositor (where Qt would abort):
# the hint names the program as started.
for case in "no display" "only WAYLAND_DISPLAY"; do
    if [ "$case" = "no display" ]; then run /dev/null
    else run /dev/null WAYLAND_DISPLAY=hoshi-test-no-compositor XDG_RUNTIME_DIR="$(mktemp -d)"; fi
    [ "$status" -eq 2 ] || fail "$case: status $status, expected 2: $message"
    [[ $message == *"no display found"* ]] || fail "$case: it said '$message'"
    [[ $message == *"xvfb-run -a -s '-screen 0 1280x1024x24' $program"* ]] || fail "$case: the hint does not name $program: '$message'"
done

# A display named but not to be opened (no X server, a stale SSH login's
# forwarded display, a missing plugin): our message, last, and status 2, not
# Qt's abort and advice. free_display: a number nothing answers on.
free_display() {
    local n
    for n in $(seq 87 199); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] \
            || grep -q "/tmp/.X11-unix/X$n\$" /proc/net/unix 2>/dev/null \
            || (exec 3<>"/dev/tcp/127.0.0.1/$((6000 + n))") 2>/dev/null || { echo "$n"; return 0; }
    done
    return 1
}
n=$(free_display) || fail "no free display number between 87 and 199"
# unopened WHAT NAMED [VARIABLE=VALUE...] [-- ARGUMENT...]: our message names NAMED.
unopened() {
    local what=$1 named=$2
    shift 2
    run /dev/null "$@"
    [ "$status" -eq 2 ] || fail "$what: status $status, expected 2: $message"
    [[ $message != *"Reinstalling"* ]] || fail "$what: Qt's own advice reached the user: $message"
    [[ $message == *"no display found (cannot "*"$named"*")"* ]] || fail "$what: our message does not name $named: $message"
    [[ $message == *"ほしのたまご: 画面(ディスプレイ)が見つかりません("* ]] || fail "$what: no Japanese message: $message"
    [ "$(tail -n 1 <<<"$message")" = "a virtual X server:  xvfb-run -a -s '-screen 0 1280x1024x24' $program" ] \
        || fail "$what: our message is not the last: $message"
}
unopened "no X server at DISPLAY=:$n" "X display :$n" DISPLAY=":$n"
unopened "QT_QPA_PLATFORM=xcb, no X server" "X display :$n" DISPLAY=":$n" QT_QPA_PLATFORM=xcb
unopened "a forwarded display whose SSH login is gone" "X display 127.0.0.1:$n" DISPLAY="127.0.0.1:$n"
unopened "-platform xcb -display" "X display :$n" -- -platform xcb -display ":$n"
unopened "a platform plugin that is not installed" "platform plugin hoshi-test-none" \
    DISPLAY=":$n" QT_QPA_PLATFORM=hoshi-test-none
echo "command line passed"
