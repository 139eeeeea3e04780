# SPDX-License-Identifier: GPL-3.0-or-later
# The Japanese typing window: a practice file loaded through the real file
# dialog, the drawn line read from the real clipboard, typed with real keys,
# and the next line announced.
source "$(dirname "$0")/lib.sh"

workdir=$(mktemp -d)
practice="$workdir/practice.txt"
first="apple pie"
second="banana split"
printf '%s\n%s\n' "$first" "$second" >"$practice"

# wait_for_line: the clipboard holds one of the file's lines; prints it.
wait_for_line() {
    local waited=0 actual=""
    while [ "$waited" -lt 100 ]; do
        actual=$(clipboard)
        if [ "$actual" = "$first" ] || [ "$actual" = "$second" ]; then
            echo "$actual"
            return 0
        fi
        sleep 0.1
        waited=$((waited + 1))
    done
    fail "clipboard is '$actual', expected a line of the practice file"
}

# set_sentinel: a text the program never announces, to see the next announcement.
set_sentinel() {
    printf 'sentinel' | xclip -selection clipboard
    wait_for_clipboard sentinel
}

start_program
trap 'kill $PROGRAM_PID 2>/dev/null || true; rm -rf "$workdir"' EXIT
wait_for_clipboard $'１\r\n押せばわかる'
launcher=$(window_named "ほしのたまごいりぐち")
focus_window "$launcher"
press 5
typing=$(window_named "応用日本語入力　３分")
focus_window "$typing"

# The file is chosen through the real file dialog.
open_practice_file "$typing" "$practice"

# The first Enter starts the run and announces a line.
set_sentinel
press Return
line=$(wait_for_line)

# Typing it and Enter counts it and announces the next line.
set_sentinel
xdotool type --delay 30 "$line"
sleep 0.3
press Return
next=$(wait_for_line)

# A wrong try announces nothing; Ctrl says the line again.
set_sentinel
xdotool type --delay 30 "nope"
press Return
sleep 0.5
[ "$(clipboard)" = sentinel ] || fail "a wrong try announced '$(clipboard)'"
press Control_L
wait_for_clipboard "$next"
echo "typing e2e passed"
