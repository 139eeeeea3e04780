// SPDX-License-Identifier: GPL-3.0-or-later
// The key catalogue against the key tables, transcribed here on their own, in each modifier state.
#include "keyguide/key_catalogue.h"

#include <QTest>

#include <vector>

using namespace hoshi;

Q_DECLARE_METATYPE(hoshi::KeyAction)

namespace {

constexpr KeyAction Ime = KeyAction::ImeOff;
constexpr KeyAction Again = KeyAction::RepressSameKey;

struct Row {
    int code;
    QString display;
    QString reading;
    KeyAction action = KeyAction::NoAction;
};

const QString Digits = QStringLiteral("０１２３４５６７８９");
const QStringList DigitNames{"ぜろ", "いち", "に", "さん", "よん", "ご", "ろく", "なな", "はち", "きゅう"};
const QString Small = QStringLiteral("ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ");
const QString Capital = QStringLiteral("ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ");

std::vector<Row> unshiftedRows()
{
    std::vector<Row> rows{
        {8, "BackSpace", "ﾊﾞｯｸｽﾍﾟｰｽ"}, {9, "Tab", "タブ"}, {13, "Enter", "エンター"}, {19, "Pause", "ポーズ"},
        {27, "Escape", "エスケープ"}, {28, "変換", "へんかん", Ime}, {29, "無変換", "無変換", Ime},
        {32, "Space", "スペース"},
        {33, "Page Up", "ページアップ"}, {34, "Page Down", "ページダウン"}, {35, "End", "エンド"},
        {36, "Home", "ホーム"}, {37, "←", "左矢印"}, {38, "↑", "上矢印"}, {39, "→", "右矢印"}, {40, "↓", "下矢印"},
        {42, "Prentscreen", "ﾌﾟﾘﾝﾄｽｸﾘｰﾝ"}, {44, "Print Screen", "ぷりんとすくりーん"}, {45, "Insert", "インサート"}, {46, "Delete", "デリート"}, {47, "47", "47"},
        {91, "Windowsｷｰ", "ｳｨﾝﾄﾞｰｽﾞｷｰ", Again}, {93, "Application", "ｱﾌﾟﾘｹｰｼｮﾝｷｰ"},
        {106, "＊", "アスタリスク"}, {107, "＋", "プラス"}, {109, "－", "マイナス"}, {110, "．", "ピリオド"},
        {111, "／", "スラッシュ"}, {112, "Ｆ１", "ﾌｧﾝｸｼｮﾝ1"}, {113, "Ｆ２", "ﾌｧﾝｸｼｮﾝ2"}, {114, "Ｆ３", "ﾌｧﾝｸｼｮﾝ3"},
        {115, "Ｆ４", "ﾌｧﾝｸｼｮﾝ4"}, {116, "Ｆ５", "ﾌｧﾝｸｼｮﾝ5"}, {117, "Ｆ６", "ﾌｧﾝｸｼｮﾝ6"}, {118, "Ｆ７", "ﾌｧﾝｸｼｮﾝ7"},
        {119, "Ｆ８", "ﾌｧﾝｸｼｮﾝ8"}, {120, "Ｆ９", "ﾌｧﾝｸｼｮﾝ9"}, {121, "Ｆ１０", "ﾌｧﾝｸｼｮﾝ10", Again},
        {122, "Ｆ１１", "ﾌｧﾝｸｼｮﾝ11"}, {123, "Ｆ１２", "ﾌｧﾝｸｼｮﾝ12"}, {144, "NumLock", "ナムロック"},
        {186, ":", "コロン"}, {187, ";", "セミコロン"}, {188, ",", "カンマ"}, {189, "－", "マイナス"},
        {190, ".", "ピリオド"}, {191, "／", "スラッシュ"}, {192, "＠", "アットマーク"}, {219, "[", "角かっこ"},
        {220, "\\", "円マーク"}, {221, "]", "角かっことじ"}, {222, "＾", "べきじょう"}, {226, "￥", "ﾊﾞｯｸｽﾗｯｼｭ"},
        {229, "半角/全角", "半角/全角", Ime}, {240, "Caps Lock", "ｷｬﾌﾟｽﾛｯｸ"}, {242, "ｶﾀｶﾅ", "カタカナ"},
    };
    for (int i = 0; i < 10; ++i) {
        rows.push_back({48 + i, Digits.mid(i, 1), DigitNames.at(i)});
        rows.push_back({96 + i, Digits.mid(i, 1), DigitNames.at(i)}); // the pad reads as the main row
    }
    for (int i = 0; i < 26; ++i)
        rows.push_back({65 + i, Small.mid(i, 1), Capital.mid(i, 1)});
    return rows;
}

std::vector<Row> shiftedRows()
{
    std::vector<Row> rows{
        {49, "！", "ｴｸｽｸﾗﾒｰｼｮﾝ"}, {50, "\"", "ﾀﾞﾌﾞﾙｸｵｰﾃｰｼｮﾝ"}, {51, "＃", "シャープ"}, {52, "＄", "ドル"},
        {53, "％", "パーセント"}, {54, "＆", "アンド"}, {55, "'", "ｱﾎﾟｽﾄﾛﾌｨｰ"}, {56, "(", "かっこ"},
        {57, ")", "かっことじ"}, {186, "*", "アスタリスク"}, {187, "+", "プラス"}, {188, "<", "小なり"},
        {189, "=", "イコール"}, {190, ">", "大なり"}, {191, "?", "ｸｴｽﾁｮﾝﾏｰｸ"}, {192, "`", "ｼﾝｸﾞﾙｸｵｰﾃｰｼｮﾝ"},
        {219, "{", "ちゅうかっこ"}, {220, "|", "縦棒"}, {221, "}", "ちゅうかっことじ"}, {222, "~", "チルダ"},
        {226, "_", "ｱﾝﾀﾞｰﾗｲﾝ"},
    };
    for (int i = 0; i < 26; ++i)
        rows.push_back({65 + i, Capital.mid(i, 1), Small.mid(i, 1)});
    return rows;
}

const std::vector<Row> ModifierRows{{16, "Shift", "シフト"}, {17, "Ctrl", "コントロール"},
                                    {18, "Alt", "オルト", KeyAction::RepressAlt}};

} // namespace

Q_DECLARE_METATYPE(Row)

class TestKeyCatalogue : public QObject {
    Q_OBJECT

private slots:
    void entries_match_the_tables_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("state");
        QTest::addColumn<bool>("modifierKey");
        QTest::addColumn<Row>("row");
        QTest::addColumn<bool>("keep");
        for (const Row &row : unshiftedRows())
            QTest::addRow("key %d", row.code) << row.code << 0 << false << row << false;
        for (const Row &row : shiftedRows())
            QTest::addRow("Shift+key %d", row.code) << row.code << 1 << false << row << false;
        // Shift+0 makes no character: no display, and the reading stays.
        QTest::newRow("Shift+0") << 48 << 1 << false << Row{48, QString(), QString()} << true;
        for (int state = 0; state <= 7; ++state) {
            for (const Row &row : ModifierRows)
                QTest::addRow("modifier %d, state %d", row.code, state) << row.code << state << true << row << false;
        }
    }

    void entries_match_the_tables()
    {
        // State: the row's modifier state. Action: look its key up.
        QFETCH(int, code);
        QFETCH(int, state);
        QFETCH(bool, modifierKey);
        QFETCH(Row, row);
        QFETCH(bool, keep);
        const KeyLookup found = LookUpKey(code, state);
        // Expected: the row's entry, from its own table only.
        const std::optional<KeyEntry> &entry = modifierKey ? found.modifierEntry : found.tableEntry;
        QVERIFY(entry.has_value());
        QVERIFY(!(modifierKey ? found.tableEntry : found.modifierEntry).has_value());
        QCOMPARE(entry->display, row.display);
        QCOMPARE(entry->reading, row.reading);
        QCOMPARE(entry->keepReading, keep);
        QCOMPARE(entry->action, row.action);
    }
};

QTEST_APPLESS_MAIN(TestKeyCatalogue)
#include "test_key_catalogue.moc"
