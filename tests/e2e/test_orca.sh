# SPDX-License-Identifier: GPL-3.0-or-later
# With the real Orca screen reader running (under a window manager, on this
# run's accessibility bus, speaking through the private speech-dispatcher),
# each mode's announcements are heard once, as Orca's notifications with no
# word of Orca's own around them, and the
# program's own voice says nothing. Skipped (77) only when Orca is not installed.
source "$(dirname "$0")/lib.sh"

command -v orca >/dev/null || { echo "SKIP: orca is not installed (scripts/install-deps.sh installs it)"; exit 77; }

orca_debug=${HOSHI_ORCA_DEBUG:-$TMPDIR/orca.debug}

# orca_said: what Orca asked speech-dispatcher to say, in order, one a line,
# as plain text (Orca sends SSML with index marks). Its debug file tells the
# same, but is written in blocks, late.
orca_said() {
    spoken_texts Orca | sed -e 's/<[^>]*>//g' -e 's/&lt;/</g; s/&gt;/>/g; s/&quot;/"/g' \
                            -e "s/&apos;/'/g; s/&amp;/\\&/g"
}

# notifications: what Orca said as notifications, "TEXT." with no word of
# its own around it, TEXT a line. What it reads from the focus ends in a role
# ("に どのゆびつかうの label."), its key echo in no full stop.
focus_role='label|frame|text|dialog|button|menu|item|filler|panel|alert|bar|list|table|cell|notification|通知'
notifications() {
    orca_said | { grep -vxE "Screen reader (on|off)\.|.* ($focus_role)\." || true; } | sed -n 's/^\(.*\)\.$/\1/p'
}

# notifications_are EXPECTED: the next notifications since the mark are
# the lines of EXPECTED, or (false) the first of them so far; one that
# differs fails at once: a notification heard is heard.
NOTIFICATION_MARK=0
notifications_are() {
    local actual
    actual=$(notifications | tail -n +"$((NOTIFICATION_MARK + 1))" | head -n "$(wc -l <<<"$1")")
    [ "$actual" = "$1" ] && return 0
    [ -z "$actual" ] || [ "$actual" = "$(head -n "$(wc -l <<<"$actual")" <<<"$1")" ] || _notifications_failed "$1"
    return 1
}
_notifications_failed() {
    fail "Orca's notifications since the mark: $(printf '%q' "$(notifications | tail -n +"$((NOTIFICATION_MARK + 1))")"), expected $(printf '%q' "$1")"
}

# wait_for_notifications EXPECTED...: notifications_are within 15 s; the
# mark moves past them.
wait_for_notifications() {
    local expected
    expected=$(printf '%s\n' "$@")
    within 15 notifications_are "$expected" || _notifications_failed "$expected"
    NOTIFICATION_MARK=$((NOTIFICATION_MARK + $#))
}

press_notifies() { press_each wait_for_notifications "$@"; }

# notifications_settle LAST: whatever else comes first, LAST is the latest
# thing Orca said, as a notification or as the focus it read, and still is a
# second later (a slow machine's late words come first); mark it.
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

# open_mode N TITLE HINT: N in the launcher opens TITLE, which notifies HINT.
open_mode() {
    press "$1"
    focus_window "$(window_named "$2")"
    wait_for_notifications "$3"
}

# back_to_launcher TITLE: the window is gone, the launcher has the
# keyboard and Orca has read its entry in focus.
back_to_launcher() {
    window_gone "$1"
    focus_window "$launcher"
    notifications_settle "に どのゆびつかうの"
}

# A desktop: a window manager, and (unless told otherwise) the flag a desktop sets when it starts a
# screen reader (Orca 43 reads it but does not set it itself).
start_window_manager
# HOSHI_ORCA_FLAG=false: Orca started by hand, as from a terminal: no flag is set.
set_screen_reader_enabled "${HOSHI_ORCA_FLAG:-true}"

# Orca with its default settings (a fresh home: no first-run questions come
# up without --setup) speaks through SPEECHD_ADDRESS, the private server.
# Orca will not start while another one, even one that has ended but was not
# yet reaped, is in the process list: wait for an earlier run's to be gone.
no_orca() { ! pgrep -u "$(id -u)" -x orca >/dev/null; }
within 15 no_orca || echo "an earlier Orca is still there: --replace ends it"
orca --replace --debug-file="$orca_debug" >"$TMPDIR/orca.out" 2>&1 &
orca_pid=$!
# Ended and reaped here, so that the next run finds no trace of it.
AT_EXIT='kill "$orca_pid" 2>/dev/null; wait "$orca_pid" 2>/dev/null || true'
orca_on() {
    kill -0 "$orca_pid" 2>/dev/null || { cat "$TMPDIR/orca.out" >&2; fail "Orca ended"; }
    orca_said | grep -qx "Screen reader on."
}
within 30 orca_on \
    || { tail -n 30 "$orca_debug" "$TMPDIR/orca.out" >&2; fail "Orca did not speak through the private speech-dispatcher"; }

speech_mark
# Under the leak checker: Qt's bridge keeps key events a screen reader has
# not answered yet (see the list named here).
[ -n "${LSAN_OPTIONS:-}" ] &&
    export LSAN_OPTIONS="suppressions=$(dirname "$0")/../sanitizers/lsan-screen-reader.supp:print_suppressions=0"
start_launcher
# How the start was heard is checked at the end; from here on every event.
sleep 1
NOTIFICATION_MARK=$(notifications | wc -l)

# Launcher: Orca reads the entry the focus moves to, so no notification
# says it a second time.
press Down
notifications_settle "に どのゆびつかうの"
sleep 0.5
[ "$(notifications | wc -l)" -eq "$NOTIFICATION_MARK" ] || fail "the entry was said twice: $(orca_said | tail -n 3)"

# Its menu: Orca reads the entries itself, by their readings, with no kanji
# (each is heard as "Chinese letter"). Alt is held as a hand holds it: Qt
# hands every key to Orca before acting on it.
menu_mark=$(orca_said | wc -l)
xdotool keydown Alt_L; sleep 0.4; xdotool key f; sleep 0.4; xdotool keyup Alt_L
menu_read() { orca_said | tail -n +"$((menu_mark + 1))" | grep -qxF "しゅーりょーえっくす おあ えすけーぷ."; }
within 5 menu_read || fail "Orca did not read the menu entry: $(orca_said | tail -n +"$((menu_mark + 1))")"
press Escape
press Escape
notifications_settle "に どのゆびつかうの"
menu_heard=$(orca_said | tail -n +"$((menu_mark + 1))")
! grep -qxF "に どのゆびつかうの." <<<"$menu_heard" || fail "the entry was said again after the menu: $menu_heard"
if LC_ALL=C.UTF-8 grep -qP '[\x{4E00}-\x{9FFF}]' <<<"$menu_heard"; then
    fail "kanji reached Orca from the menu: $menu_heard"
fi

# Key guide: the prompt, then one notification per key holding both its
# text's reading and its reading.
open_mode 1 "押せばわかる" "きーをおしてね"
press_notifies a "えー" F1 "えふいち ふぁんくしょんいち"
press alt+F4
back_to_launcher "押せばわかる"

# Finger guide.
open_mode 2 "どのゆびつかうの" "ひだりひとさしゆびえふ"
press_notifies f "ひだりひとさしゆびあーる" g "あーる"
press Escape
back_to_launcher "どのゆびつかうの"

# Alphabet drill: the hint, the target, the same target after a miss.
open_mode 3 "アルファベットに挑戦" "すぺーすで すたーと"
clear_clipboard
press space
target=$(wait_for_target)
wait_for_notifications "$(letter_reading "$target")"
press_notifies "$(miss_key "$target")" "$(letter_reading "$target")"
press Escape
back_to_launcher "アルファベットに挑戦"

# Letters, digits and symbols: its hint.
open_mode 4 "数字と記号も登場" "すぺーすで すたーと"
press Escape
back_to_launcher "数字と記号も登場"

# Japanese typing: the hint to open a file, and Esc's hint to start over.
open_mode 5 "応用日本語入力　３分" "こんとろーる おーで ふぁいるを ひらいてね"
press_notifies Escape "はじめから えんたーで はじまるよ"
# The window manager's Alt+F4: with Orca between key and window a menu
# opened by Alt+F may not be up yet when the next key comes.
press alt+F4
back_to_launcher "応用日本語入力　３分"

# English typing: its hint goes to Orca too, in English, and its own voice is silent.
SPEECH_CLIENT=hoshinotamago-en speech_mark
press 6
focus_window "$(window_named "ENGLISH Three Minute")"
# (Orca ends every notification with a full stop; the function takes it off.)
wait_for_notifications "Press Control O to open a text file"
SPEECH_CLIENT=hoshinotamago-en assert_silent_since_mark
press alt+F4
back_to_launcher "ENGLISH Three Minute"
quit_launcher
# The start: the first entry was heard, read from the focus, and all the
# while the program's own voice kept quiet.
orca_said | grep -q '^いち おせばわかる ' || fail "the first entry was not heard at the start: $(orca_said | head -n 5)"
# Nothing Orca said of ours held a kanji (heard as "Chinese letter") or a 、 (heard as a word).
unreadable=$(orca_said | LC_ALL=C.UTF-8 grep -P '[\x{4E00}-\x{9FFF}、。]' || true)
[ -z "$unreadable" ] || fail "Orca was given kanji or 、: $unreadable"
assert_silent_since_mark
echo "orca e2e passed"
