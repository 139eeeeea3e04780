# SPDX-License-Identifier: GPL-3.0-or-later
# The private session of every end-to-end test, checked with speech-dispatcher's
# own client spd-say: texts arrive decoded exactly as sent, per client, with
# their priority and language; a restarted server keeps one log; autospawn
# never starts a server; the accessibility bus comes from this run's own
# session bus.
source "$(dirname "$0")/lib.sh"

say() {
    spd-say --wait --application-name "$1" --priority message --language "$2" "$3" \
        || fail "spd-say could not speak '$3'"
}

# SSIP dot-stuffing, lines ended by CR LF or by LF alone, and a text that
# looks like the log's own length trailer all come back as sent.
say hoshinotamago ja $'１\r\n押せばわかる'
say other en "someone else"
say hoshinotamago ja $'.dot\r\n..two dots\r\n.'
say hoshinotamago ja $'line\nfeed | (3)\n'
speech_mark
say hoshinotamago ja "いち、おせばわかる"
wait_for_spoken "いち、おせばわかる"
decoded=$(printf '%s\n' '１\r\n押せばわかる' '.dot\r\n..two dots\r\n.' 'line\nfeed | (3)\n' \
                         'いち、おせばわかる')
[ "$(spoken_texts)" = "$decoded" ] || fail "decoded texts: $(spoken_texts | cat -A)"
[ "$(spoken_texts other)" = "someone else" ] || fail "the other client: $(spoken_texts other)"
speech_events | grep -qxF $'speak\thoshinotamago\tmessage\tja\tいち、おせばわかる' \
    || fail "priority or language not seen: $(speech_events)"

# What the server passed on to its output module.
wait_for_heard "いち、おせばわかる"

# A cancel is seen where it was sent, once.
cancels() { spoken_script | grep -cx '<cancel>' || true; }
[ "$(cancels)" -eq 0 ] || fail "cancels before any: $(cancels)"
spd-say --application-name hoshinotamago --cancel
one_cancel() { [ "$(cancels)" -eq 1 ]; }
within 5 one_cancel || fail "one cancel sent, $(cancels) seen: $(spoken_script)"

# A server killed and started again: one log, the reused descriptor is a new client.
speechd_stop KILL
spd-say --wait "nobody listens" 2>/dev/null && fail "spd-say spoke with no server"
grep -q -- "--spawn" "$HOSHI_SPEECHD_DIR/autospawn.log" || fail "autospawn was not caught"
speechd_answers && fail "autospawn started a server"
speechd_start
speech_mark
say hoshinotamago ja "にかいめ"
wait_for_spoken "にかいめ"

# The accessibility bus is started on demand by this run's session bus.
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null \
    || fail "no accessibility bus on the private session bus"
launcher=$(dbus-send --session --print-reply=literal --dest=org.freedesktop.DBus / \
               org.freedesktop.DBus.GetConnectionUnixProcessID string:org.a11y.Bus | awk '{ print $NF }')
grep -qzxF "HOSHI_E2E_RUN=$HOSHI_E2E_RUN" "/proc/$launcher/environ" \
    || fail "org.a11y.Bus is served by process $launcher, not one of this run"
[ "$(screen_reader_enabled)" = false ] || fail "a screen reader is said to run: $(screen_reader_enabled)"
set_screen_reader_enabled true
[ "$(screen_reader_enabled)" = true ] || fail "the screen reader flag does not stay set"
set_screen_reader_enabled false
echo "speech harness e2e passed"
