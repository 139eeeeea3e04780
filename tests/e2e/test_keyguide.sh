# SPDX-License-Identifier: GPL-3.0-or-later
# The key guide names real keys of a JIS keyboard on the real clipboard; the
# reading, announced last, is what stays there. Alt and F10 do not hand the
# keyboard to the menu bar, and Alt+F4 closes only this window.
source "$(dirname "$0")/lib.sh"

start_program
wait_for_clipboard $'１\r\n押せばわかる'
launcher=$(window_named "ほしのたまごいりぐち")
focus_window "$launcher"
press 1
guide=$(window_named "押せばわかる")
focus_window "$guide"

press a
wait_for_clipboard "Ａ"
press shift+1
wait_for_clipboard "ｴｸｽｸﾗﾒｰｼｮﾝ"
# On the jp layout the colon is the key right of ";" (evdev 40).
press colon
wait_for_clipboard "コロン"
press yen
wait_for_clipboard "円マーク"
# The yen key by its physical keycode (evdev 124 + 8): still the yen key.
press b
wait_for_clipboard "Ｂ"
press 132
wait_for_clipboard "円マーク"
press Tab
wait_for_clipboard "タブ"
press Escape
wait_for_clipboard "エスケープ"

# After F10, Alt or the Windows key the next letter is still named.
press F10
wait_for_clipboard "ﾌｧﾝｸｼｮﾝ10"
press c
wait_for_clipboard "Ｃ"
press alt
wait_for_clipboard "オルト"
press d
wait_for_clipboard "Ｄ"
press super
wait_for_clipboard "ｳｨﾝﾄﾞｰｽﾞｷｰ"
press e
wait_for_clipboard "Ｅ"

# Alt+F4 closes the key guide; the launcher goes on and still answers keys.
press alt+F4
for _ in $(seq 50); do
    xdotool search --onlyvisible --name "^押せばわかる\$" >/dev/null 2>&1 || break
    sleep 0.1
done
xdotool search --onlyvisible --name "^押せばわかる\$" >/dev/null 2>&1 && fail "key guide still open after Alt+F4"
kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended with the key guide"
focus_window "$launcher"
press Down
wait_for_clipboard $'２\r\nどの指使うの'

# Reopened, it names keys again; a double-click on the key text ends the program.
press 1
guide=$(window_named "押せばわかる")
focus_window "$guide"
press z
wait_for_clipboard "Ｚ"
xdotool mousemove --window "$guide" 60 200 click --repeat 2 --delay 80 1
wait_for_exit 10
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS"
echo "key guide e2e passed"
