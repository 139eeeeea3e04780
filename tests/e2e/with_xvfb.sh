#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# with_xvfb.sh SCRIPT PROGRAM: one end-to-end script under a private Xvfb
# with a JIS keymap, D-Bus session (its accessibility bus started on demand)
# and speech-dispatcher that makes no sound and logs what clients send it.
set -euo pipefail
script=$1
export HOSHI_PROGRAM=$2
here=$(cd "$(dirname "$0")" && pwd)

for tool in Xvfb xdotool xclip setxkbmap dbus-daemon speech-dispatcher pulseaudio parec /usr/bin/python3; do
    command -v "$tool" >/dev/null || { echo "missing $tool: run scripts/install-deps.sh"; exit 1; }
done

# The program's output goes to a private folder, shown when anything fails.
export TMPDIR
TMPDIR=$(mktemp -d)
# Every process of this run inherits the mark; whatever carries it at the end is ended.
export HOSHI_E2E_RUN=$TMPDIR
# shellcheck source=tests/e2e/lib.sh
source "$here/lib.sh"

status=0
none_marked() { [ -z "$(marked_processes)" ]; }
finish() {
    local code=$? pids
    set +e
    [ "$status" -eq 0 ] && status=$code
    pids=$(marked_processes)
    # shellcheck disable=SC2086 # a list of process ids
    [ -n "$pids" ] && kill $pids 2>/dev/null
    within 3 none_marked
    pids=$(marked_processes)
    # shellcheck disable=SC2086
    [ -n "$pids" ] && kill -KILL $pids 2>/dev/null
    rm -rf "$TMPDIR"
    exit "$status"
}
trap finish EXIT

# Nothing of the desktop this runs on: own home, settings, runtime folder.
export HOME=$TMPDIR/home
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
export XDG_RUNTIME_DIR=$TMPDIR/run
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export GSETTINGS_BACKEND=memory
unset QT_QPA_PLATFORM WAYLAND_DISPLAY SESSION_MANAGER AT_SPI_BUS_ADDRESS \
      SPEECHD_SOCKET SPEECHD_HOST SPEECHD_PORT

fifo=$TMPDIR/xvfb-display
mkfifo "$fifo"
# -noreset keeps the JIS keymap when the last client disconnects.
# HOSHI_XVFB_SCREEN: another screen size, such as the screenshots' 16:9.
Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 "${HOSHI_XVFB_SCREEN:-1280x1024x24}" 3>"$fifo" 2>/dev/null &
read -r display_number <"$fifo"
rm -f "$fifo"
export DISPLAY=":$display_number"
setxkbmap -model jp106 -layout jp

# A session bus of this run: else clients would start one that outlives the test.
dbus-daemon --session --nofork --nopidfile --print-address=3 \
    --address="unix:dir=$XDG_RUNTIME_DIR" 3>"$TMPDIR/dbus-address" >"$TMPDIR/dbus.log" 2>&1 &
within 5 test -s "$TMPDIR/dbus-address" || fail "the session bus did not start"
DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$TMPDIR/dbus-address")
export DBUS_SESSION_BUS_ADDRESS

speechd_configure
speechd_start

bash "$script" || status=$?
# A sanitizer report fails the test even where the script did not wait for the exit.
if grep -qE "ERROR: (Address|Leak)Sanitizer|runtime error:" "$TMPDIR"/hoshi-e2e-*.log 2>/dev/null; then
    echo "FAIL: sanitizer report" >&2
    status=1
fi
# 77: the script skipped itself, nothing to show.
if [ "$status" -ne 0 ] && [ "$status" -ne 77 ]; then
    for log in "$TMPDIR"/hoshi-e2e-*.log; do
        [ -f "$log" ] && { echo "--- program output ($log):" >&2; cat "$log" >&2; }
    done
    if [ -s "$HOSHI_SPEECHD_DIR/log/protocol.log" ]; then
        echo "--- what speech-dispatcher was sent (all clients):" >&2
        /usr/bin/python3 "$here/ssip_log.py" "$HOSHI_SPEECHD_DIR/log/protocol.log" >&2 || true
    fi
    [ -s "$HOSHI_SPEECHD_DIR/autospawn.log" ] && { echo "--- autospawn tried:" >&2; cat "$HOSHI_SPEECHD_DIR/autospawn.log" >&2; }
fi
exit "$status"
