# SPDX-License-Identifier: GPL-3.0-or-later
# The shipped practice texts by ear: in the Japanese window Ctrl+O opens the
# file dialog on them, Up and Down put each file name on the real clipboard,
# Return loads the one reached, and Enter then draws a line of that file. A
# file name with a line break is announced on one line.
source "$(dirname "$0")/lib.sh"

texts=$(dirname "$HOSHI_PROGRAM")/texts/japanese
names=("1 ひらがなの ことば.txt" "2 かんじの まじった ぶん.txt" "3 カタカナと きごう.txt")
workdir=$(mktemp -d)
printf 'odd one\n' >"$workdir/"$'line\nbreak.txt'

# sorted_dialog: the dialog, focused, once Qt has read and sorted its folder
# on a thread of its own (a key pressed at once on a slow, sanitized build
# can reach the list before it is in order).
sorted_dialog() {
    dialog=$(wait_for_dialog "$typing")
    sleep 1.5
    focus_window "$dialog"
}

start_launcher
press 5
typing=$(window_named "応用日本語入力　３分")
focus_window "$typing"

# Down through the folder, each name heard; Up back to the second; Return.
sorted_dialog
for name in "${names[@]}"; do
    press_expect Down "$name"
done
press_expect Up "${names[1]}"
press Return
wait_for_dialog_gone "$dialog"
focus_window "$typing"

# Enter draws a line of that file.
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
wait_for_dialog_gone "$dialog"
echo "sample texts e2e passed"
