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
trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
export DISPLAY=":$display_number"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
setxkbmap -model jp106 -layout jp

bash "$script"
