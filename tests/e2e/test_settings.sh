# SPDX-License-Identifier: GPL-3.0-or-later
# Choices kept from one run to the next in the one settings file and no other;
# high contrast read from the window's pixels; the voice's rate as the output
# module is given it; a broken settings file said and the program going on.
source "$(dirname "$0")/lib.sh"

conf=$XDG_CONFIG_HOME/hoshinotamago/hoshinotamago.conf
workdir=$(mktemp -d)
printf 'apple pie\n' >"$workdir/practice.txt"
kept() { grep -qx "$1" "$conf" || fail "not kept: $1 in $(cat "$conf")"; }
# time_contrast: the contrast ratio of the two commonest colours where the
# English window draws its time (3-30 % across, 72-80 % down).
time_contrast() {
    focus_window "$english"
    sleep 0.5
    eval "$(xdotool getwindowgeometry --shell "$english")"
    import -window root -crop "$((WIDTH * 27 / 100))x$((HEIGHT * 8 / 100))+$((X + WIDTH * 3 / 100))+$((Y + HEIGHT * 72 / 100))" \
        -depth 8 -format %c histogram:info:- | python3 -c '
import re, sys
counts = sorted(((int(n), (int(r), int(g), int(b))) for n, r, g, b in
                 re.findall(r"(\d+): \((\d+),(\d+),(\d+)", sys.stdin.read())), reverse=True)
def lum(c):
    l = [v / 255 / 12.92 if v <= 10.31 else ((v / 255 + 0.055) / 1.055) ** 2.4 for v in c]
    return 0.2126 * l[0] + 0.7152 * l[1] + 0.0722 * l[2]
a, b = sorted((lum(counts[0][1]), lum(counts[1][1])))
print(f"{(b + 0.05) / (a + 0.05):.2f}")'
}
harness=$(find "$XDG_CONFIG_HOME" -type f | sort)

start_launcher
typing=$(open_window 5 "応用日本語入力　３分")
press alt+s Return
window_named "応用日本語入力　１分" >/dev/null
open_practice_file "$typing" "$workdir/practice.txt"
quit_launcher
kept minutes=1
kept "japanese_folder=$workdir"
others=$(find "$XDG_CONFIG_HOME" -type f ! -path "$conf" | sort | comm -23 - <(printf '%s\n' "$harness"))
[ -z "$others" ] || fail "other files written: $others"

# The choice back in the next run; high contrast chosen in the launcher's menu.
start_launcher
press 6
english=$(window_named "ENGLISH One Minute")
designed=$(time_contrast)
focus_window "$launcher"
press alt+s h
within 5 grep -qx 'high_contrast=true' "$conf" || fail "high contrast was not kept: $(cat "$conf")"
high=$(time_contrast)
python3 -c "import sys; sys.exit(not ($designed < 7 <= $high))" || fail "time drawn at $designed:1 and $high:1"
quit_launcher

# The user's own rate (10) until one is chosen, said at the new rate and kept; set
# on connecting in the next run, for English too; ふつう gives the user's own back.
start_launcher
HEARD_RATE=10 wait_for_heard "いち、おせばわかる"
press alt+s 2
HEARD_RATE=-25 wait_for_heard "こえのはやさ、ゆっくり に したよ"
kept rate=-25
quit_launcher
connected=$(speech_connections)
start_launcher
HEARD_RATE=-25 wait_for_heard "いち、おせばわかる"
first=$(speech_events | awk -F'\t' -v skip="$connected" '$1 == "connect" { n++ } n > skip && $1 != "connect"' | head -n 1)
[ "$first" = "$(printf 'rate\thoshinotamago\t-25')" ] || fail "the new connection began with: $first"
press 6
window_named "ENGLISH One Minute" >/dev/null
HEARD_RATE=-25 wait_for_heard "Press Control O to open a text file."
focus_window "$launcher"
press alt+s 3
HEARD_RATE=10 wait_for_heard "こえのはやさ、ふつー に したよ"
! grep -q '^rate=' "$conf" || fail "a rate was kept for the user's own: $(cat "$conf")"
quit_launcher

# A broken file: said on standard error once, the defaults used, the program goes on.
printf '[typing]\nminutes=7\n' >"$conf"
start_launcher --no-voice
press 5
window_named "応用日本語入力　３分" >/dev/null
quit_launcher
[ "$(grep -c "settings file cannot be read" "$TMPDIR/hoshi-e2e-$$.log")" -eq 1 ] || fail "the broken file was not told once"
