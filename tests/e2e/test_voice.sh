# SPDX-License-Identifier: GPL-3.0-or-later
# The reading voice: what the program asks speech-dispatcher to say in every
# mode, in order, with the clipboard beside it where the two differ: launcher
# entries, key names and readings, finger steps, drill targets (a miss, a hit
# typed in lower case), typing lines and hints, the menus (entries, what a
# setting became, a menu left), and the English window's own voice.
source "$(dirname "$0")/lib.sh"

# back_to_launcher TITLE: the window closed; the launcher has the keyboard
# again and says the entry in focus (the second: the test moves there
# first), after whatever the closed window still said.
back_to_launcher() {
    window_gone "$1"
    focus_window "$launcher"
    wait_for_spoken --last "に、どのゆびつかうの"
    speech_mark
}

# open_mode KEY TITLE HINT: KEY in the launcher opens the window TITLE,
# which gets the keyboard and says HINT.
open_mode() {
    press "$1"
    focus_window "$(window_named "$2")"
    wait_for_spoken "$3"
}

# press_both KEYS SHOWN SAID...: KEYS put SHOWN on the clipboard and are said as SAID.
press_both() {
    clear_clipboard
    # shellcheck disable=SC2086 # KEYS is split into keys
    press $1
    wait_for_clipboard "$2"
    wait_for_spoken "${@:3}"
}

# choose_setting READINGS...: Alt+S opens the settings menu, heard as the
# first three; Down and Enter, as the last two.
choose_setting() {
    press alt+s
    wait_for_spoken "$1" "$2" "$3"
    press_hear Down "$4" Return "$5"
}

# drill_target READINGS: Space starts the drill; the target on the
# clipboard is one of the keys of the associative array READINGS, and its
# reading is said; in TARGET.
drill_target() {
    local -n readings=$1
    clear_clipboard
    press space
    wait_for_clipboard "${!readings[@]}"
    TARGET=$CLIPBOARD
    wait_for_spoken "${readings[$TARGET]}"
}

practice=$(mktemp)
declare -A line_reading=([今日は学校へ行きます。]=きょーわがっこーえいきます
                         [雨です。でも、行きます]=あめです、でも、いきます)
printf '%s\n' "${!line_reading[@]}" >"$practice"
declare -A letters symbols=(
    [,]=かんま [.]=ぴりおど [\;]=せみころん [/]=すらっしゅ [@]=あっとまーく [-]=まいなす [:]=ころん
    [1]=いち [2]=に [3]=さん [4]=よん [5]=ご [6]=ろく [7]=なな [8]=はち [9]=きゅう [0]=ぜろ)
for letter in {A..Z}; do
    letters[$letter]=$(letter_reading "$letter")
    symbols[$letter]=${letters[$letter]}
done

speech_mark
start_launcher
# Launcher: the first entry at the start, then each entry moved to, round the end.
wait_for_spoken "いち、おせばわかる"
# Focus coming to the window later says the first entry again.
sleep 0.3
speech_mark
press_both Down $'２\r\nどの指使うの' "に、どのゆびつかうの"
press_hear Down "さん、あるふぁべっとにちょーせん" Down "よん、きごーとすーじもとーじょー" \
           Down "ご、おーよーにほんごにゅーりょく" Down "ろく、おーよーえいごにゅーりょく"
press_both Down $'１\r\n押せばわかる' "いち、おせばわかる"
press_both Up $'６\r\n応用英語入力' "ろく、おーよーえいごにゅーりょく"
press_hear Down "いち、おせばわかる"
# A key while the last entry is still being said cuts it short (the second
# key waits for the first one's text, as below for the key guide).
press Down
wait_for_spoken --cancelled "に、どのゆびつかうの"
# Alt alone: the menu bar and its first entry; Escape twice leaves it and says
# where (the entry, unchanged, is not said again), and nothing of it is shown.
press Alt_L
wait_for_spoken "めにゅー" "ふぁいる"
press_hear Down "しゅーりょーえっくす おあ えすけーぷ" Escape "ふぁいる" \
           Escape "めにゅーを とじたよ、ほしのたまごいりぐち"
[ "$(clipboard)" = $'２\r\nどの指使うの' ] || fail "a menu text reached the clipboard: $(clipboard)"
# Every text so far in Japanese, as a message.
others=$(speech_events | awk -F'\t' '$1 == "speak" && ($3 != "message" || $4 != "ja")')
[ -z "$others" ] || fail "not a Japanese message: $others"

# Key guide: its prompt, then for each key its text and its reading.
open_mode 1 "押せばわかる" "きーをおしてね"
press_both a "Ａ" "えー"
press F1
wait_for_spoken "えふいち" "ふぁんくしょんいち"
# Both are heard in turn: the reading does not cut the key's text short.
wait_for_heard "えふいち" "ふぁんくしょんいち"
# The yen and ろ keys: each by its own name alone, not by the other's sign
# first. A digit: its text, then its name as its reading, which reads the
# same: once.
# On the jp layout the colon is the key right of ";" (evdev 40).
press_both colon "コロン" "ころん"
press_both Tab "タブ" "たぶ"
press_both yen "円マーク" "えんまーく"
press_hear backslash "ばっくすらっしゅ" 1 "いち"
# A key while the last one is still being said cuts it short. The second key
# waits for the first one's texts: two keys sent at once may reach the
# program in one turn of its event loop, and then the first is never said.
press_hear x "えっくす"
press y
wait_for_spoken --cancelled "わい"
# On the clipboard the reading, announced last, stays. 132 is the yen key by
# its keycode (evdev 124 + 8). After F10, Alt or the Windows key, which the
# guide presses again, the next letter is still named: no menu took the keyboard.
press_expect shift+1 "ｴｸｽｸﾗﾒｰｼｮﾝ" b "Ｂ" 132 "円マーク" Escape "エスケープ" \
             F10 "ﾌｧﾝｸｼｮﾝ10" c "Ｃ" alt "オルト" d "Ｄ" super "ｳｨﾝﾄﾞｰｽﾞｷｰ" e "Ｅ"
# Alt+F4 closes it (Alt, named and pressed again by the guide, is heard a
# varying number of times); back in the launcher the entry in focus is said.
press alt+F4
back_to_launcher "押せばわかる"

# Finger guide: the first step (announced twice on the clipboard as the
# window opens, heard once), the next after its key, the key alone after a wrong one.
open_mode 2 "どのゆびつかうの" "ひだりひとさしゆびえふ"
press_both f "ひだりひとさしゆびＲ" "ひだりひとさしゆびあーる"
press_both g "R" "あーる"
press_hear r "ひだりひとさしゆびぶい"
choose_setting めにゅー せってい ゆびのなまえなし ゆびのなまえあり "ゆびのなまえあり に したよ"
press Escape
back_to_launcher "どのゆびつかうの"

# Alphabet drill: how to start, the target, the target again after a miss,
# the next target after a hit.
open_mode 3 "アルファベットに挑戦" "すぺーすで すたーと"
choose_setting めにゅー せってい ゆびのなまえなし ゆびのなまえあり "ゆびのなまえあり に したよ"
drill_target letters
press_both "$(miss_key "$TARGET")" "$TARGET" "${letters[$TARGET]}"
clear_clipboard
press "${TARGET,,}"
next=$(wait_for_target)
wait_for_spoken "${letters[$next]}"
press Escape
back_to_launcher "アルファベットに挑戦"

# Letters, digits and symbols: the same for any of its 43 targets.
open_mode 4 "数字と記号も登場" "すぺーすで すたーと"
drill_target symbols
press_hear "$(miss_key "$TARGET")" "${symbols[$TARGET]}"
press Escape
back_to_launcher "数字と記号も登場"

# Japanese typing: how to begin, a line read out, Ctrl says it again, the
# next line after a right one, a wrong try told, Esc starts over.
open_mode 5 "応用日本語入力　３分" "こんとろーる おーで ふぁいるを ひらいてね"
open_practice_file "$(window_named "応用日本語入力　３分")" "$practice"
wait_for_spoken "うえ した きーで えらんで、えんたーで ひらいてね"
wait_for_spoken "よみこんだよ、えんたーで はじまるよ"
press Return
wait_for_clipboard "${!line_reading[@]}"
line=$CLIPBOARD
wait_for_spoken "${line_reading[$line]}"
press_hear Control_L "${line_reading[$line]}"
# Typed right, Enter draws the next line; a wrong try is told by voice alone.
clear_clipboard
# Slow enough for a slow build: each kana and kanji is typed through a key
# that xdotool maps for it, and a program still reading the last key must
# not see it under the next one's mapping.
xdotool type --delay 150 "$line"
sleep 0.5
press Return
wait_for_clipboard "${!line_reading[@]}"
line=$CLIPBOARD
wait_for_spoken "${line_reading[$line]}"
clear_clipboard
xdotool type --delay 30 "nope"
press_hear Return "ちがうよ、こんとろーるで もーいちど きけるよ"
[ "$(clipboard)" = sentinel ] || fail "a wrong try announced '$(clipboard)'"
press_hear Control_L "${line_reading[$line]}" Escape "はじめから、えんたーで はじまるよ"
choose_setting めにゅー せってい いっぷんかん さんぷんかん "さんぷんかん に したよ"
press alt+f x
back_to_launcher "応用日本語入力　３分"

# English typing speaks English through a voice of its own: the program's
# Japanese voice says nothing for it.
SPEECH_CLIENT=hoshinotamago-en speech_mark
press 6
english=$(window_named "ENGLISH Three Minute")
SPEECH_CLIENT=hoshinotamago-en wait_for_spoken "Press Control O to open a text file."
english_language=$(speech_events hoshinotamago-en | awk -F'\t' '$1 == "speak" { l = $4 } END { print l }')
[[ "$english_language" == en* ]] || fail "the English voice is not English: $english_language"
focus_window "$english"
# Its menus too, in English.
press alt+s
SPEECH_CLIENT=hoshinotamago-en wait_for_spoken Menu Setting "One Minute"
SPEECH_CLIENT=hoshinotamago-en press_hear Escape Setting Escape "Menu closed. ENGLISH Three Minute"
assert_silent_since_mark
press alt+f x
back_to_launcher "ENGLISH Three Minute"
press_hear Up "いち、おせばわかる"
# The key guide reopened names keys again; a double click on the key ends the program.
press 1
guide=$(window_named "押せばわかる")
focus_window "$guide"
press_expect z "Ｚ"
xdotool mousemove --window "$guide" 60 200 click --repeat 2 --delay 80 1
wait_for_exit 10
echo "voice e2e passed"
