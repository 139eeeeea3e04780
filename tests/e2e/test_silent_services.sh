# SPDX-License-Identifier: GPL-3.0-or-later
# Services that take a connection and never answer, or are stopped: the
# speech service (a fake one, and the real one stopped with SIGSTOP), the
# session bus, the sound server and the accessibility bus. In each the
# launcher answers at once, every mode opens and answers its keys, and
# Escape ends the program.
source "$(dirname "$0")/lib.sh"

# The waits below are what "at once" means: look often.
POLL_STEP=0.05
silent=$TMPDIR/silent.sock
/usr/bin/python3 "$HOSHI_E2E_DIR/silent_socket.py" "$silent" >"$TMPDIR/silent.out" &
within 5 test -S "$silent" || fail "the silent socket did not open"


# A sanitized build scans for leaks at its end, which takes a while of its own.
end_seconds=1
[ -n "${ASAN_OPTIONS:-}" ] && end_seconds=4

# the_program_answers CASE: the whole walk, with whatever the case broke.
the_program_answers() {
    local mode
    echo "case: $1"
    start_launcher
    press Down
    CLIPBOARD_SECONDS=1 wait_for_clipboard $'２\r\nどの指使うの'
    press Up
    CLIPBOARD_SECONDS=1 wait_for_clipboard $'１\r\n押せばわかる'
    for mode in 1 2 3 4 5 6; do
        xdotool windowfocus --sync "$launcher" key --clearmodifiers "$mode"
        within 2 window_shown "${mode_titles[mode - 1]}" || fail "$1: mode $mode did not open within 2 s"
        # A wrong key in the finger guide plays a cue; the window must go on.
        [ "$mode" -eq 2 ] && xdotool windowfocus --sync "$WINDOW" key --clearmodifiers q q
        # shellcheck disable=SC2086 # the closer is one or two key names
        xdotool windowfocus --sync "$WINDOW" key --clearmodifiers --delay 60 ${mode_closers[mode - 1]}
        within 1 ! window_shown "${mode_titles[mode - 1]}" || fail "$1: mode $mode did not close within 1 s"
    done
    xdotool windowfocus --sync "$launcher" key --clearmodifiers Down
    CLIPBOARD_SECONDS=1 wait_for_clipboard $'２\r\nどの指使うの'
    # VOICES_HEARD: the speech service works; both voices speak once the
    # silent bus is given up (after 1.5 s), not held back for ever.
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
        focus_window "$launcher"
    fi
    xdotool key --clearmodifiers Escape
    wait_for_exit "$end_seconds"
}

SPEECHD_ADDRESS=unix_socket:$silent the_program_answers "a speech service that never answers"

server=$(cat "$HOSHI_SPEECHD_DIR/server.pid")
kill -STOP "$server"
the_program_answers "speech-dispatcher stopped"
kill -CONT "$server"

DBUS_SESSION_BUS_ADDRESS=unix:path=$silent the_program_answers "a session bus that never answers"
grep -q "the session bus does not answer" "$TMPDIR/hoshi-e2e-$$.log" \
    || fail "the silent session bus was not reported"

PULSE_SERVER=unix:$silent the_program_answers "a sound server that never answers"

AT_SPI_BUS_ADDRESS=unix:path=$silent VOICES_HEARD=1 the_program_answers "an accessibility bus that never answers"
grep -q "the accessibility bus does not answer" "$TMPDIR/hoshi-e2e-$$.log" \
    || fail "the silent accessibility bus was not reported"

# The accessibility bus the desktop's bus launcher hands out, stopped; then
# the launcher itself stopped.
dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null \
    || fail "the accessibility bus launcher did not start"
# The launcher of this test's own session bus (other tests run theirs).
bus_launcher=$(dbus-send --session --print-reply=literal --dest=org.freedesktop.DBus / \
    org.freedesktop.DBus.GetConnectionUnixProcessID string:org.a11y.Bus | awk '{ print $2 }')
[ -n "$bus_launcher" ] || fail "no accessibility bus launcher runs"
launched_bus=$(pgrep -n -P "$bus_launcher" dbus-daemon) || fail "the launcher started no bus"
kill -STOP "$launched_bus"
the_program_answers "the launcher's accessibility bus never answers"
kill -CONT "$launched_bus"
[ "$(grep -c "the accessibility bus does not answer" "$TMPDIR/hoshi-e2e-$$.log")" -eq 2 ] \
    || fail "the launcher's silent accessibility bus was not reported"
kill -STOP "$bus_launcher"
VOICES_HEARD=1 the_program_answers "an accessibility bus launcher that never answers"
kill -CONT "$bus_launcher"
