# SPDX-License-Identifier: GPL-3.0-or-later
# The reading voice: what the program asks speech-dispatcher to say in every
# mode, read from the private server's protocol log, in order: launcher
# entries, key names and readings, finger steps, drill targets, typing lines
# and hints, and the English window's own English voice.
source "$(dirname "$0")/lib.sh"

# back_to_launcher: the launcher has the keyboard again and says the entry
# in focus (the second: the test moves there first), after whatever the
# closed window still said.
back_to_launcher() {
    focus_window "$launcher"
    wait_for_spoken "に、どのゆびつかうの"
    speech_mark
}

workdir=$(mktemp -d)
practice="$workdir/practice.txt"
printf '%s\n%s\n' "今日は学校へ行きます。" "雨です。でも、行きます" >"$practice"
declare -A line_reading=([今日は学校へ行きます。]=きょーわがっこーえいきます
                         [雨です。でも、行きます]=あめです、でも、いきます)

speech_mark
start_program
trap 'kill $PROGRAM_PID 2>/dev/null || true; rm -rf "$workdir"' EXIT
wait_for_clipboard $'１\r\n押せばわかる'
launcher=$(window_named "ほしのたまごいりぐち")

# Launcher: the first entry at the start, then each entry moved to.
wait_for_spoken_event "いち、おせばわかる"
focus_window "$launcher"
# Focus coming to the window later says the first entry again.
sleep 0.3
speech_mark
press Down
wait_for_spoken_event "に、どのゆびつかうの"
press Down
wait_for_spoken_event "さん、あるふぁべっとにちょーせん"
press Down
wait_for_spoken_event "よん、きごーとすーじもとーじょー"
press Down
wait_for_spoken_event "ご、おーよーにほんごにゅーりょく"
press Down
wait_for_spoken_event "ろく、おーよーえいごにゅーりょく"
# A key while the last entry is still being said cuts it short (the second
# key waits for the first one's text, as below for the key guide).
press Down
wait_for_spoken_event "いち、おせばわかる"
press Down
wait_for_cancelled_event "に、どのゆびつかうの"
# Every text so far in Japanese, as a message.
others=$(speech_events | awk -F'\t' '$1 == "speak" && ($3 != "message" || $4 != "ja")')
[ -z "$others" ] || fail "not a Japanese message: $others"

# Key guide: its prompt, then for each key its text and its reading.
press 1
guide=$(window_named "押せばわかる")
focus_window "$guide"
wait_for_spoken_event "きーをおしてね"
press a
wait_for_spoken_event "えー"
press F1
wait_for_spoken_event "えふいち" "ふぁんくしょんいち"
# Both are heard in turn: the reading does not cut the key's text short.
wait_for_heard "えふいち" "ふぁんくしょんいち"
press colon
wait_for_spoken_event "ころん"
press Tab
wait_for_spoken_event "たぶ"
# The yen and ろ keys: each by its own name alone, not by the other's sign first.
press yen
wait_for_spoken_event "えんまーく"
press backslash
wait_for_spoken_event "ばっくすらっしゅ"
# A digit: its text, then its name as its reading, which reads the same: once.
press 1
wait_for_spoken_event "いち"
# A key while the last one is still being said cuts it short. The second key
# waits for the first one's texts: two keys sent at once may reach the
# program in one turn of its event loop, and then the first is never said.
press x
wait_for_spoken_event "えっくす"
press y
wait_for_cancelled_event "わい"
# Alt+F4 closes it (Alt, named and pressed again by the guide, is heard a
# varying number of times); back in the launcher the entry in focus is said.
press alt+F4
window_gone "押せばわかる"
back_to_launcher

# Finger guide: the first step (announced twice on the clipboard as the
# window opens, heard once), the next after its key, the key alone after a wrong one.
press 2
wait_for_spoken_event "ひだりひとさしゆびえふ"
guide=$(window_named "どのゆびつかうの")
focus_window "$guide"
press f
wait_for_spoken_event "ひだりひとさしゆびあーる"
press g
wait_for_spoken_event "あーる"
press r
wait_for_spoken_event "ひだりひとさしゆびぶい"
press Escape
window_gone "どのゆびつかうの"
back_to_launcher

# Alphabet drill: how to start, the target, the target again after a miss,
# the next target after a hit.
press 3
drill=$(window_named "アルファベットに挑戦")
focus_window "$drill"
wait_for_spoken_event "すぺーすで すたーと"
press space
target=$(wait_for_target)
wait_for_spoken_event "$(letter_reading "$target")"
wrong=q
[ "$target" = "Q" ] && wrong=w
press "$wrong"
wait_for_spoken_event "$(letter_reading "$target")"
printf 'sentinel' | xclip -selection clipboard
press "$(tr 'A-Z' 'a-z' <<<"$target")"
next=$(wait_for_target)
wait_for_spoken_event "$(letter_reading "$next")"
press Escape
window_gone "アルファベットに挑戦"
back_to_launcher

# Letters, digits and symbols: the same for any of its 43 targets.
declare -A symbol_reading=(
    [,]=かんま [.]=ぴりおど [\;]=せみころん [/]=すらっしゅ [@]=あっとまーく [-]=まいなす [:]=ころん
    [1]=いち [2]=に [3]=さん [4]=よん [5]=ご [6]=ろく [7]=なな [8]=はち [9]=きゅう [0]=ぜろ)
press 4
drill=$(window_named "数字と記号も登場")
focus_window "$drill"
wait_for_spoken_event "すぺーすで すたーと"
printf 'sentinel' | xclip -selection clipboard
wait_for_clipboard sentinel
press space
target=""
for _ in $(seq 50); do
    target=$(clipboard)
    [ "$target" != sentinel ] && [ "${#target}" -eq 1 ] && break
    sleep 0.1
done
[ "${#target}" -eq 1 ] || fail "no target on the clipboard: '$target'"
if [[ "$target" =~ ^[A-Z]$ ]]; then reading=$(letter_reading "$target"); else reading=${symbol_reading[$target]:-}; fi
[ -n "$reading" ] || fail "no reading known for the target '$target'"
wait_for_spoken_event "$reading"
wrong=q
[ "$target" = "Q" ] && wrong=w
press "$wrong"
wait_for_spoken_event "$reading"
press Escape
window_gone "数字と記号も登場"
back_to_launcher

# Japanese typing: how to begin, a line read out, Ctrl says it again, a
# wrong try is told, Esc starts over.
press 5
typing=$(window_named "応用日本語入力　３分")
focus_window "$typing"
wait_for_spoken_event "こんとろーる おーで ふぁいるを ひらいてね"
open_practice_file "$typing" "$practice"
wait_for_spoken_event "うえ した きーで えらんで、えんたーで ひらいてね"
wait_for_spoken_event "よみこんだよ、えんたーで はじまるよ"
printf 'sentinel' | xclip -selection clipboard
wait_for_clipboard sentinel
press Return
line=""
for _ in $(seq 50); do
    line=$(clipboard)
    [ -n "${line_reading[$line]:-}" ] && break
    sleep 0.1
done
[ -n "${line_reading[$line]:-}" ] || fail "no practice line on the clipboard: '$line'"
wait_for_spoken_event "${line_reading[$line]}"
press Control_L
wait_for_spoken_event "${line_reading[$line]}"
xdotool type --delay 30 "nope"
press Return
wait_for_spoken_event "ちがうよ、こんとろーるで もーいちど きけるよ"
press Control_L
wait_for_spoken_event "${line_reading[$line]}"
press Escape
wait_for_spoken_event "はじめから、えんたーで はじまるよ"
press alt+f x
window_gone "応用日本語入力　３分"
back_to_launcher

# English typing speaks English through a voice of its own: the program's
# Japanese voice says nothing for it.
english_before=$(spoken_texts hoshinotamago-en | wc -l)
press 6
english=$(window_named "ENGLISH Three Minute")
for _ in $(seq 100); do
    [ "$(spoken_texts hoshinotamago-en | wc -l)" -gt "$english_before" ] && break
    sleep 0.1
done
said=$(speech_events hoshinotamago-en | awk -F'\t' '$1 == "speak"' | tail -n +"$((english_before + 1))")
[ "$(cut -f5 <<<"$said")" = "Press Control O to open a text file." ] \
    || fail "the English voice said: $(printf '%q' "$said")"
[[ "$(cut -f4 <<<"$said")" == en* ]] || fail "the English voice is not English: $said"
assert_silent_since_mark
focus_window "$english"
press alt+f x
window_gone "ENGLISH Three Minute"
back_to_launcher
press Up
wait_for_spoken_event "いち、おせばわかる"

press Escape
wait_for_exit 10
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS"
echo "voice e2e passed"
