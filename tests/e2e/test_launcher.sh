# SPDX-License-Identifier: GPL-3.0-or-later
# The launcher announces entries on the real clipboard and Escape ends it.
source "$(dirname "$0")/lib.sh"

start_program
wait_for_clipboard $'１\r\n押せばわかる'
launcher=$(window_named "ほしのたまごいりぐち")
focus_window "$launcher"

press Down
wait_for_clipboard $'２\r\nどの指使うの'
press Up Up
wait_for_clipboard $'６\r\n応用英語入力'
press Down
wait_for_clipboard $'１\r\n押せばわかる'

press Escape
wait_for_exit 10
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS"
echo "launcher e2e passed"
