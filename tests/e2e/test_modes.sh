# SPDX-License-Identifier: GPL-3.0-or-later
# Every mode window opened and closed the way a user closes it, many times, then each still answers. Then
# the walk at once with each service (speech, session bus, sound server, accessibility bus) missing, never
# answering a connection, or stopped. A soak:
#   HOSHI_OPEN_CLOSE_CYCLES=200 bash tests/e2e/with_xvfb.sh tests/e2e/test_modes.sh build/dev/bin/hoshinotamago
source "$(dirname "$0")/lib.sh"
mode_titles=("押せばわかる" "どのゆびつかうの" "アルファベットに挑戦" "数字と記号も登場" "応用日本語入力　３分" "ENGLISH Three Minute")
mode_closers=("alt+F4" "Escape" "Escape" "Escape" "alt+f x" "alt+f x")

POLL_STEP=0.05
# A service that hangs: it takes every connection into its queue and never answers.
silent=$TMPDIR/silent.sock
/usr/bin/python3 -c 'import socket, sys, time; s = socket.socket(socket.AF_UNIX); s.bind(sys.argv[1]); s.listen(1000); time.sleep(1e6)' \
    "$silent" &
within 5 test -S "$silent" || fail "the silent socket did not open"
# A sanitized build scans for leaks at its end, which takes a while of its own.
end_seconds=$([ -n "${ASAN_OPTIONS:-}" ] && echo 4 || echo 1)

# open_mode N SECONDS: the digit in the launcher opens mode N, in WINDOW;
# close_mode N SECONDS: closed the way a user closes it, and the program lives.
open_mode() {
    xdotool windowfocus --sync "$launcher" key --clearmodifiers "$1"
    within "$2" window_shown "${mode_titles[$1 - 1]}" || fail "$CASE: mode $1 did not open within $2 s"
}
close_mode() {
    # shellcheck disable=SC2086 # the closer is one or two key names
    xdotool windowfocus --sync "$WINDOW" key --clearmodifiers --delay 60 ${mode_closers[$1 - 1]}
    within "$2" ! window_shown "${mode_titles[$1 - 1]}" || fail "$CASE: mode $1 did not close within $2 s"
    kill -0 "$PROGRAM_PID" 2>/dev/null || fail "$CASE: the program ended while closing mode $1"
}
# walk_modes OPEN CLOSE: every mode; a wrong key in the finger guide plays a cue.
walk_modes() {
    local mode
    for mode in 1 2 3 4 5 6; do
        open_mode "$mode" "$1"
        [ "$mode" -eq 2 ] && xdotool windowfocus --sync "$WINDOW" key --clearmodifiers q q
        close_mode "$mode" "$2"
    done
}

CASE=soak
start_launcher
for _ in $(seq "${HOSHI_OPEN_CLOSE_CYCLES:-25}"); do walk_modes 10 5; done
# still_answers MODE KEYS TEXT...: the window puts one of the TEXTs on the clipboard, on opening or at KEYS.
still_answers() {
    clear_clipboard
    open_mode "$1" 10
    focus_window "$WINDOW"
    # shellcheck disable=SC2086 # KEYS is split into keys
    [ -z "$2" ] || press $2
    wait_for_clipboard "${@:3}"
    close_mode "$1" 5
}
still_answers 1 a "Ａ"
still_answers 2 "" "ひだりひとさしゆびえふ"
still_answers 3 space {A..Z}
still_answers 4 space {A..Z} {0..9} , . \; / @ - :
# Ctrl without a practice text says the empty line.
still_answers 5 Control_L ""
quit_launcher

# the_program_answers CASE: the launcher and every mode at once, whatever the case broke.
the_program_answers() {
    CASE=$1
    start_launcher
    CLIPBOARD_SECONDS=1 press_expect Down $'２\r\nどの指使うの' Up $'１\r\n押せばわかる'
    walk_modes 2 1
    xdotool windowfocus --sync "$launcher" key --clearmodifiers Down
    CLIPBOARD_SECONDS=1 wait_for_clipboard $'２\r\nどの指使うの'
    # VOICES_HEARD: both voices speak once the silent bus is given up (after 1.5 s).
    if [ -n "${VOICES_HEARD:-}" ]; then
        sleep 1.5
        speech_mark
        SPEECH_CLIENT=hoshinotamago-en speech_mark
        press Up
        wait_for_spoken "いち、おせばわかる"
        press 6
        SPEECH_CLIENT=hoshinotamago-en wait_for_spoken "Press Control O to open a text file."
        xdotool windowfocus --sync "$(window_named "ENGLISH Three Minute")" key --clearmodifiers --delay 60 alt+f x
        window_gone "ENGLISH Three Minute"
    fi
    xdotool windowfocus --sync "$launcher" key --clearmodifiers Escape
    wait_for_exit "$end_seconds"
}
reported() { [ "$(grep -c "the $1 does not answer" "$TMPDIR/hoshi-e2e-$$.log")" -eq "$2" ] || fail "the silent $1 was not reported"; }

SPEECHD_ADDRESS=unix_socket:$TMPDIR/nobody-listens.sock the_program_answers "no speech service"
SPEECHD_ADDRESS=unix_socket:$silent the_program_answers "a speech service that never answers"
server=$(cat "$HOSHI_SPEECHD_DIR/server.pid")
kill -STOP "$server"
the_program_answers "speech-dispatcher stopped"
kill -CONT "$server"
DBUS_SESSION_BUS_ADDRESS=unix:path=$silent the_program_answers "a session bus that never answers"
reported "session bus" 1
PULSE_SERVER=unix:$silent the_program_answers "a sound server that never answers"
AT_SPI_BUS_ADDRESS=unix:path=$silent VOICES_HEARD=1 the_program_answers "an accessibility bus that never answers"
reported "accessibility bus" 1
# The accessibility bus this run's bus launcher hands out, stopped; then the launcher itself.
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null \
    || fail "the accessibility bus launcher did not start"
bus_launcher=$(dbus-send --session --print-reply=literal --dest=org.freedesktop.DBus / \
    org.freedesktop.DBus.GetConnectionUnixProcessID string:org.a11y.Bus | awk '{ print $2 }')
grep -qzxF "HOSHI_E2E_RUN=$HOSHI_E2E_RUN" "/proc/$bus_launcher/environ" || fail "org.a11y.Bus is not served by this run: $bus_launcher"
launched_bus=$(pgrep -n -P "$bus_launcher" dbus-daemon) || fail "the launcher started no bus"
kill -STOP "$launched_bus"
the_program_answers "the launcher's accessibility bus never answers"
kill -CONT "$launched_bus"
reported "accessibility bus" 2
kill -STOP "$bus_launcher"
VOICES_HEARD=1 the_program_answers "an accessibility bus launcher that never answers"
kill -CONT "$bus_launcher"
