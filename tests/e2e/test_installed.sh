# SPDX-License-Identifier: GPL-3.0-or-later
# `cmake --install` into a private prefix: the program finds its sounds, texts, modules and icon there and
# starts, speaking, with only Qt's -display and a Wayland name that leads nowhere; its first cue is real
# sound on a private sound server. Without usable modules it beeps, says why once a module, and goes on.
source "$(dirname "$0")/lib.sh"

build_dir=$(cd "$(dirname "$HOSHI_PROGRAM")/.." && pwd)
prefix=$(mktemp -d)
cmake --install "$build_dir" --prefix "$prefix" >/dev/null || fail "cmake --install failed"
id=io.github.hoshinotamago.HoshiNoTamago
for file in applications/$id.desktop icons/hicolor/scalable/apps/$id.svg metainfo/$id.metainfo.xml; do
    [ -f "$prefix/share/$file" ] || fail "not installed: share/$file"
done
for language in japanese english; do
    expected=$(cd "$build_dir/bin/texts/$language" && ls)
    actual=$(cd "$prefix/share/hoshinotamago/texts/$language" 2>/dev/null && ls)
    [ -n "$expected" ] && [ "$actual" = "$expected" ] || fail "installed $language texts: '$actual', expected '$expected'"
done
sounds=$("$prefix/bin/hoshinotamago" --check-sounds) || fail "--check-sounds failed: $sounds"
for cue in ding zannen boo; do
    grep -qx "$cue.wav: $prefix/share/hoshinotamago/$cue.wav" <<<"$sounds" || fail "$cue.wav not found in the installed data folder: $sounds"
done

start_sound_server
# loudest FILE: the largest 16-bit sample recorded.
loudest() {
    /usr/bin/python3 -c 'import sys, array
a = array.array("h"); data = open(sys.argv[1], "rb").read()
a.frombytes(data[: len(data) // 2 * 2]); print(max((abs(s) for s in a), default=0))' "$1"
}
loud() { [ "$(loudest "$1")" -gt 1000 ]; }
# miss_in_the_drill FILE ARGUMENT...: the sink recorded to FILE while the launcher
# starts with ARGUMENTs and the alphabet drill's target is announced again after a miss.
miss_in_the_drill() {
    local target
    parec -d hoshi.monitor --format=s16le --rate=22050 --channels=1 --raw >"$1" &
    recorder=$!
    sleep 0.3
    start_launcher "${@:2}"
    open_window 3 "アルファベットに挑戦" >/dev/null
    press space
    target=$(wait_for_target)
    clear_clipboard
    press_expect "$(miss_key "$target")" "$target"
}

log=$TMPDIR/hoshi-e2e-installed.log
HOSHI_PROGRAM=$prefix/bin/hoshinotamago PROGRAM_LOG=$log PROGRAM_ENV="-u DISPLAY WAYLAND_DISPLAY=hoshi-no-compositor" \
    miss_in_the_drill "$TMPDIR/real.raw" -display "$DISPLAY"
within 5 loud "$TMPDIR/real.raw" || fail "the first cue was not heard on the sound server"
! grep -q -e "a module cannot be used" -e "beeping" "$log" || fail "the installed modules: $(cat "$log")"
spoken_texts | grep -qx "いち、おせばわかる" || fail "nothing said through the installed speech module"
has_icon() { [[ $(xprop -id "$launcher" _NET_WM_ICON 2>/dev/null) == "_NET_WM_ICON(CARDINAL)"* ]]; }
within 5 has_icon || fail "the launcher has no window icon (libqt6svg6 installed?)"
close_window Escape "アルファベットに挑戦"
quit_launcher
kill "$recorder"

# The program alone in a folder without its modules, then with broken ones.
alone=$TMPDIR/alone
mkdir -p "$alone"
cp "$HOSHI_PROGRAM" "$(dirname "$HOSHI_PROGRAM")"/*.wav "$alone/"
for case in missing broken; do
    [ "$case" = broken ] && printf 'not a module' | tee "$alone/libhoshinotamago-sound.so" >"$alone/libhoshinotamago-speech.so"
    log=$TMPDIR/hoshi-e2e-$case.log
    HOSHI_PROGRAM=$alone/hoshinotamago PROGRAM_LOG=$log miss_in_the_drill "$TMPDIR/$case.raw"
    sleep 1
    kill "$PROGRAM_PID" "$recorder" 2>/dev/null || true
    wait "$PROGRAM_PID" "$recorder" 2>/dev/null || true
    for lost in "nothing is spoken" "cues beep"; do
        said=$(grep -c "a module cannot be used .*; $lost" "$log" || true)
        [ "$said" -eq 1 ] || fail "$case modules: '$lost' said $said times: $(cat "$log")"
    done
    [ "$(loudest "$TMPDIR/$case.raw")" -eq 0 ] || fail "$case module: a sound played on the sound server"
done
grep -q "libhoshinotamago-sound.so" "$TMPDIR/hoshi-e2e-broken.log" || fail "the broken module is not named: $(cat "$TMPDIR/hoshi-e2e-broken.log")"
