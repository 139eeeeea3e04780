#!/usr/bin/env bash
# Prints the program's start-up, key-to-announcement, memory and idle-CPU
# figures under a private Xvfb, next to a bare Qt Widgets program as the floor.
# It measures; it asserts nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
dpkg-query -W -f='${Status}' libxtst-dev 2>/dev/null | grep -q "ok installed" ||
    { sudo=""; [ "$(id -u)" -ne 0 ] && sudo=sudo; $sudo apt-get install -y -qq libxtst-dev; }
cmake --preset release >/dev/null && cmake --build --preset release -j"$(nproc)" >/dev/null
cmake -S bench -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/bench >/dev/null

fifo=$(mktemp -u); mkfifo "$fifo"
Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1280x1024x24 3>"$fifo" 2>/dev/null &
xvfb=$!; read -r number <"$fifo"; rm -f "$fifo"
trap 'kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=":$number"
unset QT_QPA_PLATFORM
setxkbmap -model jp106 -layout jp

first='１\r\n押せばわかる'
echo "== bare Qt Widgets program (floor) =="
build/bench/clipboard_probe build/bench/bare_app "$first" "" 0 "${IDLE_SECONDS:-10}"
echo "== hoshinotamago launcher (release build), Down key =="
# Focus goes to the newest top-level window; the probe's keys then reach it.
( sleep 2.5; xdotool search --name '^ほしのたまごいりぐち$' windowfocus 2>/dev/null ) &
build/bench/clipboard_probe build/release/bin/hoshinotamago "$first" Down "${REPEATS:-100}" "${IDLE_SECONDS:-10}"
