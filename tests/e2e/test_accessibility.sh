# SPDX-License-Identifier: GPL-3.0-or-later
# What a screen reader finds in the program, read through AT-SPI from another
# process: the launcher's entries under a title whose name stays while it
# scrolls, its menu entries by their readings, the drill's target in a plain panel, and the typing window's named
# boxes holding the line shown and what was typed.
source "$(dirname "$0")/lib.sh"
here=$(cd "$(dirname "$0")" && pwd)

[ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] \
    || fail "DBUS_SESSION_BUS_ADDRESS is unset: the accessibility bus needs a D-Bus session"
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || fail "python3-pyatspi is missing: run scripts/install-deps.sh"

# tree TITLE: the window as a screen reader reads it, one "role TAB name TAB text" a line.
tree() {
    /usr/bin/python3 "$here/atspi_tree.py" "$1"
}

# wait_for_tree TITLE LINE...: each LINE is in the window's tree, within 10 s.
wait_for_tree() {
    local title=$1 out="" line missing
    shift
    for _ in $(seq 50); do
        out=$(tree "$title" 2>&1 || true)
        missing=""
        for line in "$@"; do
            grep -qxF -- "$line" <<<"$out" || { missing=$line; break; }
        done
        [ -z "$missing" ] && return 0
        sleep 0.2
    done
    fail "no '$missing' in the tree of $title:"$'\n'"$out"
}

# no_frames_inside TITLE: nothing in the window is taken for a window of its own.
no_frames_inside() {
    local out
    out=$(tree "$1")
    if cut -f1 <<<"$out" | grep -qx frame; then
        fail "a frame inside $1:"$'\n'"$out"
    fi
}

workdir=$(mktemp -d)
practice="$workdir/practice.txt"
printf '%s\n%s\n' "apple pie" "banana split" >"$practice"

start_program
trap 'kill $PROGRAM_PID 2>/dev/null || true; rm -rf "$workdir"' EXIT
wait_for_clipboard $'１\r\n押せばわかる'
launcher=$(window_named "ほしのたまごいりぐち")

# The launcher: six entries; the title keeps its name after it has scrolled.
sleep 1.2
# Names are kana readings: a voice that cannot read kanji reads them, and so does braille.
wait_for_tree "ほしのたまごいりぐち" $'label\tほしのたまご ばーじょんに\t' \
    $'label\tいち おせばわかる\t' $'label\tに どのゆびつかうの\t' $'label\tさん あるふぁべっとにちょーせん\t' \
    $'label\tよん きごーとすーじもとーじょー\t' $'label\tご おーよーにほんごにゅーりょく\t' \
    $'label\tろく おーよーえいごにゅーりょく\t'

# Menu entries are named by their readings too; 終了 would be heard as "Chinese letter".
focus_window "$launcher"
press alt+f
wait_for_tree "ほしのたまごいりぐち" $'menu item\tふぁいるえふ\t' $'menu item\tしゅーりょーえっくす おあ えすけーぷ\t'
press Escape
press Escape

# The alphabet drill: after Space the announced target is read from its label.
focus_window "$launcher"
press 3
drill=$(window_named "アルファベットに挑戦")
focus_window "$drill"
printf 'sentinel' | xclip -selection clipboard
wait_for_clipboard sentinel
press space
target=$(wait_for_target)
wait_for_tree "あるふぁべっとにちょーせん" $'label\t'"$target"$'\t' $'push button\tSTART\t'
no_frames_inside "あるふぁべっとにちょーせん"
press Escape

# The Japanese typing window: the boxes are named; a drawn line is read from
# the display box, the typed letters from the input box.
focus_window "$launcher"
press 5
typing=$(window_named "応用日本語入力　３分")
open_practice_file "$typing" "$practice"
wait_for_tree "おーよーにほんごにゅーりょく さんぷん" $'text\tおてほん\t' $'text\tにゅうりょく\t'
printf 'sentinel' | xclip -selection clipboard
wait_for_clipboard sentinel
press Return
line=""
for _ in $(seq 50); do
    line=$(clipboard)
    [ "$line" = "apple pie" ] || [ "$line" = "banana split" ] && break
    sleep 0.1
done
[ "$line" = "apple pie" ] || [ "$line" = "banana split" ] || fail "no line announced: '$line'"
xdotool type --delay 30 "ap"
wait_for_tree "おーよーにほんごにゅーりょく さんぷん" $'text\tおてほん\t'"$line" $'text\tにゅうりょく\tap'
no_frames_inside "おーよーにほんごにゅーりょく さんぷん"
echo "accessibility e2e passed"
