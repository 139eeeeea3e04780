# SPDX-License-Identifier: GPL-3.0-or-later
# Opens and closes every mode window many times, each the way a user closes
# it; then every window and the launcher still answer. HOSHI_OPEN_CLOSE_CYCLES
# rounds (25); a soak of 200 takes past CTest's limit, so run it directly:
#   HOSHI_OPEN_CLOSE_CYCLES=200 bash tests/e2e/with_xvfb.sh \
#       tests/e2e/test_open_close.sh build/dev/bin/hoshinotamago
source "$(dirname "$0")/lib.sh"

# Windows come and go quickly here: look often.
POLL_STEP=0.02
cycles=${HOSHI_OPEN_CLOSE_CYCLES:-25}

# open_mode N: the digit on the focused launcher opens mode N; its window in $window.
open_mode() {
    xdotool windowfocus --sync "$launcher" key --clearmodifiers "$1"
    window=$(window_named "${mode_titles[$1 - 1]}")
}

# close_mode N: its window closed as a user would; it is gone and the program lives.
close_mode() {
    # shellcheck disable=SC2086 # the closer is one or two key names
    xdotool windowfocus --sync "$window" key --clearmodifiers --delay 60 ${mode_closers[$1 - 1]}
    window_gone "${mode_titles[$1 - 1]}"
    kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended while closing mode $1"
}

start_launcher
for _ in $(seq "$cycles"); do
    for mode in 1 2 3 4 5 6; do
        open_mode "$mode"
        close_mode "$mode"
    done
done

# still_answers MODE KEYS TEXT...: after all that, the window still puts one
# of the TEXTs on the clipboard, on opening or at KEYS.
still_answers() {
    local mode=$1 keys=$2
    shift 2
    clear_clipboard
    open_mode "$mode"
    focus_window "$window"
    # shellcheck disable=SC2086 # KEYS is split into keys
    [ -z "$keys" ] || press $keys
    [ "$#" -eq 0 ] || wait_for_clipboard "$@"
    close_mode "$mode"
}
still_answers 1 a "Ａ"
still_answers 2 "" "ひだりひとさしゆびえふ"
still_answers 3 space {A..Z}
still_answers 4 space {A..Z} {0..9} , . \; / @ - :
# Ctrl without a practice text says the empty line: the clipboard empties.
still_answers 5 Control_L ""
still_answers 6 ""

focus_window "$launcher"
press_expect Down $'２\r\nどの指使うの'

echo "open/close e2e passed"
