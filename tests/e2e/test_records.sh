# SPDX-License-Identifier: GPL-3.0-or-later
# What a screen reader finds through AT-SPI, by kana readings (for a voice that cannot read kanji, and
# braille): the launcher's entries under a title kept while it scrolls, its menu, the drill's target, the
# typing window's boxes, the records window. Two drills to time-up, each standing on the voice alone; the
# CSV and erase-all by the menu keys, --export-records; with --no-records no standing and no file.
source "$(dirname "$0")/lib.sh"
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || fail "python3-pyatspi is missing: run scripts/install-deps.sh"

# drill_to_time_up: Space starts the alphabet drill, its target in the tree; nothing typed, score 0.
drill_to_time_up() {
    focus_window "$drill"
    speech_mark
    clear_clipboard
    press space
    wait_for_tree "あるふぁべっとにちょーせん" "$(row "$(wait_for_target)")" $'push button\tSTART\t'
    CLIPBOARD_SECONDS=45 wait_for_clipboard "得点 0"
}
# the_standing_said TEXT: after time-up the voice says TEXT; the clipboard keeps the score.
standing_said() { spoken_since_mark | grep -qxF -- "$1"; }
the_standing_said() {
    within 10 standing_said "$1" || fail "no '$1' said:"$'\n'"$(spoken_since_mark | tail -n 8)"
    [ "$(clipboard)" = "得点 0" ] || fail "the standing reached the clipboard: '$(clipboard)'"
}
open_drill() { focus_window "$launcher"; press 3; drill=$(window_named "アルファベットに挑戦"); }
close_drill() { focus_window "$drill"; close_window Escape "アルファベットに挑戦"; }

row() { printf 'label\t%s\t' "$1"; }
start_launcher
sleep 1.2
wait_for_tree "ほしのたまごいりぐち" "$(row "ほしのたまご ばーじょんに")" "$(row "いち おせばわかる")" "$(row "に どのゆびつかうの")" \
    "$(row "さん あるふぁべっとにちょーせん")" "$(row "よん きごーとすーじもとーじょー")" \
    "$(row "ご おーよーにほんごにゅーりょく")" "$(row "ろく おーよーえいごにゅーりょく")"
press alt+f
wait_for_tree "ほしのたまごいりぐち" $'menu item\tふぁいるえふ\t' $'menu item\tしゅーりょーえっくす おあ えすけーぷ\t'
press Escape
press Escape
open_drill
drill_to_time_up
the_standing_said "はじめての きろく だよ"
drill_to_time_up
the_standing_said "まえと おなじ てんすー だよ"
close_drill
press_expect k "ｱﾙﾌｧﾍﾞｯﾄに挑戦 さいこう ０てん ぜんぶで ２かい"
records=$(window_named "きろく")
focus_window "$records"
wait_for_tree "きろく" ".*ぜんぶで ２かい.*" ".*にがてな キー.*"
press_expect Down "にがてな キーは まだ ないよ"

csv=$HOME/hoshinotamago-records.csv
press_expect "alt+f e" "$csv に かきだしたよ"
[ "$(head -n 1 "$csv" | cut -d, -f1-2)" = mode,started ] && [ "$(grep -c "^frmYubiren2," "$csv")" -eq 2 ] \
    && [ "$(wc -l <"$csv")" -eq 3 ] || fail "not a header and the two drills:"$'\n'"$(cat "$csv")"
# Erase-all asks first: Escape keeps the runs, Y erases them. No window
# manager gives the focus back once the box is gone.
question="きろくを ぜんぶ けしますか？ けすなら Y、やめるなら Escape"
press_expect "alt+f d" "$question" Escape "けさなかったよ"
focus_window "$records"
press_expect "alt+f d" "$question" y "きろくを ぜんぶ けしたよ"
focus_window "$records"
close_window Escape "きろく"
quit_launcher
out=$(mktemp)
"$HOSHI_PROGRAM" --export-records "$out" || fail "--export-records failed"
[ "$(wc -l <"$out")" -eq 1 ] || fail "runs left after erasing them:"$'\n'"$(cat "$out")"
"$HOSHI_PROGRAM" --export-records /nonexistent/dir/x.csv 2>/dev/null && fail "writing to a missing folder succeeded"

# --no-records with a data folder never used.
export XDG_DATA_HOME=$TMPDIR/fresh-data
start_launcher --no-records
open_drill
drill_to_time_up
sleep 2
! spoken_since_mark | grep -q -e "はじめて" -e "おなじ" || fail "a standing was said without records"
close_drill
# The typing window's boxes (no run of it kept).
typing=$(open_window 5 "応用日本語入力　３分")
printf '%s\n' "apple pie" "banana split" >"$TMPDIR/practice.txt"
open_practice_file "$typing" "$TMPDIR/practice.txt"
title="おーよーにほんごにゅーりょく さんぷん"
wait_for_tree "$title" $'text\tおてほん\t' $'text\tにゅうりょく\t'
clear_clipboard
press Return
wait_for_clipboard "apple pie" "banana split"
xdotool type --delay 30 "ap"
wait_for_tree "$title" $'text\tおてほん\t'"$CLIPBOARD" $'text\tにゅうりょく\tap'
close_window "alt+f x" "応用日本語入力　３分"
quit_launcher
[ ! -e "$XDG_DATA_HOME/hoshinotamago" ] || fail "--no-records made $(find "$XDG_DATA_HOME")"
