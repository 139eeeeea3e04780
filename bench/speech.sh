# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# Sourced by bench/run.sh once $workdir exists: a private session for the
# program to speak into, set up as the end-to-end tests set theirs up (own
# home and runtime folder, own D-Bus session bus, own speech-dispatcher that
# makes no sound and logs every read), and the helpers that read its log.

# Every process started from here on carries this mark, also what D-Bus
# activates: session_stop ends them all by their ids.
export HOSHI_E2E_RUN=${workdir:?}
export HOSHI_SPEECHD_DIR=$workdir/speechd
# shellcheck source=tests/e2e/lib.sh
source tests/e2e/lib.sh
protocol_log=$HOSHI_SPEECHD_DIR/log/protocol.log

# session_start: home, session bus and speech-dispatcher of this run only.
session_start() {
    export HOME=$workdir/home
    export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
    export XDG_RUNTIME_DIR=$workdir/run
    mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    export GSETTINGS_BACKEND=memory
    unset SESSION_MANAGER AT_SPI_BUS_ADDRESS SPEECHD_SOCKET SPEECHD_HOST SPEECHD_PORT
    # Without a bus of its own a D-Bus client would start one tied to the
    # display that outlives the bench.
    dbus-daemon --session --nofork --nopidfile --print-address=3 \
        --address="unix:dir=$XDG_RUNTIME_DIR" 3>"$workdir/dbus-address" 2>"$workdir/dbus.log" &
    for _ in $(seq 100); do
        [ -s "$workdir/dbus-address" ] && break
        sleep 0.05
    done
    DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$workdir/dbus-address")
    [ -n "$DBUS_SESSION_BUS_ADDRESS" ] || fail "the session bus did not start"
    export DBUS_SESSION_BUS_ADDRESS
    speechd_configure
    speechd_start
}

# session_stop: every marked process is gone, asked first, then forced.
session_stop() {
    local pids
    pids=$(marked_processes)
    # shellcheck disable=SC2086 # a list of process ids
    [ -n "$pids" ] && kill $pids 2>/dev/null
    for _ in $(seq 30); do
        pids=$(marked_processes)
        [ -z "$pids" ] && return 0
        sleep 0.1
    done
    # shellcheck disable=SC2086
    kill -KILL $pids 2>/dev/null || true
}

# log_size: where the protocol log ends now, for wait_for_speak.
log_size() { stat -c %s "$protocol_log" 2>/dev/null || echo 0; }

# wait_for_speak OFFSET: speech-dispatcher has read a SPEAK command (any
# case: libspeechd sends "speak") written to its log after byte OFFSET.
wait_for_speak() {
    for _ in $(seq 400); do
        grep -qaiF ':DATA:|speak' <(tail -c +"$(($1 + 1))" "$protocol_log" 2>/dev/null) && return 0
        sleep 0.05
    done
    echo "nothing spoken" >&2
    return 1
}
