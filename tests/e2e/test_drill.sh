# SPDX-License-Identifier: GPL-3.0-or-later
# The launcher, the finger guide and the alphabet drill announce on the real
# clipboard and follow real keys typed on a JIS keyboard; Escape in the
# launcher ends the program.
source "$(dirname "$0")/lib.sh"

start_launcher
# The launcher's entries, round both ends.
press_expect Down $'２\r\nどの指使うの' "Up Up" $'６\r\n応用英語入力' Down $'１\r\n押せばわかる'

# Finger guide: step 1 is announced, f moves to step 2, a wrong key repeats the key.
press_expect 2 "ひだりひとさしゆびえふ"
focus_window "$(window_named "どのゆびつかうの")"
press_expect f "ひだりひとさしゆびＲ" g "R"
press Escape
window_gone "どのゆびつかうの"

# Alphabet drill: Space starts and announces a letter.
focus_window "$launcher"
press 3
focus_window "$(window_named "アルファベットに挑戦")"
clear_clipboard
press space
target=$(wait_for_target)

# A miss announces the same target again.
clear_clipboard
press_expect "$(miss_key "$target")" "$target"

# A hit, typed in lower case, announces the next target.
clear_clipboard
press "${target,,}"
wait_for_target >/dev/null

# One hit and one miss: the score at time-up, with the real one-second timer.
CLIPBOARD_SECONDS=45 wait_for_clipboard "得点 0"
press Escape
window_gone "アルファベットに挑戦"
quit_launcher
echo "launcher, finger guide and drill e2e passed"
