# SPDX-License-Identifier: GPL-3.0-or-later
# Services that take a connection and never answer, or are stopped: the
# speech service (a fake one, and the real one stopped with SIGSTOP), the
# session bus, the sound server and the accessibility bus. In each the launcher answers at once,
# every mode opens and answers its keys, and Escape ends the program.
source "$(dirname "$0")/lib.sh"

silent=$TMPDIR/silent.sock
/usr/bin/python3 "$HOSHI_E2E_DIR/silent_socket.py" "$silent" >"$TMPDIR/silent.out" &
for _ in $(seq 50); do [ -S "$silent" ] && break; sleep 0.1; done
[ -S "$silent" ] || fail "the silent socket did not open"

titles=("押せばわかる" "どのゆびつかうの" "アルファベットに挑戦" "数字と記号も登場"
        "応用日本語入力　３分" "ENGLISH Three Minute")
closers=("alt+F4" "Escape" "Escape" "Escape" "alt+f x" "alt+f x")

# A sanitized build scans for leaks at its end, which takes a while of its own.
end_seconds=1
[ -n "${ASAN_OPTIONS:-}" ] && end_seconds=4

# within SECONDS COMMAND...: COMMAND holds within SECONDS, polled.
within() {
    local seconds=$1 tries=0
    shift
    until "$@"; do
        [ "$tries" -ge $((seconds * 20)) ] && return 1
        sleep 0.05
        tries=$((tries + 1))
    done
}
shown() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }
gone() { ! shown "$1"; }
clipboard_is() { [ "$(clipboard)" = "$1" ]; }
ended() { ! kill -0 "$PROGRAM_PID" 2>/dev/null; }

# the_program_answers CASE: the whole walk, with whatever the case broke.
the_program_answers() {
    local case=$1 mode window
    start_program
    within 10 clipboard_is $'１\r\n押せばわかる' || fail "$case: the launcher never announced"
    launcher=$(window_named "ほしのたまごいりぐち")
    xdotool windowfocus --sync "$launcher"
    press Down
    within 1 clipboard_is $'２\r\nどの指使うの' || fail "$case: Down went unanswered"
    press Up
    within 1 clipboard_is $'１\r\n押せばわかる' || fail "$case: Up went unanswered"
    for mode in 1 2 3 4 5 6; do
        xdotool windowfocus --sync "$launcher" key --clearmodifiers "$mode"
        within 2 shown "${titles[mode - 1]}" || fail "$case: mode $mode did not open within 2 s"
        window=$(xdotool search --onlyvisible --name "^${titles[mode - 1]}\$" | head -n 1)
        # A wrong key in the finger guide plays a cue; the window must go on.
        [ "$mode" -eq 2 ] && xdotool windowfocus --sync "$window" key --clearmodifiers q q
        # shellcheck disable=SC2086 # the closer is one or two key names
        xdotool windowfocus --sync "$window" key --clearmodifiers --delay 60 ${closers[mode - 1]}
        within 1 gone "${titles[mode - 1]}" || fail "$case: mode $mode did not close within 1 s"
    done
    xdotool windowfocus --sync "$launcher" key --clearmodifiers Down
    within 1 clipboard_is $'２\r\nどの指使うの' || fail "$case: the launcher no longer answers"
    xdotool key --clearmodifiers Escape
    within "$end_seconds" ended || fail "$case: Escape did not end the program within $end_seconds s"
    wait "$PROGRAM_PID" || true
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

AT_SPI_BUS_ADDRESS=unix:path=$silent the_program_answers "an accessibility bus that never answers"
grep -q "the accessibility bus does not answer" "$TMPDIR/hoshi-e2e-$$.log" \
    || fail "the silent accessibility bus was not reported"

# The accessibility bus the desktop's bus launcher hands out, stopped; then
# the launcher itself stopped.
dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null \
    || fail "the accessibility bus launcher did not start"
bus_launcher=$(pgrep -n -f at-spi-bus-launcher) || fail "no accessibility bus launcher runs"
launched_bus=$(pgrep -n -P "$bus_launcher" dbus-daemon) || fail "the launcher started no bus"
kill -STOP "$launched_bus"
the_program_answers "the launcher's accessibility bus never answers"
kill -CONT "$launched_bus"
[ "$(grep -c "the accessibility bus does not answer" "$TMPDIR/hoshi-e2e-$$.log")" -eq 2 ] \
    || fail "the launcher's silent accessibility bus was not reported"
kill -STOP "$bus_launcher"
the_program_answers "an accessibility bus launcher that never answers"
kill -CONT "$bus_launcher"
