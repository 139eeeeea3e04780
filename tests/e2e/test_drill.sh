# SPDX-License-Identifier: GPL-3.0-or-later
# The finger guide and the alphabet drill announce on the real clipboard and
# follow real keys typed on a JIS keyboard.
source "$(dirname "$0")/lib.sh"

# set_clipboard TEXT: take the clipboard as another program would, so that a
# repeated announcement of the same text can be seen arriving.
set_clipboard() {
    printf '%s' "$1" | xclip -selection clipboard
    wait_for_clipboard "$1" 5
}

# window_gone TITLE: no visible window has that title any more.
window_gone() {
    for _ in $(seq 1 50); do
        xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    fail "window $1 still open"
}

start_program
wait_for_clipboard $'１\r\n押せばわかる'
launcher=$(window_named "ほしのたまごいりぐち")
focus_window "$launcher"

# Finger guide: step 1 is announced, f moves to step 2, a wrong key repeats the key.
press 2
wait_for_clipboard "ひだりひとさしゆびえふ"
guide=$(window_named "どのゆびつかうの")
focus_window "$guide"
press f
wait_for_clipboard "ひだりひとさしゆびＲ"
press g
wait_for_clipboard "R"
press Escape
window_gone "どのゆびつかうの"

# Alphabet drill: Space starts and announces a letter.
focus_window "$launcher"
press 3
drill=$(window_named "アルファベットに挑戦")
focus_window "$drill"
set_clipboard "sentinel"
press space
target=""
for _ in $(seq 1 50); do
    target=$(clipboard)
    [[ "$target" =~ ^[A-Z]$ ]] && break
    sleep 0.1
done
[[ "$target" =~ ^[A-Z]$ ]] || fail "no target announced after Space: '$target'"

# A miss announces the same target again.
wrong=q
[ "$target" = "Q" ] && wrong=w
set_clipboard "sentinel"
press "$wrong"
wait_for_clipboard "$target"

# A hit, typed in lower case, announces the next target.
set_clipboard "sentinel"
press "$(printf '%s' "$target" | tr 'A-Z' 'a-z')"
next=""
for _ in $(seq 1 50); do
    next=$(clipboard)
    [[ "$next" =~ ^[A-Z]$ ]] && break
    sleep 0.1
done
[[ "$next" =~ ^[A-Z]$ ]] || fail "no next target after the hit: '$next'"

# One hit and one miss: the score at time-up, with the real one-second timer.
wait_for_clipboard "得点 0" 45
press Escape
window_gone "アルファベットに挑戦"

focus_window "$launcher"
press Escape
wait_for_exit 10
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS"
echo "finger guide and drill e2e passed"
