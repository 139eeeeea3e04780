// The key translator: physical JIS keys, Qt's key codes, modifier masks and
// the character codes of the key-press that follows a key-down.

#include "platform/jis_keymap.h"
#include "platform/key_event.h"

#include <QKeyEvent>
#include <QTest>

using namespace hoshi;

class TestKeyTranslator : public QObject {
    Q_OBJECT

private slots:
    void evdev_positions_name_the_jis_keycap_data();
    void evdev_positions_name_the_jis_keycap();
    void unknown_evdev_codes_give_no_key();
    void physical_key_rules_data();
    void physical_key_rules();
    void qt_keys_fall_back_to_jis_positions_data();
    void qt_keys_fall_back_to_jis_positions();
    void injected_keys_translate_back_to_their_code_data();
    void injected_keys_translate_back_to_their_code();
    void modifier_mask_data();
    void modifier_mask();
    void character_code_data();
    void character_code();
    void auto_repeat_is_kept();
};

void TestKeyTranslator::evdev_positions_name_the_jis_keycap_data()
{
    QTest::addColumn<int>("evdev");
    QTest::addColumn<int>("keyCode");
    const QList<std::pair<const char *, std::pair<int, int>>> rows{
        {"colon key right of semicolon", {40, 186}},
        {"semicolon key", {39, 187}},
        {"yen key", {124, 220}},
        {"ro (backslash) key", {89, 226}},
        {"muhenkan", {94, 29}},
        {"henkan", {92, 28}},
        {"katakana/hiragana", {93, 242}},
        {"hankaku/zenkaku as an open input method", {41, 229}},
        {"eisu / caps lock", {58, 240}},
        {"minus key", {12, 189}},
        {"caret key", {13, 222}},
        {"at key", {26, 192}},
        {"open bracket key", {27, 219}},
        {"close bracket key", {43, 221}},
        {"escape", {1, 27}},
        {"digit 1", {2, 49}},
        {"digit 0", {11, 48}},
        {"letter a", {30, 65}},
        {"letter z", {44, 90}},
        {"space", {57, 32}},
        {"left shift", {42, 16}},
        {"right shift", {54, 16}},
        {"left ctrl", {29, 17}},
        {"right ctrl", {97, 17}},
        {"left alt", {56, 18}},
        {"right alt", {100, 18}},
        {"left windows", {125, 91}},
        {"right windows", {126, 92}},
        {"application", {127, 93}},
        {"print screen", {99, 44}},
        {"pause", {119, 19}},
        {"num lock", {69, 144}},
        {"scroll lock", {70, 145}},
        {"pad 0", {82, 96}},
        {"pad 7", {71, 103}},
        {"pad decimal", {83, 110}},
        {"pad separator", {121, 108}},
        {"pad multiply", {55, 106}},
        {"pad divide", {98, 111}},
        {"pad enter", {96, 13}},
        {"F10", {68, 121}},
        {"F11", {87, 122}},
        {"F12", {88, 123}},
        {"F13", {183, 124}},
        {"F24", {194, 135}},
        {"help", {138, 47}},
    };
    for (const auto &[name, codes] : rows)
        QTest::newRow(name) << codes.first << codes.second;
}

void TestKeyTranslator::evdev_positions_name_the_jis_keycap()
{
    QFETCH(int, evdev);
    QFETCH(int, keyCode);
    QCOMPARE(virtualKeyFromEvdev(evdev), keyCode);
}

void TestKeyTranslator::unknown_evdev_codes_give_no_key()
{
    // State: positions no JIS keyboard has (the ISO key, gaps, nonsense).
    // Action / Expected: no code at all rather than a neighbour's.
    for (int evdev : {0, -1, 84, 86, 101, 255, 100000})
        QCOMPARE(virtualKeyFromEvdev(evdev), 0);
}

void TestKeyTranslator::physical_key_rules_data()
{
    QTest::addColumn<int>("evdev");
    QTest::addColumn<int>("qtKey");
    QTest::addColumn<bool>("keypad");
    QTest::addColumn<int>("keyCode");
    QTest::newRow("position beats a US keysym") << 40 << int(Qt::Key_Apostrophe) << false << 186;
    QTest::newRow("shifted digit is still the digit key") << 2 << int(Qt::Key_Exclam) << false << 49;
    QTest::newRow("pad 7 with num lock on") << 71 << int(Qt::Key_7) << true << 103;
    QTest::newRow("pad 7 with num lock off is Home") << 71 << int(Qt::Key_Home) << true << 36;
    QTest::newRow("pad 2 with num lock off is Down") << 80 << int(Qt::Key_Down) << true << 40;
    QTest::newRow("pad 5 with num lock off is Clear") << 76 << int(Qt::Key_Clear) << true << 12;
    QTest::newRow("pad decimal with num lock off is Delete") << 83 << int(Qt::Key_Delete) << true << 46;
    QTest::newRow("pad decimal as a comma") << 83 << int(Qt::Key_Comma) << true << 110;
    QTest::newRow("pad 7 with an odd keysym stays pad 7") << 71 << int(Qt::Key_unknown) << true << 103;
    QTest::newRow("pad plus keeps its code") << 78 << int(Qt::Key_Plus) << true << 107;
    QTest::newRow("scratch keycode falls back to the keysym") << 0 << int(Qt::Key_yen) << false << 220;
    QTest::newRow("unknown position and unknown keysym") << 247 << int(Qt::Key_unknown) << false << 0;
}

void TestKeyTranslator::physical_key_rules()
{
    QFETCH(int, evdev);
    QFETCH(int, qtKey);
    QFETCH(bool, keypad);
    QFETCH(int, keyCode);
    QCOMPARE(virtualKeyFromPhysicalKey(evdev, qtKey, keypad), keyCode);
}

void TestKeyTranslator::qt_keys_fall_back_to_jis_positions_data()
{
    QTest::addColumn<int>("qtKey");
    QTest::addColumn<bool>("keypad");
    QTest::addColumn<int>("keyCode");
    QTest::newRow("A") << int(Qt::Key_A) << false << 65;
    QTest::newRow("Z") << int(Qt::Key_Z) << false << 90;
    QTest::newRow("0") << int(Qt::Key_0) << false << 48;
    QTest::newRow("9") << int(Qt::Key_9) << false << 57;
    QTest::newRow("! is Shift+1") << int(Qt::Key_Exclam) << false << 49;
    QTest::newRow("' is Shift+7") << int(Qt::Key_Apostrophe) << false << 55;
    QTest::newRow(":") << int(Qt::Key_Colon) << false << 186;
    QTest::newRow("* on the main block") << int(Qt::Key_Asterisk) << false << 186;
    QTest::newRow("+ on the main block") << int(Qt::Key_Plus) << false << 187;
    QTest::newRow("= is Shift+minus") << int(Qt::Key_Equal) << false << 189;
    QTest::newRow("@") << int(Qt::Key_At) << false << 192;
    QTest::newRow("^") << int(Qt::Key_AsciiCircum) << false << 222;
    QTest::newRow("yen sign") << int(Qt::Key_yen) << false << 220;
    QTest::newRow("backslash") << int(Qt::Key_Backslash) << false << 220;
    QTest::newRow("|") << int(Qt::Key_Bar) << false << 220;
    QTest::newRow("_ is Shift+ro") << int(Qt::Key_Underscore) << false << 226;
    QTest::newRow("pad 0") << int(Qt::Key_0) << true << 96;
    QTest::newRow("pad 9") << int(Qt::Key_9) << true << 105;
    QTest::newRow("pad *") << int(Qt::Key_Asterisk) << true << 106;
    QTest::newRow("pad +") << int(Qt::Key_Plus) << true << 107;
    QTest::newRow("pad separator") << int(Qt::Key_Comma) << true << 108;
    QTest::newRow("pad -") << int(Qt::Key_Minus) << true << 109;
    QTest::newRow("pad .") << int(Qt::Key_Period) << true << 110;
    QTest::newRow("pad /") << int(Qt::Key_Slash) << true << 111;
    QTest::newRow("pad Enter") << int(Qt::Key_Enter) << true << 13;
    QTest::newRow("pad Home (num lock off)") << int(Qt::Key_Home) << true << 36;
    QTest::newRow("pad = is no JIS key") << int(Qt::Key_Equal) << true << 0;
    QTest::newRow("Return") << int(Qt::Key_Return) << false << 13;
    QTest::newRow("Backtab is Tab") << int(Qt::Key_Backtab) << false << 9;
    QTest::newRow("F1") << int(Qt::Key_F1) << false << 112;
    QTest::newRow("F12") << int(Qt::Key_F12) << false << 123;
    QTest::newRow("F13") << int(Qt::Key_F13) << false << 124;
    QTest::newRow("muhenkan") << int(Qt::Key_Muhenkan) << false << 29;
    QTest::newRow("hankaku/zenkaku") << int(Qt::Key_Zenkaku_Hankaku) << false << 229;
    QTest::newRow("eisu") << int(Qt::Key_Eisu_toggle) << false << 240;
    QTest::newRow("hiragana/katakana") << int(Qt::Key_Hiragana_Katakana) << false << 242;
    QTest::newRow("left windows") << int(Qt::Key_Super_L) << false << 91;
    QTest::newRow("meta as the windows key") << int(Qt::Key_Meta) << false << 91;
    QTest::newRow("right windows") << int(Qt::Key_Super_R) << false << 92;
    QTest::newRow("application") << int(Qt::Key_Menu) << false << 93;
    QTest::newRow("print screen") << int(Qt::Key_Print) << false << 44;
    QTest::newRow("caps lock") << int(Qt::Key_CapsLock) << false << 20;
    QTest::newRow("unknown") << int(Qt::Key_unknown) << false << 0;
    QTest::newRow("volume mute") << int(Qt::Key_VolumeMute) << false << 0;
    QTest::newRow("zero") << 0 << false << 0;
    QTest::newRow("negative") << -5 << true << 0;
}

void TestKeyTranslator::qt_keys_fall_back_to_jis_positions()
{
    QFETCH(int, qtKey);
    QFETCH(bool, keypad);
    QFETCH(int, keyCode);
    QCOMPARE(virtualKeyFromQtKey(qtKey, keypad), keyCode);
}

void TestKeyTranslator::injected_keys_translate_back_to_their_code_data()
{
    QTest::addColumn<int>("keyCode");
    for (int code : {8, 9, 13, 16, 17, 18, 27, 29, 32, 37, 38, 39, 40, 46, 65, 90, 48, 91, 93, 112, 121, 123,
                     135, 229, 240, 242})
        QTest::newRow(qPrintable(QString::number(code))) << code;
}

void TestKeyTranslator::injected_keys_translate_back_to_their_code()
{
    // State: a synthetic event made from a virtual-key code.
    // Action: it arrives and is translated like a typed key.
    // Expected: the same code, so an injected re-press names the same key.
    QFETCH(int, keyCode);
    const int qtKey = qtKeyFromVirtualKey(keyCode);
    QVERIFY(qtKey != 0);
    const QKeyEvent event(QEvent::KeyPress, qtKey, Qt::NoModifier);
    QCOMPARE(translateKeyEvent(event).down.keyCode, keyCode);
}

void TestKeyTranslator::modifier_mask_data()
{
    QTest::addColumn<int>("qtKey");
    QTest::addColumn<int>("qtModifiers");
    QTest::addColumn<int>("mask");
    QTest::newRow("plain letter") << int(Qt::Key_A) << int(Qt::NoModifier) << 0;
    QTest::newRow("Shift") << int(Qt::Key_A) << int(Qt::ShiftModifier) << 1;
    QTest::newRow("Ctrl") << int(Qt::Key_A) << int(Qt::ControlModifier) << 2;
    QTest::newRow("Alt") << int(Qt::Key_A) << int(Qt::AltModifier) << 4;
    QTest::newRow("all three") << int(Qt::Key_A) << int(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)
                               << 7;
    QTest::newRow("Windows key, pad and group bits count for nothing")
        << int(Qt::Key_A) << int(Qt::MetaModifier | Qt::KeypadModifier | Qt::GroupSwitchModifier) << 0;
    QTest::newRow("Shift key reported without its own bit") << int(Qt::Key_Shift) << int(Qt::NoModifier) << 1;
    QTest::newRow("Shift key reported with its own bit") << int(Qt::Key_Shift) << int(Qt::ShiftModifier) << 1;
    QTest::newRow("Ctrl key") << int(Qt::Key_Control) << int(Qt::NoModifier) << 2;
    QTest::newRow("Alt key") << int(Qt::Key_Alt) << int(Qt::NoModifier) << 4;
    QTest::newRow("Alt key with Ctrl held") << int(Qt::Key_Alt) << int(Qt::ControlModifier) << 6;
    QTest::newRow("Ctrl key with Shift held") << int(Qt::Key_Control) << int(Qt::ShiftModifier) << 3;
}

void TestKeyTranslator::modifier_mask()
{
    QFETCH(int, qtKey);
    QFETCH(int, qtModifiers);
    QFETCH(int, mask);
    const QKeyEvent event(QEvent::KeyPress, qtKey, Qt::KeyboardModifiers(qtModifiers));
    QCOMPARE(translateKeyEvent(event).down.modifiers, mask);
}

void TestKeyTranslator::character_code_data()
{
    QTest::addColumn<int>("qtKey");
    QTest::addColumn<int>("qtModifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("charCode"); // -1: no key-press
    QTest::newRow("letter") << int(Qt::Key_A) << int(Qt::NoModifier) << "a" << 97;
    QTest::newRow("Enter") << int(Qt::Key_Return) << int(Qt::NoModifier) << "\r" << 13;
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << int(Qt::NoModifier) << "\b" << 8;
    QTest::newRow("Tab") << int(Qt::Key_Tab) << int(Qt::NoModifier) << "\t" << 9;
    QTest::newRow("Ctrl+A with its control code") << int(Qt::Key_A) << int(Qt::ControlModifier) << "\x01" << 1;
    QTest::newRow("Ctrl+A without text") << int(Qt::Key_A) << int(Qt::ControlModifier) << "" << 1;
    QTest::newRow("Ctrl+Z without text") << int(Qt::Key_Z) << int(Qt::ControlModifier) << "" << 26;
    QTest::newRow("Alt+A makes none") << int(Qt::Key_A) << int(Qt::AltModifier) << "a" << -1;
    QTest::newRow("Delete makes none") << int(Qt::Key_Delete) << int(Qt::NoModifier) << "\x7f" << -1;
    QTest::newRow("Shift key makes none") << int(Qt::Key_Shift) << int(Qt::NoModifier) << "" << -1;
    QTest::newRow("F1 makes none") << int(Qt::Key_F1) << int(Qt::NoModifier) << "" << -1;
}

void TestKeyTranslator::character_code()
{
    QFETCH(int, qtKey);
    QFETCH(int, qtModifiers);
    QFETCH(QString, text);
    QFETCH(int, charCode);
    const QKeyEvent event(QEvent::KeyPress, qtKey, Qt::KeyboardModifiers(qtModifiers), text);
    const TranslatedKey key = translateKeyEvent(event);
    QCOMPARE(key.charCode.value_or(-1), charCode);
}

void TestKeyTranslator::auto_repeat_is_kept()
{
    const QKeyEvent held(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"), true);
    const QKeyEvent first(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"), false);
    QVERIFY(translateKeyEvent(held).down.autoRepeat);
    QVERIFY(!translateKeyEvent(first).down.autoRepeat);
}

QTEST_MAIN(TestKeyTranslator)
#include "test_key_translator.moc"
