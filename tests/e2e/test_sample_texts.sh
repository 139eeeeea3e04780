# SPDX-License-Identifier: GPL-3.0-or-later
# The shipped practice texts by ear: in the Japanese window Ctrl+O opens the
# file dialog on them, Up and Down put each file name on the real clipboard,
# Return loads the one reached, and Enter then draws a line of that file. A
# file name with a line break is announced on one line.
source "$(dirname "$0")/lib.sh"

texts=$(dirname "$HOSHI_PROGRAM")/texts/japanese
names=("1 ひらがなの ことば.txt" "2 かんじの まじった ぶん.txt" "3 カタカナと きごう.txt")
for name in "${names[@]}"; do
    [ -f "$texts/$name" ] || fail "the build tree lacks $texts/$name"
done
workdir=$(mktemp -d)
odd=$'line\nbreak.txt'
printf 'odd one\n' >"$workdir/$odd"

# wait_for_sorted_dialog TYPING: the dialog, once Qt has read and sorted its
# folder on a thread of its own (a key pressed at once on a slow, sanitized
# build can reach the list before it is in order).
wait_for_sorted_dialog() {
    local dialog
    dialog=$(wait_for_dialog "$1")
    sleep 1.5
    echo "$dialog"
}

start_program
trap 'kill $PROGRAM_PID 2>/dev/null || true; rm -rf "$workdir"' EXIT
wait_for_clipboard $'１\r\n押せばわかる'
focus_window "$(window_named "ほしのたまごいりぐち")"
press 5
typing=$(window_named "応用日本語入力　３分")
focus_window "$typing"

# Down through the folder, each name heard; Up back to the second; Return.
dialog=$(wait_for_sorted_dialog "$typing")
focus_window "$dialog"
for name in "${names[@]}"; do
    press Down
    wait_for_clipboard "$name"
done
press Up
wait_for_clipboard "${names[1]}"
press Return
wait_for_dialog_gone "$dialog"
focus_window "$typing"

# Enter draws a line of that file.
printf 'sentinel' | xclip -selection clipboard
wait_for_clipboard sentinel
press Return
line=""
for _ in $(seq 100); do
    line=$(clipboard)
    [ "$line" != sentinel ] && [ -n "$line" ] && break
    sleep 0.1
done
grep -qxF -- "$line" "$texts/${names[1]}" || fail "'$line' is no line of ${names[1]}"

# The dialog opens where that file lay; into another folder, a name with a line break.
dialog=$(wait_for_sorted_dialog "$typing")
focus_window "$dialog"
xdotool type --delay 20 "$workdir"
sleep 0.3
press Return
wait_for_clipboard "$(basename "$workdir") フォルダー"
press Down
wait_for_clipboard "line break.txt"
press Escape
wait_for_dialog_gone "$dialog"
echo "sample texts e2e passed"
