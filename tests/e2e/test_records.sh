# SPDX-License-Identifier: GPL-3.0-or-later
# Records: two alphabet drills played to time-up, each followed by its
# standing on the voice alone (speech-dispatcher's log), the records window
# read through AT-SPI, its CSV and its erase-all through the menu keys, the
# runs written out by --export-records; then with --no-records, a drill to
# time-up that leaves no file behind.
source "$(dirname "$0")/lib.sh"
here=$(cd "$(dirname "$0")" && pwd)

# wait_for_said PATTERN [SECONDS]: a text matching PATTERN was asked to be said.
wait_for_said() {
    for _ in $(seq 1 $((${2:-10} * 5))); do
        spoken_texts | grep -q -- "$1" && return 0
        sleep 0.2
    done
    fail "nothing said like '$1':"$'\n'"$(spoken_texts | tail -n 8)"
}

# drill_to_time_up: Space starts the alphabet drill; nothing typed, score 0.
drill_to_time_up() {
    focus_window "$drill"
    press space
    wait_for_clipboard "得点 0" 45
}

speech_mark
start_program
trap 'kill $PROGRAM_PID 2>/dev/null || true' EXIT
wait_for_clipboard $'１\r\n押せばわかる'
launcher=$(window_named "ほしのたまごいりぐち")
focus_window "$launcher"
press 3
drill=$(window_named "アルファベットに挑戦")

drill_to_time_up
wait_for_said "はじめて"
[ "$(clipboard)" = "得点 0" ] || fail "the standing reached the clipboard: '$(clipboard)'"
drill_to_time_up
wait_for_said "おなじ"
[ "$(clipboard)" = "得点 0" ] || fail "the standing reached the clipboard: '$(clipboard)'"
press Escape
window_gone "アルファベットに挑戦"

# K in the launcher opens the records window; its first row is announced.
focus_window "$launcher"
press k
wait_for_clipboard "ｱﾙﾌｧﾍﾞｯﾄに挑戦 さいこう ０てん ぜんぶで ２かい" 10
records=$(window_named "きろく")
focus_window "$records"
out=""
for _ in $(seq 50); do
    out=$(/usr/bin/python3 "$here/atspi_tree.py" "きろく" 2>&1 || true)
    grep -q "ぜんぶで ２かい" <<<"$out" && grep -q "にがてな キー" <<<"$out" && break
    sleep 0.2
done
grep -q "ぜんぶで ２かい" <<<"$out" || fail "the records window through AT-SPI:"$'\n'"$out"
press Down
wait_for_clipboard "にがてな キーは まだ ないよ"

# The menu's CSV: in the home folder, the header and the two drills.
csv=$HOME/hoshinotamago-records.csv
press alt+f e
wait_for_clipboard "$csv に かきだしたよ"
[ "$(wc -l <"$csv")" -eq 3 ] || fail "not a header and two runs:"$'\n'"$(cat "$csv")"
head -n 1 "$csv" | grep -q "^mode,started," || fail "no header: $(head -n 1 "$csv")"
grep -c "^frmYubiren2," "$csv" | grep -qx 2 || fail "the two drills are not in the CSV"

# Erase-all asks first: Escape keeps the runs, Y (as the question says) erases them.
question="きろくを ぜんぶ けしますか？ けすなら Y、やめるなら Escape"
press alt+f d
wait_for_clipboard "$question"
press Escape
wait_for_clipboard "けさなかったよ"
# No window manager gives the focus back once the box is gone.
focus_window "$records"
press alt+f d
wait_for_clipboard "$question"
press y
wait_for_clipboard "きろくを ぜんぶ けしたよ"
focus_window "$records"
press Escape
window_gone "きろく"

focus_window "$launcher"
press Escape
wait_for_exit 10
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS"

out=$(mktemp)
"$HOSHI_PROGRAM" --export-records "$out" || fail "--export-records failed"
[ "$(wc -l <"$out")" -eq 1 ] || fail "runs left after erasing them:"$'\n'"$(cat "$out")"
"$HOSHI_PROGRAM" --export-records /nonexistent/dir/x.csv 2>/dev/null && fail "writing to a missing folder succeeded"
rm -f "$out" "$csv"

# --no-records with a data folder never used: a drill to time-up, and no
# standing said; K and the records menu say that no records are kept.
export XDG_DATA_HOME=$TMPDIR/fresh-data
speech_mark
start_program --no-records
wait_for_clipboard $'１\r\n押せばわかる'
launcher=$(window_named "ほしのたまごいりぐち")
focus_window "$launcher"
press 3
drill=$(window_named "アルファベットに挑戦")
drill_to_time_up
sleep 2
! spoken_script | tail -n +"$((SPEECH_MARK + 1))" | grep -q -e "はじめて" -e "おなじ" ||
    fail "a standing was said without records"
press Escape
window_gone "アルファベットに挑戦"
focus_window "$launcher"
press k
wait_for_clipboard "きろくは とらない せっていです"
records=$(window_named "きろく")
focus_window "$records"
printf 'sentinel' | xclip -selection clipboard
press alt+f d
wait_for_clipboard "きろくは とらない せっていです"
press Escape
window_gone "きろく"
focus_window "$launcher"
press Escape
wait_for_exit 10
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS with --no-records"
[ ! -e "$XDG_DATA_HOME/hoshinotamago" ] || fail "--no-records made $(find "$XDG_DATA_HOME")"
