# SPDX-License-Identifier: GPL-3.0-or-later
# The Japanese typing window: a practice file loaded through the real file
# dialog, the drawn line read from the real clipboard, typed with real keys,
# and the next line announced.
source "$(dirname "$0")/lib.sh"

lines=("apple pie" "banana split")
practice=$(mktemp)
printf '%s\n' "${lines[@]}" >"$practice"

start_launcher
press 5
typing=$(window_named "応用日本語入力　３分")
# The file is chosen through the real file dialog.
open_practice_file "$typing" "$practice"

# The first Enter starts the run and announces a line.
clear_clipboard
press Return
wait_for_clipboard "${lines[@]}"
line=$CLIPBOARD

# Typing it and Enter counts it and announces the next line.
clear_clipboard
xdotool type --delay 30 "$line"
sleep 0.3
press Return
wait_for_clipboard "${lines[@]}"
next=$CLIPBOARD

# A wrong try announces nothing; Ctrl says the line again.
clear_clipboard
xdotool type --delay 30 "nope"
press Return
sleep 0.5
[ "$(clipboard)" = sentinel ] || fail "a wrong try announced '$(clipboard)'"
press_expect Control_L "$next"
echo "typing e2e passed"
