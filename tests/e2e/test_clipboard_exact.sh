# SPDX-License-Identifier: GPL-3.0-or-later
# Under a real window manager, every change of the clipboard's owner, seen by
# another program: entry 1 is put on it once at the start, and opening the
# file dialog puts nothing on it.
source "$(dirname "$0")/lib.sh"

start_window_manager
changes=$TMPDIR/clipboard-changes
QT_QPA_PLATFORM=xcb "$(dirname "$HOSHI_PROGRAM")/hoshi_clipboard_watch" >"$changes" 2>/dev/null &
within 10 grep -qx watching "$changes" || fail "the clipboard watcher did not start"

# changes_since N: the changes after the first N lines of the watcher.
changes_since() { tail -n +"$(($1 + 2))" "$changes" | grep -vx '(empty)' || true; }

start_launcher
# The window manager activates the window; give it time to do so.
sleep 1.5
[ "$(changes_since 0)" = '１\r\n押せばわかる' ] \
    || fail "the start put on the clipboard: $(changes_since 0 | paste -sd '|')"

press 5
typing=$(window_named "応用日本語入力　３分")
focus_window "$typing"
sleep 1
mark=$(($(wc -l <"$changes") - 1))
wait_for_dialog "$typing" >/dev/null
sleep 1
[ -z "$(changes_since "$mark")" ] || fail "opening the file dialog put on the clipboard: $(changes_since "$mark" | paste -sd '|')"
