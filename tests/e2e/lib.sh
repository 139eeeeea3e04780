# SPDX-License-Identifier: GPL-3.0-or-later
# Helpers for the end-to-end scripts: start the program, send real keys, read the clipboard as a reading
# tool would and what reached the private speech-dispatcher as a listener would hear it.
set -euo pipefail

HOSHI_E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export HOSHI_SPEECHD_DIR=${HOSHI_SPEECHD_DIR:-${TMPDIR:-/tmp}/speechd}

fail() { echo "FAIL: $*" >&2; exit 1; }

# within SECONDS [!] COMMAND...: COMMAND succeeds (with !: fails) within SECONDS, tried every POLL_STEP (0.1) s.
within() {
    local tries=0 most
    most=$(awk -v s="$1" -v t="${POLL_STEP:-0.1}" 'BEGIN { print int(s / t + 0.5) }')
    shift
    until if [ "$1" = "!" ]; then ! "${@:2}"; else "$@"; fi; do
        [ "$tries" -ge "$most" ] && return 1
        sleep "${POLL_STEP:-0.1}"
        tries=$((tries + 1))
    done
}

# start_sound_server: a PulseAudio of this run whose default sink "hoshi" is a null sink, recorded from hoshi.monitor.
start_sound_server() {
    export PULSE_RUNTIME_PATH=$XDG_RUNTIME_DIR/pulse PULSE_STATE_PATH=$TMPDIR/pulse-state
    pulseaudio --daemonize=no --exit-idle-time=-1 -n --log-target=file:"$TMPDIR/pulse.log" --load=module-native-protocol-unix \
        --load="module-null-sink sink_name=hoshi" --load="module-always-sink" >/dev/null 2>&1 &
    within 5 pactl info >/dev/null 2>&1 || fail "the private sound server did not start: $(cat "$TMPDIR/pulse.log")"
    pactl set-default-sink hoshi
}
clipboard() { xclip -o -selection clipboard 2>/dev/null || true; }
# clipboard_in TEXT...: the clipboard (kept in CLIPBOARD) holds exactly one of the TEXTs.
clipboard_in() {
    local text
    CLIPBOARD=$(clipboard; printf x)
    CLIPBOARD=${CLIPBOARD%x}
    for text in "$@"; do [ "$CLIPBOARD" = "$text" ] && return 0; done
    return 1
}
# wait_for_clipboard TEXT...: the one wait for an announcement, CLIPBOARD_SECONDS (10).
wait_for_clipboard() {
    within "${CLIPBOARD_SECONDS:-10}" clipboard_in "$@" \
        || fail "clipboard is '$(printf %q "$CLIPBOARD")', expected one of: $(printf '%q ' "$@")"
}
wait_for_target() { wait_for_clipboard {A..Z}; echo "$CLIPBOARD"; }
# clear_clipboard: another owner, so that the next announcement, even a repeated one, is seen.
clear_clipboard() { printf 'sentinel' | xclip -selection clipboard; wait_for_clipboard sentinel; }

# start_program [ARGUMENT...]: HOSHI_PROGRAM under env PROGRAM_ENV, output to PROGRAM_LOG; start_launcher: that,
# entry 1 announced and $launcher focused.
start_program() {
    # shellcheck disable=SC2086 # PROGRAM_ENV is a list of env's arguments
    env ${PROGRAM_ENV:-} "$HOSHI_PROGRAM" "$@" >>"${PROGRAM_LOG:-${TMPDIR:-/tmp}/hoshi-e2e-$$.log}" 2>&1 &
    PROGRAM_PID=$!
}
start_launcher() {
    start_program "$@"
    wait_for_clipboard $'１\r\n押せばわかる'
    launcher=$(window_named "ほしのたまごいりぐち")
    focus_window "$launcher"
}
quit_launcher() { focus_window "$launcher"; press Escape; wait_for_exit 10; }

# window_shown TITLE: a visible window of exactly that title, in WINDOW (xdotool does not anchor multibyte patterns).
window_shown() {
    local candidate
    for candidate in $(xdotool search --onlyvisible --name "$1" 2>/dev/null || true); do
        [ "$(xdotool getwindowname "$candidate" 2>/dev/null)" = "$1" ] && WINDOW=$candidate && return 0
    done
    return 1
}
window_named() { within 10 window_shown "$1" || fail "no window titled exactly $1"; echo "$WINDOW"; }
window_gone() { within 5 ! window_shown "$1" || fail "window $1 still open"; }
focus_window() { xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"; sleep 0.2; }
press() { xdotool key --clearmodifiers "$@"; sleep 0.15; }
# open_window KEYS TITLE: KEYS open TITLE, focused, its id printed; close_window
# KEYS TITLE [NEXT]: KEYS close it, NEXT (the launcher) focused. KEYS is split.
# shellcheck disable=SC2086
open_window() { press $1; window_named "$2"; focus_window "$WINDOW"; }
# shellcheck disable=SC2086
close_window() { press $1; window_gone "$2"; focus_window "${3:-$launcher}"; }

# press_expect KEYS TEXT...: pair by pair, KEYS (split) put TEXT on the clipboard; press_hear: said as one event.
press_expect() { press_each wait_for_clipboard "$@"; }
press_hear() { press_each wait_for_spoken "$@"; }
# shellcheck disable=SC2086
press_each() { while [ "$#" -ge 3 ]; do press $2; "$1" "$3"; set -- "$1" "${@:4}"; done; }

start_window_manager() {
    openbox --sm-disable >"$TMPDIR/openbox.log" 2>&1 &
    within 10 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"' \
        || fail "openbox did not start: $(cat "$TMPDIR/openbox.log")"
}

# open_practice_file WINDOW FILE: Ctrl+O's dialog in the typing WINDOW loads FILE.
open_practice_file() {
    focus_window "$1"
    open_window ctrl+o "開く" >/dev/null
    xdotool type --delay 20 "$2"
    sleep 0.3
    close_window Return "開く" "$1"
}

wait_for_exit() {
    within "$1" ! kill -0 "$PROGRAM_PID" 2>/dev/null || fail "program still running after ${1}s"
    wait "$PROGRAM_PID" || fail "exit status $?"
}

# marked_processes: every process of this run but the caller, by with_xvfb.sh's mark.
marked_processes() {
    local pid
    for pid in $(grep -lzxF "HOSHI_E2E_RUN=$HOSHI_E2E_RUN" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3); do
        [ "$pid" = "$$" ] || [ "$pid" = "$BASHPID" ] || [ ! -d "/proc/$pid" ] || echo "$pid"
    done
}

miss_key() { if [ "$1" = Q ]; then echo w; else echo q; fi; }

declare -gA LETTER_READING=(
    [A]=えー [B]=びー [C]=しー [D]=でぃー [E]=いー [F]=えふ [G]=じー [H]=えっち [I]=あい
    [J]=じぇー [K]=けー [L]=える [M]=えむ [N]=えぬ [O]=おー [P]=ぴー [Q]=きゅー [R]=あーる
    [S]=えす [T]=てぃー [U]=ゆー [V]=ぶい [W]=だぶりゅー [X]=えっくす [Y]=わい [Z]=ぜっと)

# set_screen_reader_enabled true|false: the flag a desktop sets when it starts a screen reader.
set_screen_reader_enabled() {
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.freedesktop.DBus.Properties.Set \
        string:org.a11y.Status string:ScreenReaderEnabled variant:boolean:"$1" >/dev/null
}

# speechd_configure: configuration, logs and socket in this run's folder; the user's rate is 10. Its one
# output module writes each text's rate to rates.txt and the text to heard.txt, taking
# HOSHI_SPEECHD_SPEAK_SECONDS (0.5) to "say" it: a text is still being said when the next key comes.
speechd_configure() {
    local dir=$HOSHI_SPEECHD_DIR
    mkdir -p "$dir/conf/modules" "$dir/log" "$XDG_RUNTIME_DIR/speech-dispatcher" "$XDG_CONFIG_HOME/speech-dispatcher"
    export HOSHI_SPEECHD_SOCKET=$XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock
    export SPEECHD_ADDRESS=unix_socket:$HOSHI_SPEECHD_SOCKET
    # A client that cannot connect runs "SPEECHD_CMD --spawn": noted and refused.
    printf '#!/bin/sh\necho "$*" >>"%s/autospawn.log"\nexit 1\n' "$dir" >"$dir/no-autospawn"
    chmod +x "$dir/no-autospawn"
    export SPEECHD_CMD=$dir/no-autospawn
    echo "DisableAutoSpawn" >"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf"
    # The protocol log holds every read from a client, byte for byte: what ssip_log.py decodes.
    cat >"$dir/conf/speechd.conf" <<CONF
LogLevel 3
LogDir "$dir/log"
CustomLogFile "protocol" "$dir/log/protocol.log"
DisableAutoSpawn
DefaultRate 10
AudioOutputMethod "alsa"
AudioALSADevice "null"
AddModule "textfile" "sd_generic" "$dir/conf/modules/textfile.conf"
DefaultModule textfile
CONF
    # \$RATE is the rate the client set, -100 to 100, as it is. The tests run in the C locale.
    cat >"$dir/conf/modules/textfile.conf" <<CONF
GenericExecuteSynth "printf '%s\\\\n' '\$RATE' >>'$dir/rates.txt'; printf '%s\\\\n' \\'\$DATA\\' >>'$dir/heard.txt'; sleep ${HOSHI_SPEECHD_SPEAK_SECONDS:-0.5}"
GenericRateAdd 0
GenericRateMultiply 100
GenericRateForceInteger 1
GenericLanguage "ja" "ja" "utf-8"
GenericLanguage "en-US" "en-us" "utf-8"
GenericLanguage "C" "C" "utf-8"
AddVoice "ja" "FEMALE1" "japanese"
AddVoice "en-US" "MALE1" "english-us"
AddVoice "C" "MALE1" "default"
CONF
}

# speechd_start: the server, with no idle shutdown, answering on its socket.
speechd_start() {
    local dir=$HOSHI_SPEECHD_DIR
    rm -f "$HOSHI_SPEECHD_SOCKET" "$dir/speechd.pid"
    speech-dispatcher --run-single --timeout 0 --communication-method unix_socket \
        --socket-path "$HOSHI_SPEECHD_SOCKET" --config-dir "$dir/conf" --log-dir "$dir/log" \
        --pid-file "$dir/speechd.pid" >>"$dir/log/server.out" 2>&1 &
    echo $! >"$dir/server.pid"
    disown $!
    within 10 speechd_answers || fail "speech-dispatcher did not start: $(cat "$dir/log/server.out")"
}
speechd_answers() {
    /usr/bin/python3 -c 'import socket, sys; socket.socket(socket.AF_UNIX).connect(sys.argv[1])' \
        "$HOSHI_SPEECHD_SOCKET" 2>/dev/null
}
process_gone() { ! grep -qs '^State:[[:space:]]*[^Z]' "/proc/$1/status"; }
speechd_stop() {
    kill -"${1:-TERM}" "$(cat "$HOSHI_SPEECHD_DIR/server.pid")" 2>/dev/null || true
    within 5 process_gone "$(cat "$HOSHI_SPEECHD_DIR/server.pid")" || fail "speech-dispatcher did not end"
}

# speech_events [CLIENT]: what CLIENT (SPEECH_CLIENT, else hoshinotamago) sent, one event a line
# (ssip_log.py); spoken_texts: its texts; spoken_script: with "<cancel>" where it cancelled or stopped.
speech_client() { echo "${1:-${SPEECH_CLIENT:-hoshinotamago}}"; }
speech_events() {
    [ ! -e "$HOSHI_SPEECHD_DIR/log/protocol.log" ] \
        || /usr/bin/python3 "$HOSHI_E2E_DIR/ssip_log.py" "$HOSHI_SPEECHD_DIR/log/protocol.log" | awk -F'\t' -v c="$(speech_client "$@")" '$2 == c'
}
spoken_texts() { speech_events "$@" | awk -F'\t' '$1 == "speak" { print $5 }'; }
spoken_script() {
    speech_events "$@" | awk -F'\t' '$1 == "speak" { print $5 } $1 == "cancel" || $1 == "stop" { print "<cancel>" }'
}
speech_connections() { speech_events "$@" | awk -F'\t' '$1 == "connect"' | wc -l; }

# wait_for_heard TEXT...: the last texts the output module was given, in order; with HEARD_RATE, the last one's rate.
heard_last() {
    HEARD=$(tail -n "$#" "$HOSHI_SPEECHD_DIR/heard.txt" 2>/dev/null || true)
    HEARD_AT=$(tail -n 1 "$HOSHI_SPEECHD_DIR/rates.txt" 2>/dev/null || true)
    [ "$HEARD" = "$(printf '%s\n' "$@")" ] && [ "${HEARD_RATE:-$HEARD_AT}" = "$HEARD_AT" ]
}
wait_for_heard() {
    within 10 heard_last "$@" \
        || fail "the output module was last given $(printf '%q' "$HEARD") at rate $HEARD_AT, expected $(printf '%q ' "$@") ${HEARD_RATE:-}"
}

spoken_last() { SPOKEN=$(spoken_texts | tail -n 1); [ "$SPOKEN" = "$1" ]; }

# speech_mark [CLIENT]: wait_for_spoken looks only at what CLIENT says from now on.
declare -A SPEECH_MARKS=()
speech_mark() { SPEECH_MARKS[$(speech_client "$@")]=$(spoken_script "$@" | wc -l); }
spoken_since_mark() { spoken_script "$@" | tail -n +"$((${SPEECH_MARKS[$(speech_client "$@")]:-0} + 1))"; }

# wait_for_spoken [--last|--cancelled] TEXT...: within 10 s the next texts since the mark are one event's
# TEXTs (as ssip_log.py escapes them), no cancel between them; the mark moves past them. --cancelled: a
# cancel came first (a key while still speaking). --last: TEXT is the latest text said; the mark stays.
wait_for_spoken() {
    local kind=event client
    client=$(speech_client)
    case $1 in --last | --cancelled) kind=$1; shift ;; esac
    if [ "$kind" = --last ]; then
        within 10 spoken_last "$1" || fail "last spoken text is '$SPOKEN', expected '$1'"
        return
    fi
    within 10 _spoken_from_mark "$@" || _speech_mismatch "$@"
    [ "$SPOKEN_CUT" -eq 0 ] || fail "a cancel came between the texts of one event: $(printf '%q ' "${SPOKEN_WINDOW[@]:0:SPOKEN_USED}")"
    [ "$kind" != --cancelled ] || [ "$SPOKEN_LEADING" -eq 1 ] \
        || fail "no cancel before a key event that came while speaking: $(printf '%q ' "${SPOKEN_WINDOW[@]:0:SPOKEN_USED}")"
    SPEECH_MARKS[$client]=$((${SPEECH_MARKS[$client]:-0} + SPOKEN_USED))
}
# _spoken_from_mark EXPECTED...: SPOKEN_WINDOW (said since the mark) begins with
# EXPECTED in SPOKEN_USED lines; SPOKEN_CUT/LEADING: a cancel between/before them.
_spoken_from_mark() {
    local line matched=0
    mapfile -t SPOKEN_WINDOW < <(spoken_since_mark)
    SPOKEN_USED=0 SPOKEN_CUT=0 SPOKEN_LEADING=0
    for line in "${SPOKEN_WINDOW[@]}"; do
        [ "$matched" -eq "$#" ] && break
        SPOKEN_USED=$((SPOKEN_USED + 1))
        if [ "$line" = "<cancel>" ]; then
            if [ "$matched" -eq 0 ]; then SPOKEN_LEADING=1; else SPOKEN_CUT=1; fi
            continue
        fi
        matched=$((matched + 1))
        [ "$line" = "${!matched}" ] || _speech_mismatch "$@"
    done
    [ "$matched" -eq "$#" ]
}
_speech_mismatch() { fail "spoken since the mark: $(printf '%q ' "${SPOKEN_WINDOW[@]}")" "expected: $(printf '%q ' "$@")"; }

# assert_silent_since_mark [CLIENT]: CLIENT said nothing since its mark (once something shows the keys were handled).
assert_silent_since_mark() {
    [ -z "$(spoken_since_mark "$@" | grep -vx '<cancel>')" ] || fail "$(speech_client "$@") asked to say: $(spoken_since_mark "$@")"
}

# wait_for_tree TITLE LINE...: within 10 s each LINE (an extended regex of "role TAB name TAB text") is a line
# of the window's tree as a screen reader reads it (atspi_tree.py), in TREE; no window of its own is in it.
tree_has() {
    local line
    TREE=$(/usr/bin/python3 "$HOSHI_E2E_DIR/atspi_tree.py" "$1" 2>&1 || true)
    for line in "${@:2}"; do grep -qxE -- "$line" <<<"$TREE" || { MISSING=$line; return 1; }; done
}
wait_for_tree() {
    POLL_STEP=0.2 within 10 tree_has "$@" || fail "no '$MISSING' in the tree of $1:"$'\n'"$TREE"
    ! cut -f1 <<<"$TREE" | grep -qx frame || fail "a frame inside $1:"$'\n'"$TREE"
}
