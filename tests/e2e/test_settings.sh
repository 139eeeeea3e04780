# SPDX-License-Identifier: GPL-3.0-or-later
# Choices kept from one run to the next in the one settings file, and no
# other file written under the configuration folder; high contrast read from
# the window's pixels; the voice's rate as speech-dispatcher's output module
# is given it; a broken settings file said and the program going on.
source "$(dirname "$0")/lib.sh"

conf=$XDG_CONFIG_HOME/hoshinotamago/hoshinotamago.conf
workdir=$(mktemp -d)
printf 'apple pie\n' >"$workdir/practice.txt"

# contrast_at WINDOW LEFT TOP RIGHT BOTTOM (shares of the window, in percent):
# the contrast ratio of the two commonest colours drawn there.
contrast_at() {
    local geometry x y w h
    geometry=$(xdotool getwindowgeometry --shell "$1")
    eval "$geometry"
    w=$((WIDTH * ($4 - $2) / 100)) h=$((HEIGHT * ($5 - $3) / 100))
    import -window root -crop "${w}x${h}+$((X + WIDTH * $2 / 100))+$((Y + HEIGHT * $3 / 100))" -depth 8 \
        -format %c histogram:info:- | python3 -c '
import re, sys
counts = sorted(((int(m[0]), tuple(int(v) for v in m[1:4])) for m in
                 re.findall(r"(\d+): \((\d+),(\d+),(\d+)", sys.stdin.read())), reverse=True)
def lum(c):
    l = [v / 255 for v in c]
    l = [v / 12.92 if v <= 0.04045 else ((v + 0.055) / 1.055) ** 2.4 for v in l]
    return 0.2126 * l[0] + 0.7152 * l[1] + 0.0722 * l[2]
a, b = sorted((lum(counts[0][1]), lum(counts[1][1])))
print(f"{(b + 0.05) / (a + 0.05):.2f}")'
}

# What the harness put there itself (the private speech-dispatcher's configuration).
harness=$(find "$XDG_CONFIG_HOME" -type f | sort)

# First run: one minute chosen and a practice file opened in the Japanese window.
start_launcher
press 5
typing=$(window_named "応用日本語入力　３分")
focus_window "$typing"
press alt+s Return
window_named "応用日本語入力　１分" >/dev/null
open_practice_file "$typing" "$workdir/practice.txt"
quit_launcher
grep -qx 'minutes=1' "$conf" || fail "the run length was not kept: $(cat "$conf")"
grep -qx "japanese_folder=$workdir" "$conf" || fail "the folder was not kept: $(cat "$conf")"
others=$(find "$XDG_CONFIG_HOME" -type f ! -path "$conf" | sort | comm -23 - <(printf '%s\n' "$harness"))
[ -z "$others" ] || fail "other files written: $others"

# Second run: the choice is back; high contrast chosen in the launcher's menu.
start_launcher
press 6
english=$(window_named "ENGLISH One Minute")
focus_window "$english"
sleep 0.5
designed=$(contrast_at "$english" 3 72 30 80)
focus_window "$launcher"
press alt+s h
within 5 grep -qx 'high_contrast=true' "$conf" || fail "high contrast was not kept: $(cat "$conf")"
focus_window "$english"
sleep 0.5
high=$(contrast_at "$english" 3 72 30 80)
python3 -c "import sys; sys.exit(not ($designed < 7 <= $high))" || fail "time drawn at $designed:1 and $high:1"
quit_launcher

# Third run: the voice at the user's own rate (10 here) until a rate is
# chosen; the choice said at the new rate, kept at once.
start_launcher
HEARD_RATE=10 wait_for_heard "いち、おせばわかる"
press alt+s 2
HEARD_RATE=-25 wait_for_heard "こえのはやさ、ゆっくり に したよ"
grep -qx 'rate=-25' "$conf" || fail "the rate was not kept: $(cat "$conf")"
quit_launcher

# Fourth run: the rate set on connecting, before the first text, for the
# English voice too; ふつう gives the user's own back and keeps no rate.
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
count=$(grep -c "settings file cannot be read" "${TMPDIR:-/tmp}/hoshi-e2e-$$.log" || true)
[ "$count" -eq 1 ] || fail "the broken file was told $count times"
echo "settings e2e passed"
