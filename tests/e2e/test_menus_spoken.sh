# SPDX-License-Identifier: GPL-3.0-or-later
# Menus heard through the real speech-dispatcher in every window: the menu
# bar becoming active, each entry highlighted, what a setting became, and a
# menu left with Escape; Alt, Down, Enter in the launcher ends the program.
source "$(dirname "$0")/lib.sh"

start_launcher
wait_for_spoken "いち、おせばわかる"
speech_mark

# Alt alone: the bar and its first entry; Escape twice leaves it, and says
# where (the entry, which has not changed, is not announced again).
press Alt_L
wait_for_spoken_event "めにゅー" "ふぁいる"
press_hear Down "しゅーりょーえっくす おあ えすけーぷ" Escape "ふぁいる"
press Escape
wait_for_spoken_event "めにゅーを とじたよ、ほしのたまごいりぐち"
[ "$(clipboard)" = $'１\r\n押せばわかる' ] || fail "a menu text reached the clipboard: $(clipboard)"

# setting_chosen TITLE CLOSER READINGS...: in the mode window just opened,
# Alt+S, Down, Enter heard; the window closed with CLOSER.
setting_chosen() {
    local title=$1 closer=$2
    shift 2
    focus_window "$(window_named "$title")"
    sleep 0.3
    speech_mark
    press alt+s
    wait_for_spoken_event "$1" "$2" "$3"
    press_hear Down "$4" Return "$5"
    # shellcheck disable=SC2086 # the closer is one or two key names
    press $closer
    window_gone "$title"
    focus_window "$launcher"
}

press 2
setting_chosen "どのゆびつかうの" "alt+f x" \
    めにゅー せってい ゆびのなまえなし ゆびのなまえあり "ゆびのなまえあり に したよ"
press 3
setting_chosen "アルファベットに挑戦" Escape \
    めにゅー せってい ゆびのなまえなし ゆびのなまえあり "ゆびのなまえあり に したよ"
press 5
setting_chosen "応用日本語入力　３分" "alt+f x" めにゅー せってい いっぷんかん さんぷんかん "さんぷんかん に したよ"

# The English window says its menus in English, with its own voice.
SPEECH_CLIENT=hoshinotamago-en speech_mark
press 6
focus_window "$(window_named "ENGLISH Three Minute")"
SPEECH_CLIENT=hoshinotamago-en wait_for_spoken_event "Press Control O to open a text file."
press alt+s
SPEECH_CLIENT=hoshinotamago-en wait_for_spoken_event Menu Setting "One Minute"
SPEECH_CLIENT=hoshinotamago-en press_hear Escape Setting Escape "Menu closed. ENGLISH Three Minute"
press alt+f x
window_gone "ENGLISH Three Minute"

# Alt, Down, Enter in the launcher: the end entry, chosen.
focus_window "$launcher"
press Alt_L
press Down
press Return
wait_for_exit 5
