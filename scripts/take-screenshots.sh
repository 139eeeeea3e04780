#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes the AppStream screenshots (assets/screenshots/*.png, named in the
# metainfo) of the built program under a private 1280x720 Xvfb, with the
# end-to-end tests' harness: own home, D-Bus session and silent speech.
#   scripts/take-screenshots.sh [PROGRAM]   (default: build/release/bin/hoshinotamago)
# Needs the test tools (scripts/install-deps.sh --for-tests) and ImageMagick.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ -z "${HOSHI_SCREENSHOT_DIR:-}" ]; then
    program=$(realpath "${1:-$root/build/release/bin/hoshinotamago}")
    [ -x "$program" ] || { echo "no program at $program: cmake --preset release && cmake --build --preset release" >&2; exit 1; }
    command -v import >/dev/null || { echo "ImageMagick's import is missing: apt-get install imagemagick" >&2; exit 1; }
    export HOSHI_SCREENSHOT_DIR=$root/assets/screenshots HOSHI_XVFB_SCREEN=1280x720x24
    exec bash "$root/tests/e2e/with_xvfb.sh" "$0" "$program"
fi

# From here on: inside the harness, with DISPLAY and HOSHI_PROGRAM set.
source "$root/tests/e2e/lib.sh"
# shoot FILE [SECONDS]: the screen, once the windows have settled.
shoot() {
    sleep "${2:-1}"
    # A palette of 64 colours keeps each picture small; the windows are flat colours and text.
    import -window root -colors 64 "PNG8:$HOSHI_SCREENSHOT_DIR/$1"
    echo "took $HOSHI_SCREENSHOT_DIR/$1"
}
practice=$(mktemp)
trap 'rm -f "$practice"' EXIT
printf '%s\n' "ほしがひかる。" "たまごがわれた。" "ひよこがないた。" >"$practice"

start_program --no-voice
wait_for_clipboard $'１\r\n押せばわかる'
launcher=$(window_named "ほしのたまごいりぐち")
# At once: the title ticker has not yet moved the name.
shoot launcher.png 0
focus_window "$launcher"

press 1
guide=$(window_named "押せばわかる")
focus_window "$guide"
press a
wait_for_clipboard "Ａ"
shoot key-guide.png
press alt+F4
window_gone "押せばわかる"

focus_window "$launcher"
press 3
drill=$(window_named "アルファベットに挑戦")
focus_window "$drill"
press space
wait_for_target >/dev/null
sleep 2
shoot drill.png
press Escape
window_gone "アルファベットに挑戦"

focus_window "$launcher"
press 5
typing=$(window_named "応用日本語入力　３分")
open_practice_file "$typing" "$practice"
press Return
sleep 1
shoot typing.png
