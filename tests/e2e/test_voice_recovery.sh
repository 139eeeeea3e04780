# SPDX-License-Identifier: GPL-3.0-or-later
# The voice when speech is not to be had or not wanted: a speech-dispatcher that goes away and comes back,
# --no-voice, a screen reader said to run (the desktop's flag) with and without --voice. Keys work throughout.
source "$(dirname "$0")/lib.sh"

declare -A entry_reading=(
    [１]=いち、おせばわかる [２]=に、どのゆびつかうの [３]=さん、あるふぁべっとにちょーせん
    [４]=よん、きごーとすーじもとーじょー [５]=ご、おーよーにほんごにゅーりょく [６]=ろく、おーよーえいごにゅーりょく)
# next_entry: Down in the launcher; ENTRY: the digit of the entry reached, once the clipboard tells.
next_entry() {
    local before
    before=$(clipboard)
    press Down
    within 5 ! clipboard_in "$before" || fail "Down did not move in the launcher: $(printf %q "$before")"
    ENTRY=$(head -n 1 <<<"$CLIPBOARD" | tr -d '\r')
    [ -n "${entry_reading[$ENTRY]:-}" ] || fail "no launcher entry on the clipboard: '$ENTRY'"
}
# screen_reader_flag true|false: the program hears of it over D-Bus a moment later, shown nowhere: wait that moment.
screen_reader_flag() { set_screen_reader_enabled "$1"; sleep 1; }
keys_still_answer() {
    press_expect Down $'２\r\nどの指使うの' Up $'１\r\n押せばわかる'
    open_window 1 "押せばわかる" >/dev/null
    press_expect a "Ａ"
    close_window alt+F4 "押せばわかる"
}

# --no-voice: nothing reaches speech-dispatcher, not even a connection.
connections=$(speech_connections)
speech_mark
start_launcher --no-voice
keys_still_answer
quit_launcher
[ "$(speech_connections)" -eq "$connections" ] || fail "--no-voice connected to speech-dispatcher"
assert_silent_since_mark

# The server killed while the program runs: keys answer at once; once it is back the
# program speaks through it again within seconds, what is new, not what it missed.
start_launcher
wait_for_spoken --last "いち、おせばわかる"
speechd_stop KILL
keys_still_answer
# The program's tries to reach the server never start one of their own.
grep -q -- "--spawn" "$HOSHI_SPEECHD_DIR/autospawn.log" && ! speechd_answers || fail "autospawn was not refused"
speechd_start
speech_mark
visited=()
for _ in $(seq 15); do
    next_entry
    visited+=("${entry_reading[$ENTRY]}")
    sleep 1
    spoken_last "${entry_reading[$ENTRY]}" && break
done
spoken_last "${entry_reading[$ENTRY]}" || fail "no speech after speech-dispatcher came back: $(spoken_script | tail -n 5)"
next_entry
wait_for_spoken --last "${entry_reading[$ENTRY]}"
visited+=("${entry_reading[$ENTRY]}")
stale=$(spoken_since_mark | grep -vx '<cancel>' | grep -vxF -f <(printf '%s\n' "${visited[@]}") || true)
[ -z "$stale" ] || fail "said after the server came back, from before: $stale"
quit_launcher

# A screen reader runs: both voices keep quiet; when it stops, the voice
# speaks again; with --voice it speaks regardless.
screen_reader_flag true
speech_mark
SPEECH_CLIENT=hoshinotamago-en speech_mark
start_launcher
keys_still_answer
press 6
english=$(window_named "ENGLISH Three Minute")
sleep 2
SPEECH_CLIENT=hoshinotamago-en assert_silent_since_mark
focus_window "$english"
close_window "alt+f x" "ENGLISH Three Minute"
assert_silent_since_mark
screen_reader_flag false
press_expect Down $'２\r\nどの指使うの'
wait_for_spoken "に、どのゆびつかうの"
screen_reader_flag true
press_expect Up $'１\r\n押せばわかる'
assert_silent_since_mark
quit_launcher
start_launcher --voice
wait_for_spoken --last "いち、おせばわかる"
press Down
wait_for_spoken --last "に、どのゆびつかうの"
# Alt, Down, Enter: the menu's end entry ends the program.
for key in Alt_L Down Return; do press "$key"; done
wait_for_exit 5
