# SPDX-License-Identifier: GPL-3.0-or-later
# The launcher announces entries on the real clipboard and Escape ends it.
source "$(dirname "$0")/lib.sh"

start_launcher
press_expect Down $'２\r\nどの指使うの' "Up Up" $'６\r\n応用英語入力' Down $'１\r\n押せばわかる'
quit_launcher
echo "launcher e2e passed"
