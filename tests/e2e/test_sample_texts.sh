# SPDX-License-Identifier: GPL-3.0-or-later
# The shipped practice texts by ear, under a window manager: Ctrl+O's dialog puts each file name on the
# clipboard, a name with a line break on one line; Return loads the file, Enter draws a line of it. Another
# program sees every change of the clipboard's owner: entry 1 once at the start, nothing for the dialog.
source "$(dirname "$0")/lib.sh"

texts=$(dirname "$HOSHI_PROGRAM")/texts/japanese
names=("1 ひらがなの ことば.txt" "2 かんじの まじった ぶん.txt" "3 カタカナと きごう.txt")
workdir=$(mktemp -d)
printf 'odd one\n' >"$workdir/"$'line\nbreak.txt'

start_window_manager
changes=$TMPDIR/clipboard-changes
QT_QPA_PLATFORM=xcb "$(dirname "$HOSHI_PROGRAM")/hoshi_clipboard_watch" >"$changes" 2>/dev/null &
within 10 grep -qx watching "$changes" || fail "the clipboard watcher did not start"
changes_since() { tail -n +"$(($1 + 2))" "$changes" | grep -vx '(empty)' || true; }
# sorted_dialog: the dialog, focused, once Qt has read and sorted its folder
# on a thread of its own (a key pressed at once can reach the list before it is in order).
sorted_dialog() { press ctrl+o; window_named "開く" >/dev/null; sleep 1.5; focus_window "$WINDOW"; }

start_launcher
sleep 1.5
[ "$(changes_since 0)" = '１\r\n押せばわかる' ] || fail "the start put on the clipboard: $(changes_since 0 | paste -sd '|')"
typing=$(open_window 5 "応用日本語入力　３分")
sleep 1
mark=$(($(wc -l <"$changes") - 1))
sorted_dialog
[ -z "$(changes_since "$mark")" ] || fail "opening the file dialog put on the clipboard: $(changes_since "$mark" | paste -sd '|')"

for name in "${names[@]}"; do press_expect Down "$name"; done
press_expect Up "${names[1]}"
close_window Return "開く" "$typing"
mapfile -t lines <"$texts/${names[1]}"
clear_clipboard
press Return
wait_for_clipboard "${lines[@]}"

# The dialog opens where that file lay; into another folder, a name with a line break.
sorted_dialog
xdotool type --delay 20 "$workdir"
sleep 0.3
press_expect Return "$(basename "$workdir") フォルダー" Down "line break.txt"
press Escape
window_gone "開く"
