#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# with_xvfb.sh SCRIPT PROGRAM: one end-to-end script under a private Xvfb with a JIS keymap, D-Bus session (its
# accessibility bus started on demand) and a speech-dispatcher that makes no sound and logs what clients send it.
set -euo pipefail
script=$1
export HOSHI_PROGRAM=$2
here=$(cd "$(dirname "$0")" && pwd)
for tool in Xvfb xdotool xclip setxkbmap dbus-daemon speech-dispatcher pulseaudio parec openbox /usr/bin/python3; do
    command -v "$tool" >/dev/null || { echo "missing $tool: run scripts/install-deps.sh"; exit 1; }
done

# Every process of this run inherits the mark; whatever carries it at the end is ended.
TMPDIR=$(mktemp -d)
export TMPDIR HOSHI_E2E_RUN=$TMPDIR
# shellcheck source=tests/e2e/lib.sh
source "$here/lib.sh"
status=0
none_marked() { [ -z "$(marked_processes)" ]; }
finish() {
    local code=$? signal
    set +e
    [ "$status" -eq 0 ] && status=$code
    for signal in TERM KILL; do
        # shellcheck disable=SC2046 # a list of process ids
        none_marked || kill -"$signal" $(marked_processes) 2>/dev/null
        [ "$signal" = KILL ] || within 3 none_marked
    done
    rm -rf "$TMPDIR"
    exit "$status"
}
trap finish EXIT

# Nothing of the desktop this runs on: own home, settings, runtime folder.
export HOME=$TMPDIR/home GSETTINGS_BACKEND=memory XDG_RUNTIME_DIR=$TMPDIR/run
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY SESSION_MANAGER AT_SPI_BUS_ADDRESS SPEECHD_SOCKET SPEECHD_HOST SPEECHD_PORT

# -noreset keeps the keymap when the last client goes; HOSHI_XVFB_SCREEN: another size.
mkfifo "$TMPDIR/display"
Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 "${HOSHI_XVFB_SCREEN:-1280x1024x24}" 3>"$TMPDIR/display" 2>/dev/null &
export DISPLAY=":$(head -n 1 "$TMPDIR/display")"
setxkbmap -model jp106 -layout jp
# A session bus of this run: else clients would start one that outlives the test.
dbus-daemon --session --nofork --nopidfile --print-address=3 \
    --address="unix:dir=$XDG_RUNTIME_DIR" 3>"$TMPDIR/dbus-address" >"$TMPDIR/dbus.log" 2>&1 &
within 5 test -s "$TMPDIR/dbus-address" || fail "the session bus did not start"
export DBUS_SESSION_BUS_ADDRESS="$(head -n 1 "$TMPDIR/dbus-address")"
speechd_configure
speechd_start

bash "$script" || status=$?
# A sanitizer report fails the test even where the script did not wait for the exit.
if grep -qE "ERROR: (Address|Leak)Sanitizer|runtime error:" "$TMPDIR"/hoshi-e2e-*.log 2>/dev/null; then
    echo "FAIL: sanitizer report" >&2
    status=1
fi
# On a failure (77: the script skipped itself) the program's output and what speech-dispatcher was sent.
if [ "$status" -ne 0 ] && [ "$status" -ne 77 ]; then
    tail -n +1 "$TMPDIR"/hoshi-e2e-*.log >&2 2>/dev/null || true
    /usr/bin/python3 "$here/ssip_log.py" "$HOSHI_SPEECHD_DIR/log/protocol.log" >&2 2>/dev/null || true
fi
exit "$status"
