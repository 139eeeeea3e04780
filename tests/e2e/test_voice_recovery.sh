# SPDX-License-Identifier: GPL-3.0-or-later
# The reading voice when speech is not to be had or not wanted: no
# speech-dispatcher at all, one that goes away and comes back, --no-voice,
# and a screen reader said to run (the desktop's flag on the accessibility
# bus) with and without --voice. The clipboard and the keys work throughout.
source "$(dirname "$0")/lib.sh"

declare -A entry_reading=(
    [１]=いち、おせばわかる [２]=に、どのゆびつかうの [３]=さん、あるふぁべっとにちょーせん
    [４]=よん、きごーとすーじもとーじょー [５]=ご、おーよーにほんごにゅーりょく
    [６]=ろく、おーよーえいごにゅーりょく)

# next_entry: Down in the launcher; ENTRY is the full-width digit of the
# entry it moved to, once the clipboard tells.
next_entry() {
    local before
    before=$(clipboard)
    press Down
    within 5 ! clipboard_in "$before" || fail "Down did not move in the launcher: $(printf %q "$before")"
    ENTRY=$(head -n 1 <<<"$CLIPBOARD" | tr -d '\r')
    [ -n "${entry_reading[$ENTRY]:-}" ] || fail "no launcher entry on the clipboard: '$ENTRY'"
}

# screen_reader_flag true|false: as a desktop sets it when a screen reader
# starts or stops. The program hears of it over D-Bus a moment later, and
# nothing it shows tells when: give it that moment.
screen_reader_flag() {
    set_screen_reader_enabled "$1"
    sleep 1
}

# keys_still_answer: the launcher and the key guide announce on the clipboard.
keys_still_answer() {
    press_expect Down $'２\r\nどの指使うの' Up $'１\r\n押せばわかる'
    press 1
    focus_window "$(window_named "押せばわかる")"
    press_expect a "Ａ"
    press alt+F4
    window_gone "押せばわかる"
    focus_window "$launcher"
}

# No server at the address: the program works as before and ends without hanging.
SPEECHD_ADDRESS=unix_socket:$TMPDIR/nobody-listens.sock start_launcher
keys_still_answer
quit_launcher

# --no-voice: nothing reaches speech-dispatcher, not even a connection.
connections=$(speech_connections)
speech_mark
start_launcher --no-voice
keys_still_answer
quit_launcher
[ "$(speech_connections)" -eq "$connections" ] || fail "--no-voice connected to speech-dispatcher"
assert_silent_since_mark

# The server goes away while the program runs: keys still answer at once;
# once it is back the program speaks again through it within a few seconds,
# what is new, not what it could not say meanwhile.
start_launcher
wait_for_spoken --last "いち、おせばわかる"
speechd_stop KILL
keys_still_answer
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
while read -r text; do
    printf '%s\n' "${visited[@]}" | grep -qxF -- "$text" \
        || fail "said after the server came back, from before: $text"
done < <(spoken_since_mark | grep -vx '<cancel>')
quit_launcher

# A screen reader runs: the built-in voices keep quiet, the English one too;
# when it stops, the voice speaks again; with --voice it speaks regardless.
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
press alt+f x
window_gone "ENGLISH Three Minute"
focus_window "$launcher"
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
# Alt, Down, Enter in the launcher: the menu's end entry ends the program.
press Alt_L
press Down
press Return
wait_for_exit 5
screen_reader_flag false
echo "voice recovery e2e passed"
