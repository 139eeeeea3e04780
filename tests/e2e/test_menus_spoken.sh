# SPDX-License-Identifier: GPL-3.0-or-later
# Menus heard through the real speech-dispatcher in every window: the menu
# bar becoming active, each entry highlighted, what a setting became, and a
# menu left with Escape; Alt, Down, Enter in the launcher ends the program.
source "$(dirname "$0")/lib.sh"

start_program
trap 'kill $PROGRAM_PID 2>/dev/null || true' EXIT
wait_for_clipboard $'１\r\n押せばわかる'
launcher=$(window_named "ほしのたまごいりぐち")
focus_window "$launcher"
wait_for_spoken "いち、おせばわかる"
speech_mark

# Alt alone: the bar and its first entry; Escape twice leaves it, and says where.
press Alt_L
wait_for_spoken_event "めにゅー" "ふぁいる"
press Down
wait_for_spoken_event "しゅーりょーえっくす おあ えすけーぷ"
press Escape
wait_for_spoken_event "ふぁいる"
press Escape
wait_for_spoken_event "いち、おせばわかる" "めにゅーを とじたよ、ほしのたまごいりぐち"
[ "$(clipboard)" = $'１\r\n押せばわかる' ] || fail "a menu text reached the clipboard: $(clipboard)"

# setting_chosen WINDOW READINGS...: Alt+S, Down, Enter in a mode window.
setting_chosen() {
    local window=$1
    shift
    focus_window "$window"
    sleep 0.3
    speech_mark
    press alt+s
    wait_for_spoken_event "$1" "$2" "$3"
    press Down
    wait_for_spoken_event "$4"
    press Return
    wait_for_spoken_event "$5"
}

press 2
setting_chosen "$(window_named "どのゆびつかうの")" \
    めにゅー せってい ゆびのなまえなし ゆびのなまえあり "ゆびのなまえあり に したよ"
press alt+f x
window_gone "どのゆびつかうの"

focus_window "$launcher"
press 3
setting_chosen "$(window_named "アルファベットに挑戦")" \
    めにゅー せってい ゆびのなまえなし ゆびのなまえあり "ゆびのなまえあり に したよ"
press Escape
window_gone "アルファベットに挑戦"

focus_window "$launcher"
press 5
japanese=$(window_named "応用日本語入力　３分")
setting_chosen "$japanese" めにゅー せってい いっぷんかん さんぷんかん "さんぷんかん に したよ"
press alt+f x
window_gone "応用日本語入力　３分"

# The English window says its menus in English, with its own voice.
focus_window "$launcher"
press 6
english=$(window_named "ENGLISH Three Minute")
focus_window "$english"
for _ in $(seq 100); do
    spoken_texts hoshinotamago-en | grep -qx "Press Control O to open a text file." && break
    sleep 0.1
done
english_mark=$(spoken_texts hoshinotamago-en | wc -l)
press alt+s
for _ in $(seq 100); do
    [ "$(spoken_texts hoshinotamago-en | tail -n +"$((english_mark + 1))" | grep -c .)" -ge 3 ] && break
    sleep 0.1
done
[ "$(spoken_texts hoshinotamago-en | tail -n +"$((english_mark + 1))" | head -n 3 | paste -sd '|')" = "Menu|Setting|One Minute" ] \
    || fail "the English menus said: $(spoken_texts hoshinotamago-en | tail -n 5 | paste -sd '|')"
press Escape Escape
press alt+f x
window_gone "ENGLISH Three Minute"

# Alt, Down, Enter in the launcher: the end entry, chosen.
focus_window "$launcher"
press Alt_L
press Down
press Return
wait_for_exit 5
[ "$EXIT_STATUS" -eq 0 ] || fail "the program ended with status $EXIT_STATUS"
