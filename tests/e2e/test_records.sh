# SPDX-License-Identifier: GPL-3.0-or-later
# Records: two alphabet drills played to time-up, each followed by its
# standing on the voice alone (speech-dispatcher's log), the records window
# read through AT-SPI, its CSV and its erase-all through the menu keys, the
# runs written out by --export-records; then with --no-records, a drill to
# time-up that leaves no file behind.
source "$(dirname "$0")/lib.sh"

# drill_to_time_up: Space starts the alphabet drill; nothing typed, score 0.
drill_to_time_up() {
    focus_window "$drill"
    press space
    CLIPBOARD_SECONDS=45 wait_for_clipboard "得点 0"
}

# the_standing_said TEXT: after the drill's time-up the voice says TEXT,
# and the clipboard keeps the score.
standing_said() { spoken_since_mark | grep -qxF -- "$1"; }
the_standing_said() {
    within 10 standing_said "$1" || fail "no '$1' said:"$'\n'"$(spoken_since_mark | tail -n 8)"
    [ "$(clipboard)" = "得点 0" ] || fail "the standing reached the clipboard: '$(clipboard)'"
}

# records_tree_has TEXT...: the records window, read through AT-SPI, shows each TEXT.
records_tree_has() {
    local text
    TREE=$(/usr/bin/python3 "$HOSHI_E2E_DIR/atspi_tree.py" "きろく" 2>&1 || true)
    for text in "$@"; do grep -qF -- "$text" <<<"$TREE" || return 1; done
}

start_launcher
press 3
drill=$(window_named "アルファベットに挑戦")
speech_mark
drill_to_time_up
the_standing_said "はじめての きろく だよ"
speech_mark
drill_to_time_up
the_standing_said "まえと おなじ てんすー だよ"
press Escape
window_gone "アルファベットに挑戦"

# K in the launcher opens the records window; its first row is announced.
focus_window "$launcher"
press_expect k "ｱﾙﾌｧﾍﾞｯﾄに挑戦 さいこう ０てん ぜんぶで ２かい"
records=$(window_named "きろく")
focus_window "$records"
POLL_STEP=0.2 within 10 records_tree_has "ぜんぶで ２かい" "にがてな キー" \
    || fail "the records window through AT-SPI:"$'\n'"$TREE"
press_expect Down "にがてな キーは まだ ないよ"

# The menu's CSV: in the home folder, the header and the two drills.
csv=$HOME/hoshinotamago-records.csv
press_expect "alt+f e" "$csv に かきだしたよ"
[ "$(wc -l <"$csv")" -eq 3 ] || fail "not a header and two runs:"$'\n'"$(cat "$csv")"
head -n 1 "$csv" | grep -q "^mode,started," || fail "no header: $(head -n 1 "$csv")"
[ "$(grep -c "^frmYubiren2," "$csv")" -eq 2 ] || fail "the two drills are not in the CSV:"$'\n'"$(cat "$csv")"

# Erase-all asks first: Escape keeps the runs, Y (as the question says) erases them.
# No window manager gives the focus back once the box is gone.
question="きろくを ぜんぶ けしますか？ けすなら Y、やめるなら Escape"
press_expect "alt+f d" "$question" Escape "けさなかったよ"
focus_window "$records"
press_expect "alt+f d" "$question" y "きろくを ぜんぶ けしたよ"
focus_window "$records"
press Escape
window_gone "きろく"
quit_launcher

out=$(mktemp)
"$HOSHI_PROGRAM" --export-records "$out" || fail "--export-records failed"
[ "$(wc -l <"$out")" -eq 1 ] || fail "runs left after erasing them:"$'\n'"$(cat "$out")"
"$HOSHI_PROGRAM" --export-records /nonexistent/dir/x.csv 2>/dev/null && fail "writing to a missing folder succeeded"
rm -f "$csv"

# --no-records with a data folder never used: a drill to time-up, and no
# standing said; K and the records menu say that no records are kept.
export XDG_DATA_HOME=$TMPDIR/fresh-data
start_launcher --no-records
press 3
drill=$(window_named "アルファベットに挑戦")
speech_mark
drill_to_time_up
sleep 2
! spoken_since_mark | grep -q -e "はじめて" -e "おなじ" || fail "a standing was said without records"
press Escape
window_gone "アルファベットに挑戦"
focus_window "$launcher"
press_expect k "きろくは とらない せっていです"
focus_window "$(window_named "きろく")"
clear_clipboard
press_expect "alt+f d" "きろくは とらない せっていです"
press Escape
window_gone "きろく"
quit_launcher
[ ! -e "$XDG_DATA_HOME/hoshinotamago" ] || fail "--no-records made $(find "$XDG_DATA_HOME")"
