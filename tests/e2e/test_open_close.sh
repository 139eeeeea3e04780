# SPDX-License-Identifier: GPL-3.0-or-later
# Opens and closes every mode window from the launcher many times, each the
# way a user closes it (Escape, Alt+F4, the typing windows' Exit menu entry),
# then checks that every window still answers, that the launcher still
# announces, and prints the program's resident memory along the way.
# HOSHI_OPEN_CLOSE_CYCLES sets the rounds (25 by default). A long soak of 200
# rounds takes a few minutes, past CTest's limit, so run it directly:
#   HOSHI_OPEN_CLOSE_CYCLES=200 bash tests/e2e/with_xvfb.sh \
#       tests/e2e/test_open_close.sh build/dev/bin/hoshinotamago
source "$(dirname "$0")/lib.sh"

# Windows come and go quickly here: look often.
POLL_STEP=0.02
cycles=${HOSHI_OPEN_CLOSE_CYCLES:-25}

resident_kib() {
    awk '/^VmRSS:/ { print $2 }' "/proc/$PROGRAM_PID/status"
}

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
rss_start=$(resident_kib)
started=$(date +%s)
for round in $(seq "$cycles"); do
    for mode in 1 2 3 4 5 6; do
        open_mode "$mode"
        close_mode "$mode"
    done
    [ "$round" -eq 1 ] && rss_first=$(resident_kib)
    if [ "$cycles" -ge 4 ] && [ $((round % (cycles / 4))) -eq 0 ]; then
        echo "round $round: $(resident_kib) KiB resident"
    fi
done
rss_end=$(resident_kib)
elapsed=$(( $(date +%s) - started ))

# Every window still works after all that opening and closing.
open_mode 1
focus_window "$window"
press_expect a "Ａ"
close_mode 1

clear_clipboard
open_mode 2
wait_for_clipboard "ひだりひとさしゆびえふ"
close_mode 2

for mode in 3 4; do
    open_mode "$mode"
    focus_window "$window"
    clear_clipboard
    press space
    wait_for_clipboard {A..Z} {0..9} , . \; / @ - :
    close_mode "$mode"
done

# Ctrl without a practice text says the empty line: the clipboard empties.
open_mode 5
focus_window "$window"
clear_clipboard
press_expect Control_L ""
close_mode 5

open_mode 6
close_mode 6

focus_window "$launcher"
press_expect Down $'２\r\nどの指使うの'

echo "open/close soak: $cycles rounds x 6 windows ($((cycles * 6)) openings) in ${elapsed}s"
echo "resident memory: ${rss_start} KiB after start, ${rss_first} KiB after the first round," \
     "${rss_end} KiB after round $cycles ($((rss_end - rss_first)) KiB since the first round)"
echo "open/close e2e passed"
