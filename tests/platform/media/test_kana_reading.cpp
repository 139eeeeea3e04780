// SPDX-License-Identifier: GPL-3.0-or-later
// The kana readings the reading voice says: what the program announces and
// what a child types into a practice file (kana, kanji, letters, digits and
// marks mixed), a missing dictionary, and input no voice can say.
#include "platform/media/kana_reading.h"

#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <thread>
#include <vector>

using hoshi::KanaReader;

namespace {

// Whether a voice can be handed the reading: valid UTF-16, no blank at an end, no control, format,
// private-use or unassigned character.
bool speakable(const QString &reading)
{
    const QList<uint> codes = reading.toUcs4();
    return reading.isValidUtf16() && reading == reading.trimmed() && std::none_of(codes.begin(), codes.end(), [](uint c) {
        const QChar::Category kind = QChar::category(char32_t(c));
        return kind == QChar::Other_Control || kind == QChar::Other_Format || kind == QChar::Other_PrivateUse
            || kind == QChar::Other_NotAssigned;
    });
}

// One row a case: what is announced or typed, and what a child must hear.
constexpr std::pair<QStringView, QStringView> Readings[] = {
    // Launcher entries and finger steps: a pause for the line break, kanji fingers, full- and half-width keys.
    {u"１\r\n押せばわかる", u"いち、おせばわかる"}, {u"３\r\nｱﾙﾌｧﾍﾞｯﾄに挑戦", u"さん、あるふぁべっとにちょーせん"},
    {u"ひだり小ゆびＡ", u"ひだりこゆびえー"}, {u"みぎくすりゆびﾋﾟﾘｵﾄﾞ", u"みぎくすりゆびぴりおど"}, {u"ひだり　人さし指", u"ひだり ひとさしゆび"},
    // Key names as the key guide shows them: Latin words, half-width katakana, kanji, arrows.
    {u"BackSpace", u"ばっくすぺーす"}, {u"Page Up", u"ぺーじあっぷ"}, {u"Windowsｷｰ", u"うぃんどーずきー"},
    {u"↑", u"うえやじるし"}, {u"半角/全角", u"はんかくぜんかく"}, {u"Ｆ１２", u"えふじゅうに"}, {u"ﾌｧﾝｸｼｮﾝ10", u"ふぁんくしょんじゅう"},
    // Letters and keyboard marks alone, half-width and full-width, by their names.
    {u"a", u"えー"}, {u"ａ", u"えー"}, {u"Ｚ", u"ぜっと"}, {u"ｚ", u"ぜっと"}, {u"＠", u"あっとまーく"}, {u"[", u"かくかっこ"},
    {u"]", u"かくかっことじ"}, {u";", u"せみころん"}, {u":", u"ころん"}, {u",", u"かんま"}, {u"\\", u"ばっくすらっしゅ"},
    {u"－", u"まいなす"}, {u"-", u"まいなす"}, {u"￥", u"えんまーく"}, {u"！", u"えくすくらめーしょん"}, {u"`", u"しんぐるくおーてーしょん"},
    // The drill and typing windows' counters and words.
    {u"得点 -3", u"とくてん まいなす さん"}, {u"○ 5", u"まる ご"}, {u"おしまい  RESET!", u"おしまい りせっと"},
    {u"Esc:RESET\r\nCtrl:REPEAT", u"えすけーぷ、りせっと、こんとろーる、りぴーと"},
    {u"終了(X or Escape)", u"しゅーりょーえっくす おあ えすけーぷ"}, {u"ほしのたまご Ver.２   ", u"ほしのたまご ばーじょんに"},
    // Practice lines: particles said as spoken, long vowels, pauses for marks inside a sentence.
    {u"今日は学校へ行きます。", u"きょーわがっこーえいきます"}, {u"こんにちは", u"こんにちわ"}, {u"ぶどう", u"ぶどー"},
    {u"ぼうし", u"ぼうし"}, {u"雨です。でも、行きます", u"あめです、でも、いきます"}, {u"ゴール！やったね。", u"ごーる、やったね"},
    {u"「こんにちは」と言う。", u"こんにちわという"}, {u"よろしく～", u"よろしく"},
    // MeCab's wrong choices corrected in context, and only where its whole words match.
    {u"大きな木の下で休む。", u"おーきなきのしたでやすむ"}, {u"何時間も", u"なんじかんも"}, {u"次の行は", u"つぎのぎょうわ"},
    {u"並木の下", u"なみきのした"}, {u"銀行は", u"ぎんこーわ"}, {u"行くのは", u"いくのわ"},
    // Numbers, half-width and full-width: values, digit by digit when too long or with a leading zero.
    {u"0", u"ぜろ"}, {u"11", u"じゅういち"}, {u"600", u"ろっぴゃく"}, {u"1000", u"せん"}, {u"8000", u"はっせん"},
    {u"２０２６", u"にせんにじゅうろく"}, {u"10004", u"いちまんよん"}, {u"10000000", u"いっせんまん"},
    {u"1234567890123", u"いちにさんよんごろくななはちきゅうぜろいちにさん"}, {u"007", u"ぜろぜろなな"},
    {u"1,000,000", u"ひゃくまん"}, {u"3.14", u"さんてんいちよん"}, {u"0.05", u"ぜろてんぜろご"}, {u"−5", u"まいなす ご"},
    // Counters change the number's sound (1分 いっぷん), or not (2分 にふん).
    {u"1分", u"いっぷん"}, {u"2分", u"にふん"}, {u"10分間", u"じゅっぷんかん"}, {u"1000分", u"せんぷん"}, {u"600本", u"ろっぴゃっぽん"},
    {u"3本", u"さんぼん"}, {u"8個", u"はっこ"}, {u"20歳", u"はたち"}, {u"14円", u"じゅうよえん"}, {u"1人", u"ひとり"},
    {u"11人", u"じゅういちにん"}, {u"3日後", u"みっかご"}, {u"24日", u"にじゅうよっか"}, {u"1週間", u"いっしゅうかん"},
    {u"4時間", u"よじかん"}, {u"9時", u"くじ"}, {u"4月", u"しがつ"}, {u"10つ", u"とお"},
    // ...and where no counter is read: a longer word, a fraction, a leading zero, a blank between.
    {u"3分の1", u"さんぶんのいち"}, {u"1日本", u"いちにっぽん"}, {u"3.5分", u"さんてんごふん"}, {u"007分", u"ぜろぜろななふん"}, {u"3 分", u"さん ぶん"},
    // Letters by name; table words whole words only, other words spelled; hyphens by their place.
    {u"Tabキー", u"たぶきー"}, {u"Table", u"てぃーえーびーえるいー"}, {u"今日はpenを買う", u"きょーわぴーいーえぬをかう"},
    {u"Copyright (C) 2026", u"こぴーらいと にせんにじゅうろく"}, {u"ことば.txt", u"ことば、てきすと"},
    {u"A-Z", u"えー ぜっと"}, {u"3-1", u"さんまいなすいち"}, {u"ひく-1", u"ひくまいなす いち"},
    // Input no voice can say: dropped, line breaks a single pause.
    {u"", u""}, {u"  \t　 ", u""}, {u"\x01\x07か\x1b\x7fき", u"かき"}, {u"\uFEFFか\u200Bき\u202E", u"かき"},
    {u"\uE000か\uFFFF", u"か"}, {u"👍", u""}, {u"か\r\n\r\n\nき\r\n", u"か、き"}, {u"!?。、…", u""}};

} // namespace

class TestKanaReading : public QObject {
    Q_OBJECT

    // naist-jdic, as the program uses it; shared, as the program shares one.
    KanaReader m_reader;

private slots:
    void initTestCase()
    {
        QVERIFY2(QFileInfo(QStringLiteral("/var/lib/mecab/dic/naist-jdic")).isDir(),
                 "mecab-naist-jdic is not installed (scripts/install-deps.sh installs it)");
        QVERIFY(m_reader.readsKanji());
    }

    void texts_read_as_a_child_hears_them_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("reading");
        for (const auto &[text, reading] : Readings)
            QTest::addRow("%s", qPrintable(text.toString())) << text.toString() << reading.toString();
        // NUL and lone surrogates cannot be written in the table's literals.
        QTest::newRow("NUL inside") << QString::fromUtf16(u"か\u0000き", 3) << QStringLiteral("かき");
        QTest::newRow("lone surrogates") << QString::fromUtf16(u"か\xD800き\xDC00", 4) << QStringLiteral("かき");
    }

    void texts_read_as_a_child_hears_them()
    {
        QFETCH(QString, text);
        QFETCH(QString, reading);
        QCOMPARE(m_reader.reading(text), reading);
    }

    void a_missing_dictionary_keeps_kanji_and_says_so_once()
    {
        QTemporaryDir emptyFolder;
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
        // A folder that is missing, and one that holds no dictionary: nothing said before the first reading,
        // then one line in both languages naming the folder; kanji kept, the rest read as usual.
        for (const QString &folder : {emptyFolder.filePath(QStringLiteral("none")), emptyFolder.path()}) {
            const KanaReader reader(folder);
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^ほしのたまご: [^/]*辞書[^/]* / hoshinotamago: "
                                                                                 ".*dictionary (at|in) %1[^\\n]*$")
                                                                      .arg(QRegularExpression::escape(folder))));
            QStringList readings;
            for (const char16_t *text : {u"今日は学校へ行きます。", u"得点 -3", u"３分で１本"})
                readings << reader.reading(QString::fromUtf16(text));
            QVERIFY(!reader.readsKanji());
            QCOMPARE(readings, (QStringList{"今日は学校へ行きます", "得点 まいなす さん", "さんぷんでいっぽん"}));
        }
    }

    void long_and_random_lines_come_back_whole()
    {
        // Long runs, cut into pieces for MeCab, lose and double nothing.
        const qsizetype length = 10000;
        QCOMPARE(m_reader.reading(QString(length, u'ア')), QString(length, u'あ'));
        QCOMPARE(m_reader.reading(QStringLiteral("9").repeated(length)), QStringLiteral("きゅう").repeated(length));
        QCOMPARE(m_reader.reading(QStringLiteral("\r\n").repeated(length)), QString());
        const QString kanji = m_reader.reading(QStringLiteral("今日は学校へ行きます。").repeated(length / 11));
        QCOMPARE(kanji, QStringList(length / 11, QStringLiteral("きょーわがっこーえいきます")).join(u'、'));
        // Random UTF-16, surrogates and all: whatever comes back can be handed to a voice.
        QRandomGenerator random(20260101);
        for (int round = 0; round < 8; ++round) {
            QString line;
            for (qsizetype i = 0; i < length; ++i)
                line += QChar(char16_t(round % 2 ? random.bounded(0x10000) : random.bounded(0x3000, 0x3100)));
            QVERIFY2(speakable(m_reader.reading(line)), qPrintable(QString::number(round)));
        }
    }

    void readers_on_several_threads_agree()
    {
        // Four threads read through the one shared reader: each text as when read alone.
        const QStringList texts{QStringLiteral("今日は学校へ行きます。"), QStringLiteral("ひだり小ゆびＡ"), QStringLiteral("得点 -3")};
        const QStringList alone{m_reader.reading(texts[0]), m_reader.reading(texts[1]), m_reader.reading(texts[2])};
        std::atomic<int> mismatches{0};
        std::vector<std::jthread> threads;
        for (int t = 0; t < 4; ++t)
            threads.emplace_back([&, t] {
                for (int round = 0; round < 3000; ++round)
                    mismatches += m_reader.reading(texts[(round + t) % 3]) != alone[(round + t) % 3];
            });
        threads.clear();
        QCOMPARE(mismatches.load(), 0);
    }
};

QTEST_GUILESS_MAIN(TestKanaReading)
#include "test_kana_reading.moc"
