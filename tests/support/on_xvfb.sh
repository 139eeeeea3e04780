#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a test binary on a private Xvfb screen of the given size, through Qt's
# X11 plugin, as a window on a real X server: on_xvfb.sh WIDTHxHEIGHT COMMAND...
# QT_SCALE_FACTOR and the rest of the environment pass through.
set -euo pipefail
screen=$1
shift
command -v Xvfb >/dev/null || { echo "missing Xvfb: run scripts/install-deps.sh"; exit 1; }
work=$(mktemp -d)
xvfb=""
trap '[ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
mkfifo "$work/display"
Xvfb -displayfd 3 -nolisten tcp -screen 0 "${screen}x24" 3>"$work/display" 2>/dev/null &
xvfb=$!
read -r number <"$work/display"
export DISPLAY=":$number" QT_QPA_PLATFORM=xcb
# No desktop's session bus or settings: a bus address that answers at once that it is not there.
export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/no-bus XDG_RUNTIME_DIR=$work
unset AT_SPI_BUS_ADDRESS WAYLAND_DISPLAY
"$@"
