#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Prints, for the release build under a private Xvfb: start-up to the first
# announcement, key-down to announcement in the launcher, the key guide, a
# drill and the typing window, resident memory and idle CPU, next to a bare
# Qt Widgets program built here as the floor; and the same start-up and keys
# to the first text handed to a private speech-dispatcher (bench/speech.sh);
# and the records: the hand-off at time-up, the file's size, and the records
# window opened over 100,000 runs (RECORDS_RUNS), in the process and from K;
# and (bench/heard.sh) the seconds of sound one key gives in each mode, alone
# and with Orca. It measures; it asserts nothing.
# STARTS (9), REPEATS (200) and IDLE_SECONDS (10) change the sample sizes;
# QUIET_WAIT (120) is how long to wait for a quiet machine before the starts;
# KEEP_LOGS=DIR keeps speech-dispatcher's logs and the program's output there.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
dpkg-query -W -f='${Status}' libxtst-dev 2>/dev/null | grep -q "ok installed" ||
    { sudo=""; [ "$(id -u)" -ne 0 ] && sudo=sudo; $sudo apt-get install -y -qq libxtst-dev; }
cmake --preset release >/dev/null && cmake --build --preset release -j2 >/dev/null
cmake --build --preset release -j2 --target records_bench >/dev/null
cmake -S bench -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/bench >/dev/null

starts=${STARTS:-9}
repeats=${REPEATS:-200}
idle=${IDLE_SECONDS:-10}
records_runs=${RECORDS_RUNS:-100000}
probe=build/bench/clipboard_probe
bare=build/bench/bare_app
program=build/release/bin/hoshinotamago
first='１\r\n押せばわかる'
workdir=$(mktemp -d)
pids=()
source bench/speech.sh

finish() {
    set +e
    kill "${pids[@]}" 2>/dev/null
    session_stop
    if [ -n "${KEEP_LOGS:-}" ]; then
        mkdir -p "$KEEP_LOGS" && cp -r "$HOSHI_SPEECHD_DIR/log" "$workdir/program.log" "$KEEP_LOGS/"
    fi
    rm -rf "$workdir"
}
trap finish EXIT
trap 'exit 130' INT TERM
fifo=$workdir/xvfb-display; mkfifo "$fifo"
Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1280x1024x24 3>"$fifo" 2>/dev/null &
read -r number <"$fifo"
export DISPLAY=":$number"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
setxkbmap -model jp106 -layout jp
session_start

clipboard() { xclip -o -selection clipboard 2>/dev/null || true; }

wait_for_text() {
    local expected actual
    expected=$(printf '%b' "$1")
    for _ in $(seq 200); do
        actual=$(clipboard; printf x)
        [ "${actual%x}" = "$expected" ] && return 0
        sleep 0.05
    done
    echo "no announcement '$1'" >&2
    return 1
}

window_named() {
    local id
    for _ in $(seq 200); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.05
    done
    echo "no window $1" >&2
    return 1
}

focus() { xdotool windowfocus --sync "$1"; sleep 0.3; }
resident_kib() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }
cpu_ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'; }

# idle_cpu PID: CPU seconds the process used over the idle seconds.
idle_cpu() {
    local before
    before=$(cpu_ticks "$1")
    sleep "$idle"
    awk -v a="$before" -v b="$(cpu_ticks "$1")" -v hz="$(getconf CLK_TCK)" 'BEGIN { printf "%.2f", (b - a) / hz }'
}

# start_measured [--speaks] PROGRAM [ARGUMENT...]: started and shown (and,
# with --speaks, its first text read by speech-dispatcher); sets STARTED_PID.
start_measured() {
    local speaks="" offset
    [ "$1" = --speaks ] && { speaks=1; shift; }
    printf 'bench' | xclip -selection clipboard
    offset=$(log_size)
    "$@" >>"$workdir/program.log" 2>&1 &
    STARTED_PID=$!
    pids+=("$STARTED_PID")
    wait_for_text "$first"
    [ -z "$speaks" ] || wait_for_speak "$offset"
    sleep 1.5
}

# figure OUTPUT FIELD: the number after FIELD on the probe's first median line.
figure() { awk -v field="$2" '/median/ { for (i = 1; i <= NF; ++i) if ($i == field) print $(i + 1); exit }' <<<"$1"; }
startup_median() { awk -v kind="$2" -v p="$3" '$1 == kind && $2 == p { print $4 }' <<<"$1"; }

# quiet: waits up to QUIET_WAIT seconds (120) for a one-minute load below
# 0.3, so that the fixed costs of a start are not hidden by the machine's.
quiet() {
    for _ in $(seq "${QUIET_WAIT:-120}"); do
        awk '{ exit !($1 < 0.3) }' /proc/loadavg && return 0
        sleep 1
    done
}

quiet
echo "== start-up to first announcement and first spoken text ($starts starts each, load $(cut -d' ' -f1 /proc/loadavg)) =="
startups=$("$probe" startup "$first" "$starts" "$bare" --speech "$protocol_log" "$program" | tee -a /dev/stderr)
bare_startup=$(startup_median "$startups" startup_to_first_announcement_ms "$bare")
hoshi_startup=$(startup_median "$startups" startup_to_first_announcement_ms "$program")
hoshi_speech_startup=$(startup_median "$startups" startup_to_first_speech_ms "$program")
awk -v h="$hoshi_startup" -v b="$bare_startup" \
    'BEGIN { printf "startup_ratio_to_floor %.2f\nstartup_over_floor_ms %.1f\n", h / b, h - b }'
echo "load_after_startups $(cut -d' ' -f1 /proc/loadavg)"
# What the dynamic loader maps before main(); sound and speech come later, from the module.
bare_libraries=$(ldd "$bare" | wc -l)
hoshi_libraries=$(ldd "$program" | wc -l)
echo "libraries_before_main bare $bare_libraries hoshinotamago $hoshi_libraries"

echo "== resident memory and idle CPU =="
start_measured "$bare"
bare_pid=$STARTED_PID
bare_rss=$(resident_kib "$bare_pid")
bare_idle=$(idle_cpu "$bare_pid")
kill "$bare_pid"
start_measured "$program" --no-voice
quiet_pid=$STARTED_PID
quiet_rss=$(resident_kib "$quiet_pid")
kill "$quiet_pid"
# With the voice on, after its first text, so that MeCab's dictionary is in.
start_measured --speaks "$program"
hoshi_pid=$STARTED_PID
hoshi_rss=$(resident_kib "$hoshi_pid")
hoshi_idle=$(idle_cpu "$hoshi_pid")
echo "bare: ${bare_rss} KiB, ${bare_idle} s CPU over ${idle} s; hoshinotamago: ${hoshi_rss} KiB, ${hoshi_idle} s;" \
     "--no-voice: ${quiet_rss} KiB"

echo "== key-down to announcement ($repeats keys each) =="
launcher=$(window_named "ほしのたまごいりぐち")
focus "$launcher"
launcher_keys=$("$probe" keys Down "$repeats" | tee -a /dev/stderr)
launcher_speech=$("$probe" speech Down "$repeats" "$protocol_log" | tee -a /dev/stderr)

# The key guide: a letter announces its display text, then its reading.
xdotool key 1
guide=$(window_named "押せばわかる")
focus "$guide"
guide_keys=$("$probe" keys a "$repeats" "Ａ" | tee -a /dev/stderr)
guide_speech=$("$probe" speech a "$repeats" "$protocol_log" | tee -a /dev/stderr)
xdotool key alt+F4
focus "$launcher"

# The alphabet drill: a digit is never a target, so every key is a miss,
# which announces the same target again. A run lasts 30 s and a wrong key
# after it says nothing, so each figure gets a run of its own (sets target).
start_drill() {
    xdotool key 3
    drill=$(window_named "アルファベットに挑戦")
    focus "$drill"
    printf 'bench' | xclip -selection clipboard
    xdotool key space
    for _ in $(seq 100); do target=$(clipboard); [ "$target" != bench ] && [ -n "$target" ] && break; sleep 0.05; done
}
start_drill
drill_keys=$("$probe" keys 1 "$repeats" "$target" | tee -a /dev/stderr)
xdotool key Escape
focus "$launcher"
start_drill
drill_speech=$("$probe" speech 1 "$repeats" "$protocol_log" | tee -a /dev/stderr)
xdotool key Escape
focus "$launcher"

# The Japanese typing window with a practice file loaded through its dialog:
# Ctrl says the current line again (entry 1, the file's second line).
printf '%s\n' "いちぎょうめ" "にぎょうめの練習" >"$workdir/practice.txt"
xdotool key 5
typing=$(window_named "応用日本語入力　３分")
focus "$typing"
xdotool key ctrl+o
dialog=""
for _ in $(seq 100); do
    dialog=$(xdotool search --onlyvisible --name '.' 2>/dev/null | grep -vx -e "$launcher" -e "$typing" | head -n 1 || true)
    [ -n "$dialog" ] && break
    sleep 0.05
done
focus "$dialog"
xdotool type --delay 20 "$workdir/practice.txt"
sleep 0.3
xdotool key Return
for _ in $(seq 100); do xdotool search --onlyvisible --name '.' 2>/dev/null | grep -qx "$dialog" || break; sleep 0.05; done
focus "$typing"
typing_keys=$("$probe" keys Control_L "$repeats" "にぎょうめの練習" | tee -a /dev/stderr)
typing_speech=$("$probe" speech Control_L "$repeats" "$protocol_log" | tee -a /dev/stderr)
hoshi_rss_modes=$(resident_kib "$hoshi_pid")
xdotool key alt+f x

# The English window: opened, and its first English text handed to speech-dispatcher.
echo "== English window opened, to its first text =="
english_title="ENGLISH Three Minute"
english_text="Press Control O to open a text file."
focus "$launcher"
english=$(python3 bench/window_open.py 6 "$english_title" "$english_text" "$protocol_log" 5 english | tee -a /dev/stderr)
kill "$hoshi_pid"
# The same with a speech service that takes the connection and never answers.
silent=$workdir/silent.sock
python3 -c 'import socket, sys, time; s = socket.socket(socket.AF_UNIX); s.bind(sys.argv[1]); s.listen(1000); time.sleep(1e6)' \
    "$silent" >/dev/null &
pids+=($!)
for _ in $(seq 50); do [ -S "$silent" ] && break; sleep 0.1; done
SPEECHD_ADDRESS=unix_socket:$silent start_measured "$program"
pids+=("$STARTED_PID")
focus "$(window_named "ほしのたまごいりぐち")"
english_silent=$(python3 bench/window_open.py 6 "$english_title" "$english_text" "$protocol_log" 5 silent \
                 | tee -a /dev/stderr)

# The records window over a full records file of its own: K in the launcher
# to the window's first announcement, and to its first row of figures.
echo "== records, $records_runs runs stored =="
kill "$STARTED_PID"
records_figures=$(build/release/bin/records_bench "$records_runs" 2>/dev/null | tee -a /dev/stderr)
mkdir -p "$workdir/data/hoshinotamago"
first_row=$(build/release/bin/records_bench fill "$workdir/data/hoshinotamago/records.sqlite" "$records_runs" 2>/dev/null)
XDG_DATA_HOME=$workdir/data start_measured "$program"
launcher=$(window_named "ほしのたまごいりぐち")
records_open() {
    local times=() out
    for _ in $(seq "$starts"); do
        focus "$launcher"
        out=$("$probe" keys k 1 "$1")
        times+=("$(figure "$out" median)")
        xdotool key Escape
        sleep 0.5
    done
    printf '%s\n' "${times[@]}" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}
records_said=$(records_open "よみこみちゅう")
records_filled=$(records_open "$first_row")
echo "records window from K: first announcement $records_said ms, first row $records_filled ms (medians of $starts)"
records_figure() { awk -v field="$1" -v at="${2:-2}" '$1 == field { print $at }' <<<"$records_figures"; }

row() { printf '| %s | %s | %s |\n' "$1" "$(figure "$2" median)" "$(figure "$2" p95)"; }
echo
echo "== summary (ms unless noted) =="
echo "| figure | hoshinotamago | bare Qt floor | ratio or difference |"
echo "|---|---|---|---|"
awk -v h="$hoshi_startup" -v b="$bare_startup" -v n="$starts" 'BEGIN {
    printf "| start-up to first announcement, median of %d starts taken in turns (ms) | %.1f | %.1f | %.2f x |\n", n, h, b, h / b }'
echo "| shared libraries loaded before main() | $hoshi_libraries | $bare_libraries | $((hoshi_libraries - bare_libraries)) more |"
awk -v h="$hoshi_speech_startup" -v a="$hoshi_startup" -v n="$starts" 'BEGIN {
    printf "| start-up to first text read by speech-dispatcher, median of the same %d starts (ms) | %.1f | | %+.1f ms to its announcement |\n", n, h, h - a }'
awk -v h="$hoshi_rss" -v b="$bare_rss" 'BEGIN {
    printf "| resident memory after start, voice on, after its first text (MiB) | %.1f | %.1f | +%.1f MiB |\n", h / 1024, b / 1024, (h - b) / 1024 }'
awk -v h="$quiet_rss" -v b="$bare_rss" 'BEGIN {
    printf "| resident memory after start with --no-voice (MiB) | %.1f | %.1f | +%.1f MiB |\n", h / 1024, b / 1024, (h - b) / 1024 }'
echo "| CPU over ${idle} s idle (s) | ${hoshi_idle} | ${bare_idle} | |"
awk -v h="$hoshi_rss_modes" 'BEGIN { printf "| resident memory after the key figures below (MiB) | %.1f | | |\n", h / 1024 }'
echo
echo "| key-down to announcement ($repeats keys) | median (ms) | 95th percentile (ms) |"
echo "|---|---|---|"
row "launcher: Down announces the next entry" "$launcher_keys"
row "key guide: a letter announces its name and reading" "$guide_keys"
row "alphabet drill: a wrong key announces the target again" "$drill_keys"
row "Japanese typing: Ctrl says the current line again (practice file loaded)" "$typing_keys"
echo
echo "| key-down to the first text read by speech-dispatcher ($repeats keys) | median (ms) | 95th percentile (ms) |"
echo "|---|---|---|"
row "launcher: Down" "$launcher_speech"
row "key guide: a letter" "$guide_speech"
row "alphabet drill: a wrong key" "$drill_speech"
row "Japanese typing: Ctrl" "$typing_speech"
echo
echo "| English window (5 opens) | shown, median (ms) | first English text handed over, median (ms) |"
echo "|---|---|---|"
awk '/^english median/ { print "| speech-dispatcher answering | " $4 " | " $6 " |" }' <<<"$english"
awk '/^silent median/ { print "| a speech service that never answers | " $4 " | " $6 " |" }' <<<"$english_silent"
echo
echo "| records, $records_runs runs stored | median | 95th percentile |"
echo "|---|---|---|"
echo "| time-up: a finished run handed over on the UI thread (ms) | $(records_figure records_hand_off_ms 3) | $(records_figure records_hand_off_ms 5) |"
echo "| records window opened, to its first row of figures, in the process (ms) | $(records_figure records_window_figures_ms 3) | $(records_figure records_window_figures_ms 5) |"
echo "| K in the launcher to the records window's first announcement on the clipboard (ms) | $records_said | |"
echo "| K in the launcher to its first row of figures on the clipboard (ms) | $records_filled | |"
echo "| records file per 1,000 runs (KiB) | $(records_figure records_size_per_1000_runs_kib) | |"
echo
if command -v orca >/dev/null && [ -x /usr/lib/speech-dispatcher-modules/sd_espeak-ng ]; then
    echo "| seconds of sound for one key (espeak-ng, recorded) | alone | with Orca in Japanese |"
    echo "|---|---|---|"
    bash tests/e2e/with_xvfb.sh bench/heard.sh "$program" | grep '^|'
else
    echo "(no Orca or espeak-ng: the seconds of sound are not measured)"
fi
