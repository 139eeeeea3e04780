# SPDX-License-Identifier: GPL-3.0-or-later
# The reading voice in every mode, in order, with the clipboard beside it where the two
# differ: entries, keys, finger steps, targets, lines, hints, menus, the English voice.
source "$(dirname "$0")/lib.sh"

# back_to_launcher KEYS TITLE: KEYS close the window; the launcher, focused, says its entry in focus.
back_to_launcher() { close_window "$1" "$2"; wait_for_spoken --last "に、どのゆびつかうの"; speech_mark; }
open_mode() { open_window "$1" "$2" >/dev/null; wait_for_spoken "$3"; }
# press_both KEYS SHOWN SAID...: KEYS put SHOWN on the clipboard and are said as SAID.
press_both() { clear_clipboard; press_expect "$1" "$2"; wait_for_spoken "${@:3}"; }
# choose_setting READINGS...: Alt+S heard as three; Down and Enter as the last two.
choose_setting() { press alt+s; wait_for_spoken "$1" "$2" "$3"; press_hear Down "$4" Return "$5"; }
# draw KEY READINGS: KEY shows a target (a line) among the keys of READINGS, in TARGET, and says its reading.
draw() {
    local -n readings=$2
    clear_clipboard
    press "$1"
    wait_for_clipboard "${!readings[@]}"
    TARGET=$CLIPBOARD
    wait_for_spoken "${readings[$TARGET]}"
}

practice=$(mktemp)
declare -A line_reading=([今日は学校へ行きます。]=きょーわがっこーえいきます [雨です。でも、行きます]=あめです、でも、いきます)
printf '%s\n' "${!line_reading[@]}" >"$practice"
declare -A symbols=(
    [,]=かんま [.]=ぴりおど [\;]=せみころん [/]=すらっしゅ [@]=あっとまーく [-]=まいなす [:]=ころん
    [1]=いち [2]=に [3]=さん [4]=よん [5]=ご [6]=ろく [7]=なな [8]=はち [9]=きゅう [0]=ぜろ)
for letter in {A..Z}; do symbols[$letter]=${LETTER_READING[$letter]}; done

speech_mark
start_launcher
# The first entry at the start (again as the focus comes), then each entry moved to, round the end.
wait_for_spoken "いち、おせばわかる"
sleep 0.3
speech_mark
press_both Down $'２\r\nどの指使うの' "に、どのゆびつかうの"
press_hear Down "さん、あるふぁべっとにちょーせん" Down "よん、きごーとすーじもとーじょー" \
           Down "ご、おーよーにほんごにゅーりょく" Down "ろく、おーよーえいごにゅーりょく" Down "いち、おせばわかる"
# A key while the last entry is still being said cuts it short.
press Down
wait_for_spoken --cancelled "に、どのゆびつかうの"
# Alt alone: the menu bar; Escape twice says where the focus went; nothing of it is shown.
press Alt_L
wait_for_spoken "めにゅー" "ふぁいる"
press_hear Down "しゅーりょーえっくす おあ えすけーぷ" Escape "ふぁいる" \
           Escape "めにゅーを とじたよ、ほしのたまごいりぐち"
[ "$(clipboard)" = $'２\r\nどの指使うの' ] || fail "a menu text reached the clipboard: $(clipboard)"
others=$(speech_events | awk -F'\t' '$1 == "speak" && ($3 != "message" || $4 != "ja")')
[ -z "$others" ] || fail "not a Japanese message: $others"

# Key guide: each key's text and reading, heard in turn; a digit's, once.
open_mode 1 "押せばわかる" "きーをおしてね"
press_both a "Ａ" "えー"
press F1
wait_for_spoken "えふいち" "ふぁんくしょんいち"
wait_for_heard "えふいち" "ふぁんくしょんいち"
press_both colon "コロン" "ころん"
press_both Tab "タブ" "たぶ"
press_both yen "円マーク" "えんまーく"
press_hear backslash "ばっくすらっしゅ" 1 "いち" x "えっくす"
press y
wait_for_spoken --cancelled "わい"
# 132 is the yen key by its keycode. After F10, Alt or the Windows key the
# next letter is still named: no menu took the keyboard.
press_expect shift+1 "ｴｸｽｸﾗﾒｰｼｮﾝ" b "Ｂ" 132 "円マーク" Escape "エスケープ" \
             F10 "ﾌｧﾝｸｼｮﾝ10" c "Ｃ" alt "オルト" d "Ｄ" super "ｳｨﾝﾄﾞｰｽﾞｷｰ" e "Ｅ"
back_to_launcher alt+F4 "押せばわかる"

# Finger guide: the first step, the next after its key, the key alone after a wrong one.
open_mode 2 "どのゆびつかうの" "ひだりひとさしゆびえふ"
press_both f "ひだりひとさしゆびＲ" "ひだりひとさしゆびあーる"
press_both g "R" "あーる"
press_hear r "ひだりひとさしゆびぶい"
back_to_launcher Escape "どのゆびつかうの"

# Alphabet drill: the target, again after a miss, the next after a hit in lower case.
open_mode 3 "アルファベットに挑戦" "すぺーすで すたーと"
choose_setting めにゅー せってい ゆびのなまえなし ゆびのなまえあり "ゆびのなまえあり に したよ"
draw space LETTER_READING
press_both "$(miss_key "$TARGET")" "$TARGET" "${LETTER_READING[$TARGET]}"
draw "${TARGET,,}" LETTER_READING
back_to_launcher Escape "アルファベットに挑戦"

open_mode 4 "数字と記号も登場" "すぺーすで すたーと"
draw space symbols
press_hear "$(miss_key "$TARGET")" "${symbols[$TARGET]}"
back_to_launcher Escape "数字と記号も登場"

# Japanese typing: a line read out, Ctrl says it again, the next line after a
# right one, a wrong try told by voice alone, Esc starts over.
open_mode 5 "応用日本語入力　３分" "こんとろーる おーで ふぁいるを ひらいてね"
open_practice_file "$(window_named "応用日本語入力　３分")" "$practice"
wait_for_spoken "うえ した きーで えらんで、えんたーで ひらいてね"
wait_for_spoken "よみこんだよ、えんたーで はじまるよ"
draw Return line_reading
press_hear Control_L "${line_reading[$TARGET]}"
clear_clipboard
# Slow enough that a program still reading one kana never sees it under the next one's key mapping.
xdotool type --delay 150 "$TARGET"
sleep 0.5
draw Return line_reading
clear_clipboard
xdotool type --delay 30 "nope"
press_hear Return "ちがうよ、こんとろーるで もーいちど きけるよ"
[ "$(clipboard)" = sentinel ] || fail "a wrong try announced '$(clipboard)'"
press_hear Control_L "${line_reading[$TARGET]}" Escape "はじめから、えんたーで はじまるよ"
choose_setting めにゅー せってい いっぷんかん さんぷんかん "さんぷんかん に したよ"
back_to_launcher "alt+f x" "応用日本語入力　３分"

# English typing speaks English, menus too, through a voice of its own; the Japanese one is silent.
export SPEECH_CLIENT=hoshinotamago-en
speech_mark
press 6
english=$(window_named "ENGLISH Three Minute")
wait_for_spoken "Press Control O to open a text file."
[[ $(speech_events | awk -F'\t' '$1 == "speak" { l = $4 } END { print l }') == en* ]] \
    || fail "the English voice is not English: $(speech_events | tail -n 1)"
focus_window "$english"
press alt+s
wait_for_spoken Menu Setting "One Minute"
press_hear Escape Setting Escape "Menu closed. ENGLISH Three Minute"
assert_silent_since_mark hoshinotamago
unset SPEECH_CLIENT
back_to_launcher "alt+f x" "ENGLISH Three Minute"
press_hear Up "いち、おせばわかる"
# A double click on the key guide's key ends the program.
guide=$(open_window 1 "押せばわかる")
press_expect z "Ｚ"
xdotool mousemove --window "$guide" 60 200 click --repeat 2 --delay 80 1
wait_for_exit 10
