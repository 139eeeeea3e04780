# SPDX-License-Identifier: GPL-3.0-or-later
# Seconds of sound a child hears for one key in each mode, alone and with
# Orca: the real speech-dispatcher with Debian's own configuration and its
# espeak-ng voice, playing into a private PulseAudio null sink that is
# recorded. Run by bench/run.sh as
#   bash tests/e2e/with_xvfb.sh bench/heard.sh build/release/bin/hoshinotamago
# and prints one table row a key: "| what | alone | with Orca |".
source "$(dirname "$0")/../tests/e2e/lib.sh"
here=$(cd "$(dirname "$0")" && pwd)

start_sound_server
start_window_manager

# The private server again, now with the stock configuration and voice,
# its protocol log kept, playing to the sound server above.
speechd_stop
conf=$HOSHI_SPEECHD_DIR/conf
rm -rf "$conf"
cp -r /etc/speech-dispatcher "$conf"
cat >>"$conf/speechd.conf" <<EOF
LogDir "$HOSHI_SPEECHD_DIR/log"
CustomLogFile "protocol" "$HOSHI_SPEECHD_DIR/log/protocol.log"
DisableAutoSpawn
AudioOutputMethod "pulse"
DefaultModule espeak-ng
EOF
speechd_start

recording=$TMPDIR/heard.raw
parec -d hoshi.monitor --format=s16le --rate=22050 --channels=1 --raw --latency-msec=20 >"$recording" &

# sound_after OFFSET: "DELAY SPAN" of the sound recorded after OFFSET.
sound_after() { /usr/bin/python3 "$here/sound_span.py" "$recording" "$1"; }
recorded() { stat -c %s "$recording"; }
# quiet: nothing heard for QUIET seconds (what is playing ends first).
quiet() { LIMIT=0 sound_after "$(recorded)" >/dev/null; }

# heard NAME KEYS: KEYS pressed; the seconds of sound until quiet, in SPANS[NAME].
declare -A SPANS
ORDER=()
heard() {
    local name=$1 from span
    shift
    quiet
    from=$(recorded)
    press "$@"
    read -r _ span < <(sound_after "$from")
    SPANS[$name]+="$span "
    [[ " ${ORDER[*]} " == *" $name "* ]] || ORDER+=("$name")
}

# open_mode DIGIT TITLE: the mode's window up, holding the keyboard, quiet.
open_mode() {
    press "$1"
    focus_window "$(window_named "$2")"
    quiet
}

walk() {
    start_launcher
    quiet
    heard "launcher: Down" Down
    open_mode 1 "押せばわかる"
    heard "key guide: A" a
    heard "key guide: F1" F1
    press alt+F4
    window_gone "押せばわかる"
    focus_window "$launcher"
    open_mode 2 "どのゆびつかうの"
    heard "finger guide: the right key" f
    press Escape
    window_gone "どのゆびつかうの"
    focus_window "$launcher"
    open_mode 3 "アルファベットに挑戦"
    clear_clipboard
    press space
    local target
    target=$(wait_for_target)
    heard "alphabet drill: a hit" "${target,,}"
    press Escape
    window_gone "アルファベットに挑戦"
    focus_window "$launcher"
    open_mode 5 "応用日本語入力　３分"
    heard "Japanese window: Escape" Escape
    press alt+F4
    window_gone "応用日本語入力　３分"
    focus_window "$launcher"
    quiet
    heard "English window opened" 6
    focus_window "$(window_named "ENGLISH Three Minute")"
    press alt+F4
    window_gone "ENGLISH Three Minute"
    quit_launcher
}

walk
# Orca as on a Japanese desktop: its own words and voice in Japanese (the
# locale made here, for Orca alone).
mkdir -p "$TMPDIR/locale"
localedef -i ja_JP -f UTF-8 "$TMPDIR/locale/ja_JP.UTF-8" 2>/dev/null || fail "no ja_JP locale data"
set_screen_reader_enabled true
LOCPATH=$TMPDIR/locale LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 orca --replace >"$TMPDIR/orca.out" 2>&1 &
orca_on() { [ -n "$(spoken_texts Orca)" ]; }
within 30 orca_on || fail "Orca did not speak: $(cat "$TMPDIR/orca.out")"
walk

for name in "${ORDER[@]}"; do
    read -r alone with_orca <<<"${SPANS[$name]}"
    echo "| $name | $alone | $with_orca |"
done
# KEEP_LOGS=DIR: what every client sent speech-dispatcher, kept there.
if [ -n "${KEEP_LOGS:-}" ]; then
    /usr/bin/python3 "$HOSHI_E2E_DIR/ssip_log.py" "$HOSHI_SPEECHD_DIR/log/protocol.log" >"$KEEP_LOGS/heard-protocol.txt"
fi
