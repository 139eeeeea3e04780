#!/usr/bin/env bash
# Runs one end-to-end script against the program under a private Xvfb with a
# JIS keymap: with_xvfb.sh SCRIPT PROGRAM
set -euo pipefail
script=$1
export HOSHI_PROGRAM=$2

for tool in Xvfb xdotool xclip setxkbmap; do
    command -v "$tool" >/dev/null || { echo "missing $tool: run scripts/install-deps.sh"; exit 1; }
done

fifo=$(mktemp -u)
mkfifo "$fifo"
# -noreset keeps the JIS keymap when the last client disconnects.
Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1280x1024x24 3>"$fifo" 2>/dev/null &
xvfb_pid=$!
read -r display_number <"$fifo"
rm -f "$fifo"
# The program's output goes to a private folder, shown when anything fails.
export TMPDIR
TMPDIR=$(mktemp -d)
trap 'kill $xvfb_pid 2>/dev/null || true; rm -rf "$TMPDIR"' EXIT
export DISPLAY=":$display_number"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
setxkbmap -model jp106 -layout jp

status=0
bash "$script" || status=$?
# A sanitizer report fails the test even where the script did not wait for the program's exit.
if grep -qE "ERROR: (Address|Leak)Sanitizer|runtime error:" "$TMPDIR"/hoshi-e2e-*.log 2>/dev/null; then
    echo "FAIL: sanitizer report" >&2
    status=1
fi
if [ "$status" -ne 0 ]; then
    for log in "$TMPDIR"/hoshi-e2e-*.log; do
        [ -f "$log" ] && { echo "--- program output ($log):" >&2; cat "$log" >&2; }
    done
fi
exit "$status"
