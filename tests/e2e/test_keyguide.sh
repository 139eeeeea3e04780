# SPDX-License-Identifier: GPL-3.0-or-later
# The key guide names real keys of a JIS keyboard on the real clipboard; the
# reading, announced last, is what stays there. Alt and F10 do not hand the
# keyboard to the menu bar, and Alt+F4 closes only this window.
source "$(dirname "$0")/lib.sh"

start_launcher
press 1
focus_window "$(window_named "押せばわかる")"

# On the jp layout the colon is the key right of ";" (evdev 40); 132 is the
# yen key by its physical keycode (evdev 124 + 8), still the yen key.
press_expect a "Ａ" shift+1 "ｴｸｽｸﾗﾒｰｼｮﾝ" colon "コロン" yen "円マーク" b "Ｂ" 132 "円マーク" \
             Tab "タブ" Escape "エスケープ"
# After F10, Alt or the Windows key the next letter is still named.
press_expect F10 "ﾌｧﾝｸｼｮﾝ10" c "Ｃ" alt "オルト" d "Ｄ" super "ｳｨﾝﾄﾞｰｽﾞｷｰ" e "Ｅ"

# Alt+F4 closes the key guide; the launcher goes on and still answers keys.
press alt+F4
window_gone "押せばわかる"
focus_window "$launcher"
press_expect Down $'２\r\nどの指使うの'

# Reopened, it names keys again; a double-click on the key text ends the program.
press 1
guide=$(window_named "押せばわかる")
focus_window "$guide"
press_expect z "Ｚ"
xdotool mousemove --window "$guide" 60 200 click --repeat 2 --delay 80 1
wait_for_exit 10
echo "key guide e2e passed"
