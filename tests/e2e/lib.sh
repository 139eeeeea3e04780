# SPDX-License-Identifier: GPL-3.0-or-later
# Helpers for the end-to-end scripts: start the program, send real keys,
# read the clipboard from outside as a reading tool would, and read what
# reached the private speech-dispatcher as a listener would hear it.
set -euo pipefail

HOSHI_E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export HOSHI_SPEECHD_DIR=${HOSHI_SPEECHD_DIR:-${TMPDIR:-/tmp}/speechd}

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

clipboard() {
    xclip -o -selection clipboard 2>/dev/null || true
}

# wait_for_clipboard EXPECTED [SECONDS]: the clipboard holds exactly EXPECTED.
wait_for_clipboard() {
    local expected=$1 seconds=${2:-10} waited=0 actual=""
    while [ "$waited" -lt $((seconds * 10)) ]; do
        actual=$(clipboard; printf x)
        actual=${actual%x}
        [ "$actual" = "$expected" ] && return 0
        sleep 0.1
        waited=$((waited + 1))
    done
    fail "clipboard is '$(printf %q "$actual")', expected '$(printf %q "$expected")'"
}

# start_program [ARGUMENT...]: the program, its output appended to this
# script's log.
start_program() {
    "$HOSHI_PROGRAM" "$@" >>"${TMPDIR:-/tmp}/hoshi-e2e-$$.log" 2>&1 &
    PROGRAM_PID=$!
    trap 'kill $PROGRAM_PID 2>/dev/null || true' EXIT
}

# window_named TITLE: the id of the visible window whose title is exactly TITLE
# (xdotool's pattern alone does not anchor reliably on multibyte titles).
window_named() {
    local title=$1 id="" tries=0 candidate
    while [ -z "$id" ] && [ "$tries" -lt 100 ]; do
        for candidate in $(xdotool search --onlyvisible --name "$title" 2>/dev/null || true); do
            if [ "$(xdotool getwindowname "$candidate" 2>/dev/null)" = "$title" ]; then
                id=$candidate
                break
            fi
        done
        [ -z "$id" ] && sleep 0.1
        tries=$((tries + 1))
    done
    [ -n "$id" ] || fail "no window titled exactly $title"
    echo "$id"
}

# focus_window ID: give the window the keyboard (no window manager runs).
focus_window() {
    xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
    sleep 0.2
}

# press KEY...: real key events through the X server.
press() {
    xdotool key --clearmodifiers "$@"
    sleep 0.15
}

# wait_for_dialog TYPING: Ctrl+O in the typing window TYPING (focused) opens
# the file dialog, a new window of the program; its id.
wait_for_dialog() {
    local typing=$1 before dialog=""
    before=$(xdotool search --onlyvisible --name '.' 2>/dev/null || true)
    press ctrl+o
    for _ in $(seq 100); do
        dialog=$(xdotool search --onlyvisible --name '.' 2>/dev/null \
                 | grep -vxF -e "$typing" -f <(printf '%s\n' "$before") | head -n 1 || true)
        [ -n "$dialog" ] && break
        sleep 0.1
    done
    [ -n "$dialog" ] || fail "no file dialog appeared"
    echo "$dialog"
}

# wait_for_dialog_gone DIALOG
wait_for_dialog_gone() {
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name '.' 2>/dev/null | grep -qx "$1" || return 0
        sleep 0.1
    done
    fail "the file dialog is still open"
}

# open_practice_file WINDOW PATH: the file dialog's name box takes a full
# path; the dialog is gone again when this returns.
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

# wait_for_exit SECONDS: the program ended; its status is in EXIT_STATUS.
wait_for_exit() {
    local seconds=$1 waited=0
    while kill -0 "$PROGRAM_PID" 2>/dev/null; do
        [ "$waited" -ge $((seconds * 10)) ] && fail "program still running after ${seconds}s"
        sleep 0.1
        waited=$((waited + 1))
    done
    set +e
    wait "$PROGRAM_PID"
    EXIT_STATUS=$?
    set -e
}

# marked_processes: every process of this run but the caller, by the mark
# with_xvfb.sh puts in the environment. One grep reads all of /proc, so it
# does not meet itself; the subshell that ran it has ended before the check.
marked_processes() {
    local pid
    for pid in $(grep -lzxF "HOSHI_E2E_RUN=$HOSHI_E2E_RUN" /proc/[0-9]*/environ 2>/dev/null \
                 | cut -d/ -f3); do
        [ "$pid" = "$$" ] || [ "$pid" = "$BASHPID" ] || [ ! -d "/proc/$pid" ] || echo "$pid"
    done
}

# letter_reading X: the name a child hears for the capital letter X.
letter_reading() {
    local -A name=(
        [A]=えー [B]=びー [C]=しー [D]=でぃー [E]=いー [F]=えふ [G]=じー [H]=えっち [I]=あい
        [J]=じぇー [K]=けー [L]=える [M]=えむ [N]=えぬ [O]=おー [P]=ぴー [Q]=きゅー [R]=あーる
        [S]=えす [T]=てぃー [U]=ゆー [V]=ぶい [W]=だぶりゅー [X]=えっくす [Y]=わい [Z]=ぜっと)
    echo "${name[$1]}"
}

# wait_for_target: the drill's target, one capital letter, on the clipboard.
wait_for_target() {
    local target=""
    for _ in $(seq 50); do
        target=$(clipboard)
        [[ "$target" =~ ^[A-Z]$ ]] && { echo "$target"; return 0; }
        sleep 0.1
    done
    fail "no target letter on the clipboard: '$target'"
}

# window_gone TITLE: no visible window has that title any more.
window_gone() {
    for _ in $(seq 50); do
        xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    fail "window $1 still open"
}

# set_screen_reader_enabled true|false: the flag on the accessibility bus
# that a desktop sets when it starts or stops a screen reader.
set_screen_reader_enabled() {
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
        org.freedesktop.DBus.Properties.Set string:org.a11y.Status \
        string:ScreenReaderEnabled variant:boolean:"$1" >/dev/null
}

# screen_reader_enabled: true or false, as the accessibility bus tells it.
screen_reader_enabled() {
    dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus \
        org.freedesktop.DBus.Properties.Get string:org.a11y.Status string:ScreenReaderEnabled \
        | awk '{ print $NF }'
}

# --- the private speech-dispatcher ------------------------------------------

# speechd_configure: its configuration, logs and socket in this run's folder.
# Its one output module writes the rate of each text it is given to
# rates.txt (one line a text, written first), the text to heard.txt, and takes
# HOSHI_SPEECHD_SPEAK_SECONDS (0.5 by default) to "say" it, so that a text is
# still being said when the next key comes. The user's own rate is 10.
speechd_configure() {
    local dir=$HOSHI_SPEECHD_DIR
    mkdir -p "$dir/conf/modules" "$dir/log" "$XDG_RUNTIME_DIR/speech-dispatcher"
    # Where libspeechd looks by default too, should a client ignore the address.
    export HOSHI_SPEECHD_SOCKET=$XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock
    export SPEECHD_ADDRESS=unix_socket:$HOSHI_SPEECHD_SOCKET
    # libspeechd and python3-speechd run "SPEECHD_CMD --spawn ..." when they
    # cannot connect: here that only notes the try and refuses.
    cat >"$dir/no-autospawn" <<EOF
#!/bin/sh
echo "\$*" >>"$dir/autospawn.log"
echo "no autospawn in the end-to-end tests" >&2
exit 1
EOF
    chmod +x "$dir/no-autospawn"
    export SPEECHD_CMD=$dir/no-autospawn
    # A "speech-dispatcher --spawn" started some other way reads this and refuses.
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

# speechd_start: the server in the foreground with no idle shutdown; it
# answers on its socket before this returns.
speechd_start() {
    local dir=$HOSHI_SPEECHD_DIR
    rm -f "$HOSHI_SPEECHD_SOCKET" "$dir/speechd.pid"
    speech-dispatcher --run-single --timeout 0 --communication-method unix_socket \
        --socket-path "$HOSHI_SPEECHD_SOCKET" --config-dir "$dir/conf" --log-dir "$dir/log" \
        --pid-file "$dir/speechd.pid" >>"$dir/log/server.out" 2>&1 &
    echo $! >"$dir/server.pid"
    # Its end, when a test kills it, is no news for the shell to print.
    disown $!
    for _ in $(seq 100); do
        speechd_answers && return 0
        kill -0 "$(cat "$dir/server.pid")" 2>/dev/null || break
        sleep 0.1
    done
    cat "$dir/log/server.out" "$dir/log/speech-dispatcher.log" >&2 2>/dev/null || true
    fail "speech-dispatcher did not start"
}

# speechd_answers: something accepts connections on the private socket.
speechd_answers() {
    /usr/bin/python3 -c 'import socket, sys; socket.socket(socket.AF_UNIX).connect(sys.argv[1])' \
        "$HOSHI_SPEECHD_SOCKET" 2>/dev/null
}

# speechd_stop [SIGNAL]: the server is gone (a zombie counts as gone).
speechd_stop() {
    local pid
    pid=$(cat "$HOSHI_SPEECHD_DIR/server.pid")
    kill -"${1:-TERM}" "$pid" 2>/dev/null || true
    for _ in $(seq 50); do
        grep -qs '^State:[[:space:]]*[^Z]' "/proc/$pid/status" || return 0
        sleep 0.1
    done
    fail "speech-dispatcher $pid did not end"
}

# speech_events [CLIENT]: what CLIENT (hoshinotamago by default) sent, one
# event a line, as ssip_log.py prints it.
speech_events() {
    /usr/bin/python3 "$HOSHI_E2E_DIR/ssip_log.py" --client "${1:-hoshinotamago}" \
        "$HOSHI_SPEECHD_DIR/log/protocol.log"
}

# spoken_texts [CLIENT]: the texts CLIENT asked to be said, in order, one a
# line; a line break inside a text is written \n (\r, \t and \\ likewise).
spoken_texts() {
    speech_events "$@" | awk -F'\t' '$1 == "speak" { print $5 }'
}

# spoken_script [CLIENT]: the texts, with a line "<cancel>" where CLIENT
# cancelled or stopped what it was still saying.
spoken_script() {
    speech_events "$@" | awk -F'\t' '
        $1 == "speak" { print $5 }
        $1 == "cancel" || $1 == "stop" { print "<cancel>" }'
}

# spoken_cancels [CLIENT]: how many times CLIENT cancelled or stopped speech.
spoken_cancels() {
    spoken_script "$@" | grep -cx '<cancel>' || true
}

# speech_connections [CLIENT]: how many connections CLIENT opened so far.
speech_connections() {
    speech_events "$@" | awk -F'\t' '$1 == "connect"' | wc -l
}

# heard_texts: what the output module was given to say, after the server's
# queueing: a text cancelled before its turn never gets there.
heard_texts() {
    cat "$HOSHI_SPEECHD_DIR/heard.txt" 2>/dev/null || true
}

# wait_for_heard EXPECTED...: the last texts the output module was given
# are these, in this order: the listener heard each one to its turn.
wait_for_heard() {
    local expected actual=""
    expected=$(printf '%s\n' "$@")
    for _ in $(seq 100); do
        actual=$(heard_texts | tail -n "$#")
        [ "$actual" = "$expected" ] && return 0
        sleep 0.1
    done
    fail "the output module was last given $(printf '%q' "$actual"), expected $(printf '%q' "$expected")"
}

# wait_for_heard_at RATE TEXT: the last text the output module was given is
# TEXT (one line), and it was given at RATE.
wait_for_heard_at() {
    local rate
    wait_for_heard "$2"
    rate=$(tail -n 1 "$HOSHI_SPEECHD_DIR/rates.txt")
    [ "$rate" = "$1" ] || fail "'$2' was given at rate $rate, expected $1"
}

# speech_escape TEXT: TEXT written as spoken_texts writes it.
speech_escape() {
    local text=${1//\\/\\\\}
    text=${text//$'\n'/\\n}
    text=${text//$'\r'/\\r}
    printf '%s' "${text//$'\t'/\\t}"
}

# wait_for_spoken EXPECTED [SECONDS]: the last text the program asked to be
# said is EXPECTED.
wait_for_spoken() {
    local expected seconds=${2:-10} waited=0 actual=""
    expected=$(speech_escape "$1")
    while [ "$waited" -lt $((seconds * 10)) ]; do
        actual=$(spoken_texts | tail -n 1)
        [ "$actual" = "$expected" ] && return 0
        sleep 0.1
        waited=$((waited + 1))
    done
    fail "last spoken text is '$actual', expected '$expected'"
}

# speech_mark [CLIENT]: the waits below look only at what is said from now on.
speech_mark() {
    SPEECH_MARK=$(spoken_script "$@" | wc -l)
}

# wait_for_spoken_sequence EXPECTED...: the program's next texts since the
# mark are these, in this order (cancels between them are not counted). The
# mark then moves past them, so whatever follows meets the next wait.
wait_for_spoken_sequence() {
    _wait_for_speech any "$@"
}

# wait_for_spoken_event EXPECTED...: as wait_for_spoken_sequence, for the
# texts of one key event: a cancel may come before them, never between them.
wait_for_spoken_event() {
    _wait_for_speech event "$@"
}

# wait_for_cancelled_event EXPECTED...: a key event that came while the
# program was still speaking: it cancels that first, then says these texts.
wait_for_cancelled_event() {
    _wait_for_speech cancelled "$@"
}

_wait_for_speech() {
    local kind=$1 waited=0 seconds=${HOSHI_SPEECH_WAIT:-10} text line matched used cut leading
    shift
    local -a expected=() window=()
    for text in "$@"; do
        expected+=("$(speech_escape "$text")")
    done
    while :; do
        mapfile -t window < <(spoken_script | tail -n +"$((${SPEECH_MARK:-0} + 1))")
        matched=0 used=0 cut=0 leading=0
        for line in "${window[@]}"; do
            [ "$matched" -eq "${#expected[@]}" ] && break
            used=$((used + 1))
            if [ "$line" = "<cancel>" ]; then
                if [ "$matched" -eq 0 ]; then leading=1; else cut=1; fi
                continue
            fi
            # What was said stays said: a wrong text fails at once.
            [ "$line" = "${expected[matched]}" ] \
                || fail "spoken since the mark: $(printf '%q ' "${window[@]}")" \
                        "expected: $(printf '%q ' "${expected[@]}")"
            matched=$((matched + 1))
        done
        [ "$matched" -eq "${#expected[@]}" ] && break
        [ "$waited" -ge $((seconds * 10)) ] \
            && fail "spoken since the mark: $(printf '%q ' "${window[@]}")" \
                    "expected: $(printf '%q ' "${expected[@]}")"
        sleep 0.1
        waited=$((waited + 1))
    done
    if [ "$kind" != any ] && [ "$cut" -eq 1 ]; then
        fail "a cancel came between the texts of one event: $(printf '%q ' "${window[@]:0:used}")"
    fi
    if [ "$kind" = cancelled ] && [ "$leading" -eq 0 ]; then
        fail "no cancel before a key event that came while speaking: $(printf '%q ' "${window[@]:0:used}")"
    fi
    SPEECH_MARK=$((${SPEECH_MARK:-0} + used))
}

# assert_silent_since_mark [CLIENT]: CLIENT asked for nothing to be said
# since the mark (taken for that client). Call it once something else shows
# the program has handled the keys, e.g. their clipboard announcement came.
assert_silent_since_mark() {
    local window
    window=$(spoken_script "$@" | tail -n +"$((${SPEECH_MARK:-0} + 1))")
    [ -z "$(grep -vx '<cancel>' <<<"$window" || true)" ] \
        || fail "${1:-hoshinotamago} asked to say: $(printf '%q' "$window")"
}
