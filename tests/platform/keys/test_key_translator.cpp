// SPDX-License-Identifier: GPL-3.0-or-later
// The key translator: physical JIS keys, Qt's key codes, modifier masks and the key-press after a key-down.
#include "platform/keys/jis_keymap.h"
#include "platform/keys/key_event.h"

#include <QKeyEvent>
#include <QTest>

using namespace hoshi;

class TestKeyTranslator : public QObject {
    Q_OBJECT

private slots:
    void evdev_positions_name_the_jis_keycap()
    {
        // The keys a JIS keyboard has where a US one differs or has none, a key of each
        // row, and positions no JIS key occupies (no code rather than a neighbour's).
        const std::tuple<int, int, const char *> keys[]{
            {1, 27, "Esc"}, {59, 112, "F1"}, {41, 229, "半角/全角"}, {85, 229, "半角/全角, second code"}, {2, 49, "1"},
            {12, 189, "-"}, {13, 222, "^"}, {124, 220, "¥"}, {14, 8, "BackSpace"}, {26, 192, "@"}, {27, 219, "["},
            {28, 13, "Enter"}, {58, 240, "英数 (CapsLock)"}, {30, 65, "A"}, {39, 187, ";"}, {40, 186, ":"}, {43, 221, "]"},
            {54, 16, "right Shift"}, {89, 226, "\\ (ろ)"}, {97, 17, "right Ctrl"}, {125, 91, "left Windows"},
            {100, 18, "right Alt"}, {94, 29, "無変換"}, {92, 28, "変換"}, {93, 242, "カタカナ/ひらがな"}, {127, 93, "Application"},
            {111, 46, "Delete"}, {103, 38, "Up"}, {69, 144, "NumLock"}, {98, 111, "pad /"}, {78, 107, "pad +"},
            {71, 103, "pad 7"}, {82, 96, "pad 0"}, {83, 110, "pad ."}, {96, 13, "pad Enter"}, {183, 124, "F13"},
            {86, 0, "ISO key"}, {117, 0, "pad ="}, {113, 0, "mute"}, {0, 0, "none"}, {-1, 0, "negative"},
            {100000, 0, "far past the table"}};
        for (const auto &[evdev, keyCode, keycap] : keys)
            QVERIFY2(virtualKeyFromEvdev(evdev) == keyCode, keycap);
    }

    void physical_keys_go_by_position_then_by_keysym()
    {
        // {evdev code, Qt key, on the pad, virtual key}: Num Lock off turns pad digits into Home and arrows.
        const std::tuple<int, int, bool, int> keys[]{
            {40, Qt::Key_Apostrophe, false, 186}, {2, Qt::Key_Exclam, false, 49}, {71, Qt::Key_7, true, 103},
            {71, Qt::Key_Home, true, 36}, {80, Qt::Key_Down, true, 40}, {76, Qt::Key_Clear, true, 12},
            {83, Qt::Key_Delete, true, 46}, {83, Qt::Key_Comma, true, 110}, {71, Qt::Key_unknown, true, 103},
            {78, Qt::Key_Plus, true, 107}, {0, Qt::Key_yen, false, 220}, {247, Qt::Key_unknown, false, 0}};
        for (const auto &[evdev, qtKey, keypad, keyCode] : keys)
            QVERIFY2(virtualKeyFromPhysicalKey(evdev, qtKey, keypad) == keyCode, qPrintable(QString::number(evdev)));
    }

    void qt_keys_fall_back_to_jis_positions()
    {
        // {Qt key, on the pad, virtual key}: characters where a JIS keyboard has them.
        const std::tuple<int, bool, int> keys[]{
            {Qt::Key_A, false, 65}, {Qt::Key_0, false, 48}, {Qt::Key_Exclam, false, 49}, {Qt::Key_Colon, false, 186},
            {Qt::Key_Asterisk, false, 186}, {Qt::Key_Plus, false, 187}, {Qt::Key_At, false, 192},
            {Qt::Key_yen, false, 220}, {Qt::Key_Underscore, false, 226}, {Qt::Key_0, true, 96}, {Qt::Key_9, true, 105},
            {Qt::Key_Comma, true, 108}, {Qt::Key_Period, true, 110}, {Qt::Key_Enter, true, 13}, {Qt::Key_Home, true, 36},
            {Qt::Key_Equal, true, 0}, {Qt::Key_Backtab, false, 9}, {Qt::Key_F13, false, 124},
            {Qt::Key_Zenkaku_Hankaku, false, 229}, {Qt::Key_Eisu_toggle, false, 240}, {Qt::Key_Meta, false, 91},
            {Qt::Key_Menu, false, 93}, {Qt::Key_unknown, false, 0}, {0, false, 0}, {-5, true, 0}};
        for (const auto &[qtKey, keypad, keyCode] : keys)
            QVERIFY2(virtualKeyFromQtKey(qtKey, keypad) == keyCode, qPrintable(QString::number(qtKey, 16)));
    }

    void injected_keys_translate_back_to_their_code()
    {
        // A synthetic event made from a virtual-key code gives that code: an injected re-press names the same key.
        for (int keyCode : {8, 9, 13, 16, 17, 18, 27, 29, 32, 37, 38, 39, 40, 46, 65, 90, 48, 91, 93, 112, 121, 123,
                            135, 229, 240, 242}) {
            const int qtKey = qtKeyFromVirtualKey(keyCode);
            QVERIFY(qtKey != 0);
            QCOMPARE(translateKeyEvent(QKeyEvent(QEvent::KeyPress, qtKey, Qt::NoModifier)).down.keyCode, keyCode);
        }
    }

    void key_down_and_key_press()
    {
        // A key event from Qt: the 1/2/4 mask of its key-down and the character of its key-press (-1: none).
        const int shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier, alt = Qt::AltModifier;
        const int ignored = int(Qt::MetaModifier | Qt::KeypadModifier | Qt::GroupSwitchModifier);
        const struct {
            int qtKey, modifiers;
            const char *text;
            int mask, charCode;
            bool repeat = false;
        } keys[]{{Qt::Key_A, 0, "a", 0, 97}, {Qt::Key_A, 0, "a", 0, 97, true}, {Qt::Key_A, shift, "A", 1, 65},
                 {Qt::Key_A, shift | ctrl | alt, "", 7, -1}, {Qt::Key_A, ignored, "a", 0, 97},
                 {Qt::Key_Shift, 0, "", 1, -1}, {Qt::Key_Shift, shift, "", 1, -1}, {Qt::Key_Control, shift, "", 3, -1},
                 {Qt::Key_Alt, ctrl, "", 6, -1}, {Qt::Key_Return, 0, "\r", 0, 13}, {Qt::Key_Backspace, 0, "\b", 0, 8},
                 {Qt::Key_Tab, 0, "\t", 0, 9}, {Qt::Key_A, ctrl, "\x01", 2, 1}, {Qt::Key_A, ctrl, "", 2, 1},
                 {Qt::Key_Z, ctrl, "", 2, 26}, {Qt::Key_A, alt, "a", 4, -1}, {Qt::Key_Delete, 0, "\x7f", 0, -1},
                 {Qt::Key_F1, 0, "", 0, -1}};
        for (const auto &key : keys) {
            const QKeyEvent event(QEvent::KeyPress, key.qtKey, Qt::KeyboardModifiers(key.modifiers),
                                  QString::fromLatin1(key.text), key.repeat);
            const TranslatedKey translated = translateKeyEvent(event);
            const QString row = QStringLiteral("key %1, modifiers %2").arg(key.qtKey, 0, 16).arg(key.modifiers, 0, 16);
            QVERIFY2(translated.down.autoRepeat == key.repeat, qPrintable(row));
            QVERIFY2(translated.down.modifiers == key.mask, qPrintable(row));
            QVERIFY2(translated.charCode.value_or(-1) == key.charCode, qPrintable(row));
        }
    }
};

QTEST_MAIN(TestKeyTranslator)
#include "test_key_translator.moc"
