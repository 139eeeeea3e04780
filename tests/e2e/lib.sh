# Helpers for the end-to-end scripts: start the program, send real keys,
# read the clipboard from outside as a reading tool would.
set -euo pipefail

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

start_program() {
    "$HOSHI_PROGRAM" >"${TMPDIR:-/tmp}/hoshi-e2e-$$.log" 2>&1 &
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
