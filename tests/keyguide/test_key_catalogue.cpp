// The key catalogue against the key tables, transcribed here on their own,
// and the look-up rule on the exact modifier state.

#include "keyguide/key_catalogue.h"

#include <QTest>

#include <set>
#include <vector>

using namespace hoshi;

Q_DECLARE_METATYPE(hoshi::KeyAction)

namespace {

struct Row {
    int code;
    QString display;
    QString reading;
    KeyAction action = KeyAction::NoAction;
};

const QString FullWidthDigits = QStringLiteral("０１２３４５６７８９");
const QString FullWidthSmall = QStringLiteral("ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ");
const QString FullWidthCapital = QStringLiteral("ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ");

std::vector<Row> unshiftedRows()
{
    std::vector<Row> rows{
        {8, "BackSpace", "ﾊﾞｯｸｽﾍﾟｰｽ"},
        {9, "Tab", "タブ"},
        {13, "Enter", "エンター"},
        {19, "Pause", "ポーズ"},
        {27, "Escape", "エスケープ"},
        {29, "無変換", "無変換", KeyAction::ImeOff},
        {32, "Space", "スペース"},
        {33, "Page Up", "ページアップ"},
        {34, "Page Down", "ページダウン"},
        {35, "End", "エンド"},
        {36, "Home", "ホーム"},
        {37, "\u2190", "左矢印"},
        {38, "\u2191", "上矢印"},
        {39, "\u2192", "右矢印"},
        {40, "\u2193", "下矢印"},
        {42, "Prentscreen", "ﾌﾟﾘﾝﾄｽｸﾘｰﾝ"},
        {45, "Insert", "インサート"},
        {46, "Delete", "デリート"},
        {47, "47", "47"},
        {91, "Windowsｷｰ", "ｳｨﾝﾄﾞｰｽﾞｷｰ", KeyAction::RepressSameKey},
        {93, "Application", "ｱﾌﾟﾘｹｰｼｮﾝｷｰ"},
        {106, "\uFF0A", "アスタリスク"},
        {107, "\uFF0B", "プラス"},
        {109, "\uFF0D", "マイナス"},
        {110, "\uFF0E", "ピリオド"},
        {111, "\uFF0F", "スラッシュ"},
        {112, "Ｆ１", "ﾌｧﾝｸｼｮﾝ1"},
        {113, "Ｆ２", "ﾌｧﾝｸｼｮﾝ2"},
        {114, "Ｆ３", "ﾌｧﾝｸｼｮﾝ3"},
        {115, "Ｆ４", "ﾌｧﾝｸｼｮﾝ4"},
        {116, "Ｆ５", "ﾌｧﾝｸｼｮﾝ5"},
        {117, "Ｆ６", "ﾌｧﾝｸｼｮﾝ6"},
        {118, "Ｆ７", "ﾌｧﾝｸｼｮﾝ7"},
        {119, "Ｆ８", "ﾌｧﾝｸｼｮﾝ8"},
        {120, "Ｆ９", "ﾌｧﾝｸｼｮﾝ9"},
        {121, "Ｆ１０", "ﾌｧﾝｸｼｮﾝ10", KeyAction::RepressSameKey},
        {122, "Ｆ１１", "ﾌｧﾝｸｼｮﾝ11"},
        {123, "Ｆ１２", "ﾌｧﾝｸｼｮﾝ12"},
        {144, "NumLock", "ナムロック"},
        {186, "\u003A", "コロン"},
        {187, "\u003B", "セミコロン"},
        {188, "\u002C", "カンマ"},
        {189, "\uFF0D", "マイナス"},
        {190, "\u002E", "ピリオド"},
        {191, "\uFF0F", "スラッシュ"},
        {192, "\uFF20", "アットマーク"},
        {219, "\u005B", "角かっこ"},
        {220, "\u005C", "円マーク"},
        {221, "\u005D", "角かっことじ"},
        {222, "\uFF3E", "べきじょう"},
        {226, "\uFFE5", "ﾊﾞｯｸｽﾗｯｼｭ"},
        {229, "半角/全角", "半角/全角", KeyAction::ImeOff},
        {240, "Caps Lock", "ｷｬﾌﾟｽﾛｯｸ"},
        {242, "ｶﾀｶﾅ", "カタカナ"},
    };
    for (int i = 0; i < 10; ++i) {
        rows.push_back({48 + i, FullWidthDigits.mid(i, 1), QString()});
        rows.push_back({96 + i, FullWidthDigits.mid(i, 1), QString()});
    }
    for (int i = 0; i < 26; ++i)
        rows.push_back({65 + i, FullWidthSmall.mid(i, 1), FullWidthCapital.mid(i, 1)});
    return rows;
}

std::vector<Row> shiftedRows()
{
    std::vector<Row> rows{
        {49, "\uFF01", "ｴｸｽｸﾗﾒｰｼｮﾝ"},
        {50, "\u0022", "ﾀﾞﾌﾞﾙｸｵｰﾃｰｼｮﾝ"},
        {51, "\uFF03", "シャープ"},
        {52, "\uFF04", "ドル"},
        {53, "\uFF05", "パーセント"},
        {54, "\uFF06", "アンド"},
        {55, "\u0027", "ｱﾎﾟｽﾄﾛﾌｨｰ"},
        {56, "\u0028", "かっこ"},
        {57, "\u0029", "かっことじ"},
        {186, "\u002A", "アスタリスク"},
        {187, "\u002B", "プラス"},
        {188, "\u003C", "小なり"},
        {189, "\u003D", "イコール"},
        {190, "\u003E", "大なり"},
        {191, "\u003F", "ｸｴｽﾁｮﾝﾏｰｸ"},
        {192, "\u0060", "ｼﾝｸﾞﾙｸｵｰﾃｰｼｮﾝ"},
        {219, "\u007B", "ちゅうかっこ"},
        {220, "\u007C", "縦棒"},
        {221, "\u007D", "ちゅうかっことじ"},
        {222, "\u007E", "チルダ"},
        {226, "\u005F", "ｱﾝﾀﾞｰﾗｲﾝ"},
    };
    for (int i = 0; i < 26; ++i)
        rows.push_back({65 + i, FullWidthCapital.mid(i, 1), FullWidthSmall.mid(i, 1)});
    return rows;
}

std::vector<Row> modifierRows()
{
    return {
        {16, "Shift", "シフト"},
        {17, "Ctrl", "コントロール"},
        {18, "Alt", "オルト", KeyAction::RepressAlt},
    };
}

void addRows(const std::vector<Row> &rows)
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("reading");
    QTest::addColumn<KeyAction>("action");
    for (const Row &row : rows)
        QTest::addRow("key %d", row.code) << row.code << row.display << row.reading << row.action;
}

void compareEntry(const std::optional<KeyEntry> &entry)
{
    QFETCH(QString, display);
    QFETCH(QString, reading);
    QFETCH(KeyAction, action);
    QVERIFY(entry.has_value());
    QCOMPARE(entry->display, display);
    QCOMPARE(entry->reading, reading);
    QVERIFY(!entry->keepReading);
    QCOMPARE(entry->action, action);
}

std::set<int> codesOf(const std::vector<Row> &rows)
{
    std::set<int> codes;
    for (const Row &row : rows)
        codes.insert(row.code);
    return codes;
}

} // namespace

class TestKeyCatalogue : public QObject {
    Q_OBJECT

private slots:
    void unshifted_entries_data() { addRows(unshiftedRows()); }
    void unshifted_entries();
    void shifted_entries_data() { addRows(shiftedRows()); }
    void shifted_entries();
    void modifier_entries_data() { addRows(modifierRows()); }
    void modifier_entries();
    void shift_zero_keeps_the_reading();
    void tables_hold_no_other_keys();
    void modifier_keys_in_every_state_data();
    void modifier_keys_in_every_state();
    void keys_in_no_table_data();
    void keys_in_no_table();
    void pad_digits_read_as_main_digits();
};

void TestKeyCatalogue::unshifted_entries()
{
    QFETCH(int, code);
    const KeyLookup found = LookUpKey(code, 0);
    compareEntry(found.tableEntry);
    QVERIFY(!found.modifierEntry);
}

void TestKeyCatalogue::shifted_entries()
{
    QFETCH(int, code);
    const KeyLookup found = LookUpKey(code, 1);
    compareEntry(found.tableEntry);
    QVERIFY(!found.modifierEntry);
}

void TestKeyCatalogue::modifier_entries()
{
    QFETCH(int, code);
    const KeyLookup found = LookUpKey(code, 0);
    compareEntry(found.modifierEntry);
    QVERIFY(!found.tableEntry);
}

void TestKeyCatalogue::shift_zero_keeps_the_reading()
{
    // State: Shift held. Action: the 0 key. Expected: an empty display, no reading of its own.
    const KeyLookup found = LookUpKey(48, 1);
    QVERIFY(found.tableEntry.has_value());
    QCOMPARE(found.tableEntry->display, QString());
    QVERIFY(found.tableEntry->keepReading);
    QCOMPARE(found.tableEntry->action, KeyAction::NoAction);
}

void TestKeyCatalogue::tables_hold_no_other_keys()
{
    // Every 16-bit code: an entry exactly where the tables have one.
    const std::set<int> unshifted = codesOf(unshiftedRows());
    std::set<int> shifted = codesOf(shiftedRows());
    shifted.insert(48);
    const std::set<int> modifiers = codesOf(modifierRows());
    for (int code = -32768; code <= 65535; ++code) {
        const bool inUnshifted = LookUpKey(code, 0).tableEntry.has_value();
        const bool inShifted = LookUpKey(code, 1).tableEntry.has_value();
        const bool inModifiers = LookUpKey(code, 0).modifierEntry.has_value();
        if (inUnshifted != unshifted.contains(code) || inShifted != shifted.contains(code)
            || inModifiers != modifiers.contains(code))
            QFAIL(qPrintable(QStringLiteral("key code %1 is in the wrong tables").arg(code)));
    }
}

void TestKeyCatalogue::modifier_keys_in_every_state_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("display");
    for (int state = 0; state <= 7; ++state) {
        QTest::addRow("Shift, state %d", state) << 16 << state << "Shift";
        QTest::addRow("Ctrl, state %d", state) << 17 << state << "Ctrl";
        QTest::addRow("Alt, state %d", state) << 18 << state << "Alt";
    }
}

void TestKeyCatalogue::modifier_keys_in_every_state()
{
    QFETCH(int, code);
    QFETCH(int, state);
    QFETCH(QString, display);
    const KeyLookup found = LookUpKey(code, state);
    QVERIFY(found.modifierEntry.has_value());
    QCOMPARE(found.modifierEntry->display, display);
    QCOMPARE(found.modifierEntry->action, code == 18 ? KeyAction::RepressAlt : KeyAction::NoAction);
    QVERIFY(!found.tableEntry);
}

void TestKeyCatalogue::keys_in_no_table_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("state");
    for (int code : {20, 21, 25, 28, 44, 92, 108, 145, 124, 130, 135, 0, 41, 255, 65535}) {
        for (int state : {0, 1, 2, 3, 4, 6})
            QTest::addRow("key %d, state %d", code, state) << code << state;
    }
    for (int code : {65, 90, 48, 52, 186, 220, 226, 13, 32, 112, 121}) {
        for (int state : {2, 3, 4, 5, 6, 7})
            QTest::addRow("key %d with Ctrl or Alt, state %d", code, state) << code << state;
    }
    QTest::newRow("Shift+Space") << 32 << 1;
    QTest::newRow("Shift+F1") << 112 << 1;
    QTest::newRow("Shift+F10") << 121 << 1;
    QTest::newRow("Shift+Windows") << 91 << 1;
    QTest::newRow("Shift+pad 0") << 96 << 1;
    QTest::newRow("Shift+hankaku/zenkaku") << 229 << 1;
    QTest::newRow("Shift+Enter") << 13 << 1;
    QTest::newRow("state 8 is no state") << 65 << 8;
    QTest::newRow("negative state") << 65 << -1;
}

void TestKeyCatalogue::keys_in_no_table()
{
    QFETCH(int, code);
    QFETCH(int, state);
    const KeyLookup found = LookUpKey(code, state);
    QVERIFY(!found.tableEntry);
    QVERIFY(!found.modifierEntry);
}

void TestKeyCatalogue::pad_digits_read_as_main_digits()
{
    for (int i = 0; i < 10; ++i)
        QCOMPARE(LookUpKey(96 + i, 0).tableEntry, LookUpKey(48 + i, 0).tableEntry);
}

QTEST_APPLESS_MAIN(TestKeyCatalogue)
#include "test_key_catalogue.moc"
