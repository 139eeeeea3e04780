#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# test_command_line.sh PROGRAM: started without a display, --version and --help
# answer; a write error, an unknown option and a display missing or not to be
# opened each end with their own status and one clear message.
set -euo pipefail
program=$1
fail() { echo "FAIL: $*" >&2; exit 1; }
# run STATUS OUT [VARIABLE=VALUE...] [-- ARGUMENT...]: the program, output to OUT,
# ends with STATUS; its standard error in message.
run() {
    local expected=$1 out=$2 variables=() status=0
    shift 2
    while [ $# -gt 0 ] && [ "$1" != -- ]; do variables+=("$1"); shift; done
    [ $# -gt 0 ] && shift
    message=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "${variables[@]}" timeout 60 "$program" "$@" 2>&1 >"$out") \
        || status=$?
    [ "$status" -eq "$expected" ] || fail "$*: status $status, expected $expected: $message"
}

out=$(mktemp)
run 0 "$out" -- --version
[[ $(cat "$out") == *"ほしのたまご"*"2.0"*"GPL version 3 or later"* ]] || fail "--version printed '$(cat "$out")'"
run 0 "$out" -- --help
for expected in "Usage: hoshinotamago" "--version" "--help" "--check-sounds" "--voice" "--no-voice"; do
    grep -qF -- "$expected" "$out" || fail "--help does not mention '$expected': $(cat "$out")"
done
for option in --version --help; do
    run 1 /dev/full -- "$option"
    [[ $message == *"cannot write to standard output"* ]] || fail "$option >/dev/full said '$message'"
done
run 2 /dev/null -- --bogus
[ "$(wc -l <<<"$message")" -eq 1 ] && [[ $message == *"--bogus"*"$program --help"* ]] || fail "--bogus said '$message'"

# No display, or a Wayland name with no compositor (where Qt would abort).
hint="a virtual X server:  xvfb-run -a -s '-screen 0 1280x1024x24' $program"
for variables in "" "WAYLAND_DISPLAY=hoshi-test-no-compositor XDG_RUNTIME_DIR=$(mktemp -d)"; do
    # shellcheck disable=SC2086 # a list of assignments
    run 2 /dev/null $variables
    [[ $message == *"no display found"* && $message == *"$hint"* ]] || fail "${variables:-no display}: it said '$message'"
done

# A display named but not to be opened (no X server, a stale SSH login's
# forwarded display, a missing plugin): our message, last, not Qt's abort and advice.
for n in $(seq 87 199); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || grep -q "/tmp/.X11-unix/X$n\$" /proc/net/unix \
        || (exec 3<>"/dev/tcp/127.0.0.1/$((6000 + n))") 2>/dev/null || break
done
# unopened NAMED [VARIABLE=VALUE...] [-- ARGUMENT...]: our message names NAMED.
unopened() {
    run 2 /dev/null "${@:2}"
    [[ $message != *"Reinstalling"* ]] || fail "$*: Qt's own advice reached the user: $message"
    [[ $message == *"no display found (cannot "*"$1"*")"* ]] || fail "$*: our message does not name $1: $message"
    [[ $message == *"ほしのたまご: 画面(ディスプレイ)が見つかりません("* ]] || fail "$*: no Japanese message: $message"
    [ "$(tail -n 1 <<<"$message")" = "$hint" ] || fail "$*: our message is not the last: $message"
}
unopened "X display :$n" DISPLAY=":$n"
unopened "X display :$n" DISPLAY=":$n" QT_QPA_PLATFORM=xcb
unopened "X display 127.0.0.1:$n" DISPLAY="127.0.0.1:$n"
unopened "X display :$n" -- -platform xcb -display ":$n"
unopened "platform plugin hoshi-test-none" DISPLAY=":$n" QT_QPA_PLATFORM=hoshi-test-none
echo "command line passed"
