# SPDX-License-Identifier: GPL-3.0-or-later
# The real Orca, under a window manager, speaking through the private speech-dispatcher: each mode's
# announcements heard once, as notifications with no word of Orca's own; the program's own voices silent.
# HOSHI_ORCA_FLAG=false: Orca started by hand, no desktop flag. Skipped (77) without Orca.
source "$(dirname "$0")/lib.sh"
command -v orca >/dev/null || { echo "SKIP: orca is not installed (scripts/install-deps.sh installs it)"; exit 77; }

# orca_said: what Orca asked speech-dispatcher to say, one a line, as plain text (it sends SSML).
orca_said() {
    spoken_texts Orca | sed -e 's/<[^>]*>//g' -e 's/&lt;/</g; s/&gt;/>/g; s/&quot;/"/g' -e "s/&apos;/'/g; s/&amp;/\\&/g"
}
# notifications: "TEXT." said with no word of Orca's own (its focus reading ends in a role, its key echo in no stop).
focus_role='label|frame|text|dialog|button|menu|item|filler|panel|alert|bar|list|table|cell|notification|通知'
notifications() {
    orca_said | { grep -vxE "Screen reader (on|off)\.|.* ($focus_role)\." || true; } | sed -n 's/^\(.*\)\.$/\1/p'
}
# wait_for_notifications EXPECTED...: within 15 s the next notifications since the mark are these; the mark moves past them.
NOTIFICATION_MARK=0
notifications_are() { NEXT=$(notifications | tail -n +"$((NOTIFICATION_MARK + 1))" | head -n "$(wc -l <<<"$1")"); [ "$NEXT" = "$1" ]; }
wait_for_notifications() {
    local expected
    expected=$(printf '%s\n' "$@")
    within 15 notifications_are "$expected" || fail "Orca's next notifications: $(printf '%q' "$NEXT"), expected $(printf '%q' "$expected")"
    NOTIFICATION_MARK=$((NOTIFICATION_MARK + $#))
}
press_notifies() { press_each wait_for_notifications "$@"; }
# notifications_settle LAST: LAST is the latest thing Orca said and still is a second later; mark it.
heard_and_quiet() {
    local before
    case "$(orca_said | tail -n 1 | sed -n 's/^\(.*\)\.$/\1/p')" in "$1" | "$1 "*) ;; *) return 1 ;; esac
    before=$(orca_said | wc -l)
    sleep 1
    [ "$(orca_said | wc -l)" = "$before" ]
}
notifications_settle() {
    within 10 heard_and_quiet "$1" || fail "Orca's last words are not $1: $(orca_said | tail -n 3)"
    NOTIFICATION_MARK=$(notifications | wc -l)
}
open_mode() { open_window "$1" "$2" >/dev/null; wait_for_notifications "$3"; }
back_to_launcher() { close_window "$1" "$2"; notifications_settle "に どのゆびつかうの"; }

start_window_manager
set_screen_reader_enabled "${HOSHI_ORCA_FLAG:-true}"
# Orca will not start while another, even one ended but not reaped, is listed.
no_orca() { ! pgrep -u "$(id -u)" -x orca >/dev/null; }
within 15 no_orca || echo "an earlier Orca is still there: --replace ends it"
orca --replace --debug-file="$TMPDIR/orca.debug" >"$TMPDIR/orca.out" 2>&1 &
orca_pid=$!
# Ended (the program first) and reaped here, so that the next run finds no trace of it.
trap 'kill ${PROGRAM_PID:-} "$orca_pid" 2>/dev/null; within 5 process_gone "$orca_pid" || kill -KILL "$orca_pid"; wait "$orca_pid" 2>/dev/null || true' EXIT
orca_on() {
    kill -0 "$orca_pid" 2>/dev/null || { cat "$TMPDIR/orca.out" >&2; fail "Orca ended"; }
    orca_said | grep -qx "Screen reader on."
}
within 30 orca_on || { tail -n 30 "$TMPDIR/orca.debug" "$TMPDIR/orca.out" >&2; fail "Orca did not speak through the private speech-dispatcher"; }

speech_mark
# Qt's bridge keeps key events a screen reader has not answered yet: the leak checker is told.
[ -n "${LSAN_OPTIONS:-}" ] &&
    export LSAN_OPTIONS="suppressions=$(dirname "$0")/../sanitizers/lsan-screen-reader.supp:print_suppressions=0"
start_launcher
sleep 1
NOTIFICATION_MARK=$(notifications | wc -l)

# Orca reads the entry focused: no notification says it again.
press Down
notifications_settle "に どのゆびつかうの"
sleep 0.5
[ "$(notifications | wc -l)" -eq "$NOTIFICATION_MARK" ] || fail "the entry was said twice: $(orca_said | tail -n 3)"

# The menu, read by Orca by its readings. Alt is held as a hand holds it: Qt
# hands every key to Orca before acting on it.
menu_mark=$(orca_said | wc -l)
xdotool keydown Alt_L; sleep 0.4; xdotool key f; sleep 0.4; xdotool keyup Alt_L
menu_read() { orca_said | tail -n +"$((menu_mark + 1))" | grep -qxF "しゅーりょーえっくす おあ えすけーぷ."; }
within 5 menu_read || fail "Orca did not read the menu entry: $(orca_said | tail -n +"$((menu_mark + 1))")"
press Escape
press Escape
notifications_settle "に どのゆびつかうの"
! orca_said | tail -n +"$((menu_mark + 1))" | grep -qxF "に どのゆびつかうの." \
    || fail "the entry was said again after the menu: $(orca_said | tail -n +"$((menu_mark + 1))")"

# One notification per key: its text's reading and its reading.
open_mode 1 "押せばわかる" "きーをおしてね"
press_notifies a "えー" F1 "えふいち ふぁんくしょんいち"
back_to_launcher alt+F4 "押せばわかる"

open_mode 2 "どのゆびつかうの" "ひだりひとさしゆびえふ"
press_notifies f "ひだりひとさしゆびあーる" g "あーる"
back_to_launcher Escape "どのゆびつかうの"

open_mode 3 "アルファベットに挑戦" "すぺーすで すたーと"
clear_clipboard
press space
target=$(wait_for_target)
wait_for_notifications "${LETTER_READING[$target]}"
press_notifies "$(miss_key "$target")" "${LETTER_READING[$target]}"
back_to_launcher Escape "アルファベットに挑戦"

# Japanese typing; the window manager's Alt+F4, as a menu opened by Alt+F may
# not be up yet when the next key comes through Orca.
open_mode 5 "応用日本語入力　３分" "こんとろーる おーで ふぁいるを ひらいてね"
press_notifies Escape "はじめから えんたーで はじまるよ"
back_to_launcher alt+F4 "応用日本語入力　３分"

SPEECH_CLIENT=hoshinotamago-en speech_mark
open_mode 6 "ENGLISH Three Minute" "Press Control O to open a text file"
SPEECH_CLIENT=hoshinotamago-en assert_silent_since_mark
back_to_launcher alt+F4 "ENGLISH Three Minute"
quit_launcher
orca_said | grep -q '^いち おせばわかる ' || fail "the first entry was not heard at the start: $(orca_said | head -n 5)"
# No kanji (heard as "Chinese letter") or 、 (heard as a word) reached Orca.
unreadable=$(orca_said | LC_ALL=C.UTF-8 grep -P '[\x{4E00}-\x{9FFF}、。]' || true)
[ -z "$unreadable" ] || fail "Orca was given kanji or 、: $unreadable"
assert_silent_since_mark
