# SPDX-License-Identifier: GPL-3.0-or-later
# The installed tree, not the build tree: `cmake --install` into a private
# prefix gives a program that finds its three sounds in the data folder, has
# its practice texts there, ships its menu entry, icon and metadata, and
# starts into the launcher even when the display is named only by Qt's own
# -display option, or when a Wayland name leads nowhere; its window carries
# the installed icon.
source "$(dirname "$0")/lib.sh"

build_dir=$(cd "$(dirname "$HOSHI_PROGRAM")/.." && pwd)
prefix=$(mktemp -d)
cmake --install "$build_dir" --prefix "$prefix" >/dev/null || fail "cmake --install failed"

for file in applications/io.github.hoshinotamago.HoshiNoTamago.desktop \
            icons/hicolor/scalable/apps/io.github.hoshinotamago.HoshiNoTamago.svg \
            metainfo/io.github.hoshinotamago.HoshiNoTamago.metainfo.xml; do
    [ -f "$prefix/share/$file" ] || fail "not installed: share/$file"
done

# The practice texts lie in the data folder, one folder per typing window, as in the source.
for language in japanese english; do
    expected=$(cd "$build_dir/bin/texts/$language" && ls)
    actual=$(cd "$prefix/share/hoshinotamago/texts/$language" 2>/dev/null && ls)
    [ -n "$expected" ] && [ "$actual" = "$expected" ] || fail "installed $language texts: '$actual', expected '$expected'"
done

# Every cue is found in the installed data folder and loads; none would beep.
HOSHI_PROGRAM=$prefix/bin/hoshinotamago
sounds=$("$HOSHI_PROGRAM" --check-sounds) || fail "--check-sounds failed: $sounds"
for cue in ding.wav zannen.wav boo.wav; do
    grep -qx "$cue: $prefix/share/hoshinotamago/$cue" <<<"$sounds" \
        || fail "$cue not found in the installed data folder: $sounds"
done

# The installed program runs: the launcher announces its first entry, and
# says it through the installed speech module.
log=$TMPDIR/hoshi-e2e-installed.log
PROGRAM_LOG=$log PROGRAM_ENV="-u DISPLAY WAYLAND_DISPLAY=hoshi-no-compositor" start_launcher -display "$DISPLAY"
wait_for_spoken --last "いち、おせばわかる"
! grep -q "a module cannot be used" "$log" || fail "the installed modules: $(cat "$log")"
# The icon is set after the first paint, from the hicolor folder of the prefix.
has_icon() { [[ $(xprop -id "$launcher" _NET_WM_ICON 2>/dev/null) == "_NET_WM_ICON(CARDINAL)"* ]]; }
within 5 has_icon || fail "the launcher has no window icon: $(xprop -id "$launcher" _NET_WM_ICON | head -c 100) (libqt6svg6 installed?)"
quit_launcher
echo "installed tree e2e passed"
