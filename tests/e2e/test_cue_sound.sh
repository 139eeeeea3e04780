# SPDX-License-Identifier: GPL-3.0-or-later
# The first cue after the start is the real sound, recorded from a private
# sound server; without usable modules the program beeps, says why once for
# each module on standard error, and goes on announcing.
source "$(dirname "$0")/lib.sh"

start_sound_server

# loudest FILE: the largest sample recorded.
loudest() {
    /usr/bin/python3 -c 'import sys, array
a = array.array("h"); data = open(sys.argv[1], "rb").read()
a.frombytes(data[: len(data) // 2 * 2]); print(max((abs(s) for s in a), default=0))' "$1"
}
loud() { [ "$(loudest "$1")" -gt 1000 ]; }

# miss_in_the_drill FILE: what the sink plays recorded to FILE (16-bit
# samples) while the program starts, opens the alphabet drill, starts it and
# takes a key that is not the target: the target is announced again.
miss_in_the_drill() {
    local target
    parec -d hoshi.monitor --format=s16le --rate=22050 --channels=1 --raw >"$1" &
    RECORDER_PID=$!
    sleep 0.3
    start_launcher
    press 3
    focus_window "$(window_named "アルファベットに挑戦")"
    press space
    target=$(wait_for_target)
    clear_clipboard
    press_expect "$(miss_key "$target")" "$target"
}

# stop_program: the program and the recorder end.
stop_program() {
    kill "$PROGRAM_PID" "$RECORDER_PID" 2>/dev/null || true
    wait "$PROGRAM_PID" "$RECORDER_PID" 2>/dev/null || true
}

miss_in_the_drill "$TMPDIR/real.raw"
within 5 loud "$TMPDIR/real.raw" || fail "the first cue was not heard on the sound server"
stop_program
! grep -q "beeping" "$TMPDIR"/hoshi-e2e-*.log || fail "a cue beeped: $(cat "$TMPDIR"/hoshi-e2e-*.log)"

# The program alone in a folder, without its modules: a beep, said once each.
alone=$TMPDIR/alone
mkdir -p "$alone"
cp "$HOSHI_PROGRAM" "$(dirname "$HOSHI_PROGRAM")"/*.wav "$alone/"
for case in missing broken; do
    [ "$case" = broken ] && printf 'not a module' | tee "$alone/libhoshinotamago-sound.so" >"$alone/libhoshinotamago-speech.so"
    log=$TMPDIR/hoshi-e2e-$case.log
    HOSHI_PROGRAM=$alone/hoshinotamago PROGRAM_LOG=$log miss_in_the_drill "$TMPDIR/$case.raw"
    sleep 1
    stop_program
    for lost in "nothing is spoken" "cues beep"; do
        said=$(grep -c "a module cannot be used .*; $lost" "$log" || true)
        [ "$said" -eq 1 ] || fail "$case modules: '$lost' said $said times: $(cat "$log")"
    done
    [ "$(loudest "$TMPDIR/$case.raw")" -eq 0 ] || fail "$case module: a sound played on the sound server"
done
grep -q "libhoshinotamago-sound.so" "$TMPDIR/hoshi-e2e-broken.log" || fail "the broken module is not named: $(cat "$TMPDIR/hoshi-e2e-broken.log")"
echo "PASS cue sound"
