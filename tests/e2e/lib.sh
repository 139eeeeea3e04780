# SPDX-License-Identifier: GPL-3.0-or-later
# Helpers for the end-to-end scripts: start the program, send real keys,
# read the clipboard from outside as a reading tool would, and read what
# reached the private speech-dispatcher as a listener would hear it.
set -euo pipefail

HOSHI_E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export HOSHI_SPEECHD_DIR=${HOSHI_SPEECHD_DIR:-${TMPDIR:-/tmp}/speechd}

fail() { echo "FAIL: $*" >&2; exit 1; }

# At exit the program is ended, then AT_EXIT (a script's own clean-up) runs.
_at_exit() {
    local status=$?
    set +e
    [ -n "${PROGRAM_PID:-}" ] && kill "$PROGRAM_PID" 2>/dev/null
    eval "${AT_EXIT:-}"
    exit "$status"
}
trap _at_exit EXIT

# within SECONDS [!] COMMAND...: COMMAND succeeds (with !: fails) within
# SECONDS, tried every POLL_STEP (0.1) seconds. The one polling loop.
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

clipboard() { xclip -o -selection clipboard 2>/dev/null || true; }

# clipboard_in TEXT...: the clipboard holds exactly one of the TEXTs (kept in CLIPBOARD).
clipboard_in() {
    local text
    CLIPBOARD=$(clipboard; printf x)
    CLIPBOARD=${CLIPBOARD%x}
    for text in "$@"; do [ "$CLIPBOARD" = "$text" ] && return 0; done
    return 1
}

# wait_for_clipboard TEXT...: the one wait for an announcement: clipboard_in
# within CLIPBOARD_SECONDS (10).
wait_for_clipboard() {
    within "${CLIPBOARD_SECONDS:-10}" clipboard_in "$@" \
        || fail "clipboard is '$(printf %q "$CLIPBOARD")', expected one of: $(printf '%q ' "$@")"
}

# wait_for_target: the drill's target, one capital letter, on the clipboard; prints it.
wait_for_target() { wait_for_clipboard {A..Z}; echo "$CLIPBOARD"; }

# clear_clipboard: another program takes the clipboard, so that the next
# announcement, even a repeated one, is seen arriving.
clear_clipboard() { printf 'sentinel' | xclip -selection clipboard; wait_for_clipboard sentinel; }

# start_program [ARGUMENT...]: HOSHI_PROGRAM, its output appended to
# PROGRAM_LOG, with PROGRAM_ENV given to env ("-u DISPLAY NAME=VALUE").
# start_launcher: that, once entry 1 is announced and $launcher has the keyboard.
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

# quit_launcher: Escape in the launcher ends the program cleanly within 10 s.
quit_launcher() { focus_window "$launcher"; press Escape; wait_for_exit 10; }

# window_shown TITLE: a visible window has exactly that title (xdotool's
# pattern does not anchor on multibyte titles); its id in WINDOW.
window_shown() {
    local candidate
    for candidate in $(xdotool search --onlyvisible --name "$1" 2>/dev/null || true); do
        [ "$(xdotool getwindowname "$candidate" 2>/dev/null)" = "$1" ] && WINDOW=$candidate && return 0
    done
    return 1
}

# window_named TITLE: waits for it and prints its id. window_gone TITLE: it closed.
window_named() {
    within 10 window_shown "$1" || fail "no window titled exactly $1"
    echo "$WINDOW"
}
window_gone() { within 5 ! window_shown "$1" || fail "window $1 still open"; }

# focus_window ID: give the window the keyboard (no window manager runs).
focus_window() { xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"; sleep 0.2; }

# press KEY...: real key events through the X server.
press() { xdotool key --clearmodifiers "$@"; sleep 0.15; }

# press_expect KEYS TEXT [KEYS TEXT]...: pair by pair, KEYS (split on spaces)
# put TEXT on the clipboard; press_hear: the program says TEXT as one event.
press_expect() { press_each wait_for_clipboard "$@"; }
press_hear() { press_each wait_for_spoken "$@"; }
press_each() {
    local wait=$1
    shift
    while [ "$#" -ge 2 ]; do
        # shellcheck disable=SC2086 # KEYS is split into keys
        press $1
        "$wait" "$2"
        shift 2
    done
}

# start_window_manager: openbox runs and says so on the root window.
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; }
start_window_manager() {
    command -v openbox >/dev/null || fail "openbox is missing: run scripts/install-deps.sh"
    openbox --sm-disable >"$TMPDIR/openbox.log" 2>&1 &
    within 10 wm_running || fail "openbox did not start: $(cat "$TMPDIR/openbox.log")"
}

# start_sound_server: a PulseAudio of this run whose default sink "hoshi"
# plays into nothing; record it from hoshi.monitor.
start_sound_server() {
    export PULSE_RUNTIME_PATH=$XDG_RUNTIME_DIR/pulse PULSE_STATE_PATH=$TMPDIR/pulse-state
    pulseaudio --daemonize=no --exit-idle-time=-1 -n --log-target=file:"$TMPDIR/pulse.log" \
        --load=module-native-protocol-unix --load="module-null-sink sink_name=hoshi" \
        --load="module-always-sink" >/dev/null 2>&1 &
    within 5 pactl info >/dev/null 2>&1 || fail "the private sound server did not start: $(cat "$TMPDIR/pulse.log")"
    pactl set-default-sink hoshi
}

# wait_for_dialog TYPING: Ctrl+O in the focused typing window opens the file
# dialog, a visible window not there before; prints its id.
visible_windows() { xdotool search --onlyvisible --name '.' 2>/dev/null || true; }
dialog_shown() {
    WINDOW=$(visible_windows | grep -vxF -e "$1" -f <(printf '%s\n' "$2") | head -n 1 || true)
    [ -n "$WINDOW" ]
}
window_listed() { visible_windows | grep -qx "$1"; }
wait_for_dialog() {
    local before
    before=$(visible_windows)
    press ctrl+o
    within 10 dialog_shown "$1" "$before" || fail "no file dialog appeared"
    echo "$WINDOW"
}
wait_for_dialog_gone() { within 10 ! window_listed "$1" || fail "the file dialog is still open"; }

# open_practice_file WINDOW PATH: PATH typed into the file dialog's name box.
open_practice_file() {
    local typing=$1 path=$2 dialog
    focus_window "$typing"
    dialog=$(wait_for_dialog "$typing")
    focus_window "$dialog"
    xdotool type --delay 20 "$path"
    sleep 0.3
    press Return
    wait_for_dialog_gone "$dialog"
    focus_window "$typing"
}

# wait_for_exit SECONDS: the program ended within SECONDS, with status 0.
wait_for_exit() {
    local status=0
    within "$1" ! kill -0 "$PROGRAM_PID" 2>/dev/null || fail "program still running after ${1}s"
    wait "$PROGRAM_PID" || status=$?
    [ "$status" -eq 0 ] || fail "exit status $status"
}

# marked_processes: every process of this run but the caller, by the mark
# with_xvfb.sh puts in the environment (one grep reads all of /proc).
marked_processes() {
    local pid
    for pid in $(grep -lzxF "HOSHI_E2E_RUN=$HOSHI_E2E_RUN" /proc/[0-9]*/environ 2>/dev/null \
                 | cut -d/ -f3); do
        [ "$pid" = "$$" ] || [ "$pid" = "$BASHPID" ] || [ ! -d "/proc/$pid" ] || echo "$pid"
    done
}

# The mode windows by their launcher digit, and the keys that close each.
mode_titles=("押せばわかる" "どのゆびつかうの" "アルファベットに挑戦" "数字と記号も登場"
             "応用日本語入力　３分" "ENGLISH Three Minute")
mode_closers=("alt+F4" "Escape" "Escape" "Escape" "alt+f x" "alt+f x")

# miss_key TARGET: a key that is not the drill's TARGET.
miss_key() { if [ "$1" = Q ]; then echo w; else echo q; fi; }

# letter_reading X: the name a child hears for the capital letter X.
letter_reading() {
    local -A name=(
        [A]=えー [B]=びー [C]=しー [D]=でぃー [E]=いー [F]=えふ [G]=じー [H]=えっち [I]=あい
        [J]=じぇー [K]=けー [L]=える [M]=えむ [N]=えぬ [O]=おー [P]=ぴー [Q]=きゅー [R]=あーる
        [S]=えす [T]=てぃー [U]=ゆー [V]=ぶい [W]=だぶりゅー [X]=えっくす [Y]=わい [Z]=ぜっと)
    echo "${name[$1]}"
}

# set_screen_reader_enabled true|false: the desktop's screen-reader flag on
# the accessibility bus; screen_reader_enabled reads it.
set_screen_reader_enabled() {
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.freedesktop.DBus.Properties.Set \
        string:org.a11y.Status string:ScreenReaderEnabled variant:boolean:"$1" >/dev/null
}
screen_reader_enabled() {
    dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus \
        org.freedesktop.DBus.Properties.Get string:org.a11y.Status string:ScreenReaderEnabled \
        | awk '{ print $NF }'
}

# speechd_configure: configuration, logs and socket in this run's folder. Its
# one output module writes each text's rate to rates.txt and the text to
# heard.txt, and takes HOSHI_SPEECHD_SPEAK_SECONDS (0.5) to "say" it, so a
# text is still being said when the next key comes. The user's rate is 10.
speechd_configure() {
    local dir=$HOSHI_SPEECHD_DIR
    mkdir -p "$dir/conf/modules" "$dir/log" "$XDG_RUNTIME_DIR/speech-dispatcher"
    export HOSHI_SPEECHD_SOCKET=$XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock
    export SPEECHD_ADDRESS=unix_socket:$HOSHI_SPEECHD_SOCKET
    # A client that cannot connect runs "SPEECHD_CMD --spawn": noted and refused.
    cat >"$dir/no-autospawn" <<EOF
#!/bin/sh
echo "\$*" >>"$dir/autospawn.log"
echo "no autospawn in the end-to-end tests" >&2
exit 1
EOF
    chmod +x "$dir/no-autospawn"
    export SPEECHD_CMD=$dir/no-autospawn
    mkdir -p "$XDG_CONFIG_HOME/speech-dispatcher"
    echo "DisableAutoSpawn" >"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf"

    cat >"$dir/conf/speechd.conf" <<EOF
LogLevel 3
LogDir "$dir/log"
# Every read from a client, byte for byte: what ssip_log.py decodes.
CustomLogFile "protocol" "$dir/log/protocol.log"
DisableAutoSpawn
# A rate of the user's own, not the built-in 0: what a client that sets no rate gets.
DefaultRate 10
# The output module still opens a sound device: ALSA's null device takes it all.
AudioOutputMethod "alsa"
AudioALSADevice "null"
AddModule "textfile" "sd_generic" "$dir/conf/modules/textfile.conf"
DefaultModule textfile
EOF
    cat >"$dir/conf/modules/textfile.conf" <<EOF
GenericExecuteSynth "printf '%s\\\\n' '\$RATE' >>'$dir/rates.txt'; printf '%s\\\\n' \\'\$DATA\\' >>'$dir/heard.txt'; sleep ${HOSHI_SPEECHD_SPEAK_SECONDS:-0.5}"
# \$RATE is the rate the client set, -100 to 100, as it is.
GenericRateAdd 0
GenericRateMultiply 100
GenericRateForceInteger 1
GenericLanguage "ja" "ja" "utf-8"
GenericLanguage "en-US" "en-us" "utf-8"
GenericLanguage "C" "C" "utf-8"
AddVoice "ja" "FEMALE1" "japanese"
AddVoice "en-US" "MALE1" "english-us"
# A desktop has a voice for its own language; the tests run in the C locale.
AddVoice "C" "MALE1" "default"
EOF
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
    within 10 _speechd_answers_or_died && speechd_answers && return 0
    cat "$dir/log/server.out" "$dir/log/speech-dispatcher.log" >&2 2>/dev/null || true
    fail "speech-dispatcher did not start"
}
_speechd_answers_or_died() { speechd_answers || ! kill -0 "$(cat "$HOSHI_SPEECHD_DIR/server.pid")" 2>/dev/null; }
speechd_answers() {
    /usr/bin/python3 -c 'import socket, sys; socket.socket(socket.AF_UNIX).connect(sys.argv[1])' \
        "$HOSHI_SPEECHD_SOCKET" 2>/dev/null
}

process_gone() { ! grep -qs '^State:[[:space:]]*[^Z]' "/proc/$1/status"; }

# speechd_stop [SIGNAL]: the server is gone.
speechd_stop() {
    local pid
    pid=$(cat "$HOSHI_SPEECHD_DIR/server.pid")
    kill -"${1:-TERM}" "$pid" 2>/dev/null || true
    within 5 process_gone "$pid" || fail "speech-dispatcher $pid did not end"
}

# speech_events [CLIENT]: what CLIENT (SPEECH_CLIENT, else hoshinotamago)
# sent, one event a line, as ssip_log.py prints it.
speech_events() {
    /usr/bin/python3 "$HOSHI_E2E_DIR/ssip_log.py" --client "${1:-${SPEECH_CLIENT:-hoshinotamago}}" \
        "$HOSHI_SPEECHD_DIR/log/protocol.log"
}
# spoken_texts [CLIENT]: its texts, escaped; spoken_script: with "<cancel>"
# where it cancelled or stopped.
spoken_texts() { speech_events "$@" | awk -F'\t' '$1 == "speak" { print $5 }'; }
spoken_script() {
    speech_events "$@" | awk -F'\t' '$1 == "speak" { print $5 } $1 == "cancel" || $1 == "stop" { print "<cancel>" }'
}
speech_connections() { speech_events "$@" | awk -F'\t' '$1 == "connect"' | wc -l; }

# wait_for_heard TEXT...: the last texts the output module was given are
# these, in order (a text cancelled before its turn never gets there); with
# HEARD_RATE, the last one was given at that rate.
heard_last() {
    HEARD=$(tail -n "$#" "$HOSHI_SPEECHD_DIR/heard.txt" 2>/dev/null || true)
    HEARD_AT=$(tail -n 1 "$HOSHI_SPEECHD_DIR/rates.txt" 2>/dev/null || true)
    [ "$HEARD" = "$(printf '%s\n' "$@")" ] && [ "${HEARD_RATE:-$HEARD_AT}" = "$HEARD_AT" ]
}
wait_for_heard() {
    within 10 heard_last "$@" \
        || fail "the output module was last given $(printf '%q' "$HEARD") at rate $HEARD_AT, expected $(printf '%q ' "$@") ${HEARD_RATE:-}"
}

# speech_escape TEXT: TEXT written as spoken_texts writes it.
speech_escape() {
    local text=${1//\\/\\\\}
    text=${text//$'\n'/\\n}
    text=${text//$'\r'/\\r}
    printf '%s' "${text//$'\t'/\\t}"
}

spoken_last() { SPOKEN=$(spoken_texts | tail -n 1); [ "$SPOKEN" = "$1" ]; }

# speech_mark [CLIENT]: wait_for_spoken looks only at what CLIENT says from now on.
declare -A SPEECH_MARKS=()
speech_mark() { SPEECH_MARKS[${1:-${SPEECH_CLIENT:-hoshinotamago}}]=$(spoken_script "$@" | wc -l); }
spoken_since_mark() {
    spoken_script "$@" | tail -n +"$((${SPEECH_MARKS[${1:-${SPEECH_CLIENT:-hoshinotamago}}]:-0} + 1))"
}

# wait_for_spoken [--last|--cancelled] TEXT...: the one wait for what the
# program says, within 10 s. The next texts since the mark are TEXT..., the
# texts of one event: a cancel may come before them, never between them; the
# mark moves past them. --cancelled: a cancel came first (a key while the
# program was still speaking). --last: TEXT is the latest text said, whatever
# came before it; the mark stays.
wait_for_spoken() {
    local kind=event text
    case $1 in --last | --cancelled) kind=$1; shift ;; esac
    local -a escaped=()
    for text in "$@"; do escaped+=("$(speech_escape "$text")"); done
    if [ "$kind" = --last ]; then
        within 10 spoken_last "${escaped[0]}" || fail "last spoken text is '$SPOKEN', expected '${escaped[0]}'"
        return
    fi
    within 10 _spoken_from_mark "${escaped[@]}" || _speech_mismatch "${escaped[@]}"
    [ "$SPOKEN_CUT" -eq 0 ] \
        || fail "a cancel came between the texts of one event: $(printf '%q ' "${SPOKEN_WINDOW[@]:0:SPOKEN_USED}")"
    [ "$kind" != --cancelled ] || [ "$SPOKEN_LEADING" -eq 1 ] \
        || fail "no cancel before a key event that came while speaking: $(printf '%q ' "${SPOKEN_WINDOW[@]:0:SPOKEN_USED}")"
    local client=${SPEECH_CLIENT:-hoshinotamago}
    SPEECH_MARKS[$client]=$((${SPEECH_MARKS[$client]:-0} + SPOKEN_USED))
}

# _spoken_from_mark EXPECTED...: what was said since the mark (SPOKEN_WINDOW)
# begins with EXPECTED, cancels aside, in SPOKEN_USED lines; SPOKEN_CUT: a
# cancel between them, SPOKEN_LEADING: before them. A wrong text fails at once.
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
_speech_mismatch() {
    fail "spoken since the mark: $(printf '%q ' "${SPOKEN_WINDOW[@]}")" "expected: $(printf '%q ' "$@")"
}

# assert_silent_since_mark [CLIENT]: CLIENT said nothing since its mark (call
# it once something else shows the keys were handled).
assert_silent_since_mark() {
    local window
    window=$(spoken_since_mark "$@")
    [ -z "$(grep -vx '<cancel>' <<<"$window" || true)" ] \
        || fail "${1:-${SPEECH_CLIENT:-hoshinotamago}} asked to say: $(printf '%q' "$window")"
}
