# SPDX-License-Identifier: GPL-3.0-or-later
# What a screen reader finds in the program, read through AT-SPI from another
# process: the launcher's entries under a title whose name stays while it
# scrolls, its menu entries by their readings, the drill's target in a plain
# panel, and the typing window's named boxes holding the line shown and what
# was typed.
source "$(dirname "$0")/lib.sh"

/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || fail "python3-pyatspi is missing: run scripts/install-deps.sh"

# tree_has TITLE LINE...: each LINE ("role TAB name TAB text") is in the
# window's tree as a screen reader reads it, which is left in TREE.
tree_has() {
    local title=$1 line
    shift
    TREE=$(/usr/bin/python3 "$HOSHI_E2E_DIR/atspi_tree.py" "$title" 2>&1 || true)
    for line in "$@"; do
        grep -qxF -- "$line" <<<"$TREE" || { MISSING=$line; return 1; }
    done
}

# wait_for_tree TITLE LINE...: tree_has within 10 s; nothing in the window
# is taken for a window of its own.
wait_for_tree() {
    POLL_STEP=0.2 within 10 tree_has "$@" || fail "no '$MISSING' in the tree of $1:"$'\n'"$TREE"
    if cut -f1 <<<"$TREE" | grep -qx frame; then
        fail "a frame inside $1:"$'\n'"$TREE"
    fi
}

practice=$(mktemp)
lines=("apple pie" "banana split")
printf '%s\n' "${lines[@]}" >"$practice"

start_launcher

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
focus_window "$(window_named "アルファベットに挑戦")"
clear_clipboard
press space
target=$(wait_for_target)
wait_for_tree "あるふぁべっとにちょーせん" $'label\t'"$target"$'\t' $'push button\tSTART\t'
press Escape

# The Japanese typing window: the boxes are named; a drawn line is read from
# the display box, the typed letters from the input box.
focus_window "$launcher"
press 5
typing=$(window_named "応用日本語入力　３分")
open_practice_file "$typing" "$practice"
wait_for_tree "おーよーにほんごにゅーりょく さんぷん" $'text\tおてほん\t' $'text\tにゅうりょく\t'
clear_clipboard
press Return
wait_for_clipboard "${lines[@]}"
line=$CLIPBOARD
xdotool type --delay 30 "ap"
wait_for_tree "おーよーにほんごにゅーりょく さんぷん" $'text\tおてほん\t'"$line" $'text\tにゅうりょく\tap'
echo "accessibility e2e passed"
