// SPDX-License-Identifier: GPL-3.0-or-later
// Practice files as real editors save them, read from disk and as a slow
// stream alike; then the lines as practised and the draws.
#include "platform/api/random_source.h"
#include "support/short_read_device.h"
#include "support/test_files.h"
#include "typing/practice_file.h"
#include "typing/practice_text.h"
#include "typing/text_decoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <string_view>

#include <sys/stat.h>

using namespace hoshi;
using namespace std::string_view_literals;

namespace {

QStringList numbered(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << QStringLiteral("line %1").arg(i);
    return lines;
}

QByteArray numberedLines(int count, const char *end = "\r\n")
{
    return (numbered(count).join(QLatin1String(end)) + QLatin1String(end)).toLatin1();
}

QByteArray utf16(const QString &text, QStringConverter::Encoding encoding)
{
    const QByteArray mark = encoding == QStringConverter::Utf16LE ? "\xFF\xFE" : "\xFE\xFF";
    return mark + QByteArray(QStringEncoder(encoding).encode(text));
}

// What a reading gave, in one line: [each][line], then what the user is told.
QString outcome(const PracticeFileContent &content)
{
    QString out = content.lines.isEmpty() ? QString() : u'[' + content.lines.join(QStringLiteral("][")) + u']';
    out += content.moreLines ? QStringLiteral(" +more") : QString();
    out += content.lineCut ? QStringLiteral(" +cut") : QString();
    out += content.unreadableCharacters ? QStringLiteral(" +unreadable") : QString();
    return out;
}

} // namespace

class PracticeFileTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString write(const QString &name, const QByteArray &bytes) { return testing::writeTestFile(m_dir, name, bytes); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("folder.txt")));
        QVERIFY(QFile::link(m_dir.filePath(QStringLiteral("gone.txt")), m_dir.filePath(QStringLiteral("dangling.txt"))));
        QCOMPARE(::mkfifo(QFile::encodeName(m_dir.filePath(QStringLiteral("pipe.txt"))).constData(), 0600), 0);
        QVERIFY(QFile::setPermissions(write(QStringLiteral("secret.txt"), "abc\r\n"), QFileDevice::Permissions()));
    }

    void files_give_their_lines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("read"); // as outcome() writes it; "*": whatever the lines
        const auto row = [](const char *name, const QByteArray &bytes, const QString &read) {
            QTest::newRow(name) << bytes << read;
        };
        const QString hundredOne = '[' + numbered(101).join(QStringLiteral("][")) + ']';
        row("empty file", {}, "");
        row("mixed line ends, the last line without one", "a\r\nb\nc\rd", "[a][b][c][d]");
        row("CR, as old Mac editors end lines", "a\rb\r", "[a][b]");
        row("UTF-8 kana", "あいう\nabc", "[あいう][abc]");
        row("UTF-8 with its mark, CR LF", "\xEF\xBB\xBF" "あいう\r\n", "[あいう]");
        row("UTF-16 LE, an emoji", utf16(QStringLiteral("あ🍣\r\nabc"), QStringConverter::Utf16LE), "[あ🍣][abc]");
        row("Notepad's Shift_JIS: kana, kanji, CR LF", "\x82\xA0\x82\xA2\r\n\x8A\xBF\x8E\x9A", "[あい][漢字]");
        row("Shift_JIS with half-width katakana", "\x82\xA0\xB1\x8A\xBF\r\n", "[あｱ漢]");
        row("code page 932's circled digit", "\x87\x40\x82\xA0", "[①あ]");
        row("EUC-JP katakana", "\xA5\xAB\xA5\xBF\xA5\xAB\xA5\xCA", "[カタカナ]");
        row("EUC-JP kana and kanji", "\xA4\xCD\xA4\xB3\xA4\xAC\xA4\xB9\n\xC6\xFC\xCB\xDC\xB8\xEC\n", "[ねこがす][日本語]");
        row("EUC-JP half-width kana, JIS X 0212", "\x8E\xB1\x8F\xB0\xA1\xAD\xA1\xA4\xA2", "[ｱ丂①あ]");
        row("half-width katakana only: Shift_JIS", "\xB1\xB2\xB3\xB4", "[ｱｲｳｴ]");
        row("EUC-JP form with a code of no character: Shift_JIS", "\xA4\xA2\xA9\xA1", "[､｢ｩ｡]");
        row("a byte no encoding has", "\x82\xA0\xFF", "* +unreadable");
        row("cut after a lead byte", "\x82\xA0\x82", "* +unreadable");
        row("UTF-8 cut inside a character", "\xE3\x81\x82\xE3\x81", "* +unreadable");
        row("UTF-8 past U+10FFFF", "\xE3\x81\x82\xF4\x90\x80\x80", "* +unreadable");
        // No text file holds NUL: UTF-16 without its mark, or no text at all.
        row("UTF-16 LE without its mark", QByteArray("c\0a\0t\0", 6), "* +unreadable");
        row("101 lines", numberedLines(101), hundredOne);
        row("101 lines and an empty one", numberedLines(101) + "\r\n", hundredOne + " +more");
        row("150 lines keep the first 101", numberedLines(150), hundredOne + " +more");
        // A NUL past the kept lines is never read.
        row("150 lines of UTF-16 LE", utf16(QString::fromLatin1(numberedLines(150)), QStringConverter::Utf16LE)
                                          + QByteArray(2, '\0'), hundredOne + " +more");
        row("a line past the length limit", "ab\n" + QByteArray(PracticeLineLengthLimit + 1, 'x'),
            "[ab][" + QString(PracticeLineLengthLimit, u'x') + "] +cut");
        row("an emoji across the length limit", QByteArray(PracticeLineLengthLimit - 1, 'x') + "\xF0\x9F\x8D\xA3y",
            '[' + QString(PracticeLineLengthLimit - 1, u'x') + "] +cut");
        // Only the kept lines decide the encoding.
        row("101 lines of UTF-8, then Shift_JIS", QByteArray("あ\r\n").repeated(101) + "\x82\xA0\r\n",
            QStringLiteral("[あ]").repeated(101) + " +more");
    }

    void files_give_their_lines()
    {
        // From disk, then as a stream handing out a few bytes at a time: the same lines and notices.
        QFETCH(QByteArray, bytes);
        QFETCH(QString, read);
        const PracticeFileContent content = readPracticeFile(write(QStringLiteral("practice.txt"), bytes));
        QVERIFY(content.ok());
        const QString got = outcome(content);
        QCOMPARE(read.startsWith(u'*') ? QStringLiteral("* ") + got.section(u' ', -1) : got, read);
        for (const qint64 step : {1, 3, 7}) {
            testing::ShortReadDevice stream(bytes, step);
            QCOMPARE(outcome(readPracticeText(stream)), got);
        }
    }

    void a_split_keeps_no_line_past_its_limit()
    {
        // The reader stops at the line limit itself, so only a text split on its own shows this.
        const SplitText split = splitLines(u"a\nb\nc\n", 2, PracticeLineLengthLimit, true);
        QCOMPARE(split.lines, (QStringList{"a", "b"}));
        QVERIFY(split.moreLines);
    }

    void huge_files_load_their_beginning()
    {
        // One line longer than the read limit, the limit inside a character: its beginning in
        // the file's own encoding, cut at the length limit, on disk and as a stream.
        for (const auto &[start, character, line] : {std::tuple{"ab", "\xE3\x81\x82", u"abあ"}, // UTF-8
                                                     std::tuple{"a", "\x82\xA0", u"aあ"}, // Shift_JIS
                                                     std::tuple{"a", "\xA4\xCD", u"aね"}}) { // EUC-JP
            const QByteArray one(character);
            const QByteArray bytes = start + one.repeated(PracticeReadLimitBytes / one.size() + 10);
            testing::ShortReadDevice stream(bytes, 4093);
            const QString head = QString::fromUtf16(line);
            const QString kept = (head + QString(PracticeLineLengthLimit, head.back())).left(PracticeLineLengthLimit);
            QCOMPARE(outcome(readPracticeFile(write(QStringLiteral("huge.txt"), bytes))), u'[' + kept + "] +cut");
            QCOMPARE(outcome(readPracticeText(stream)), u'[' + kept + "] +cut");
        }
    }

    void paths_that_cannot_be_read()
    {
        // Reading a process's memory at address 0 fails with an I/O error; a pipe would block.
        using E = PracticeReadError;
        for (const auto &[name, error] : {std::pair{"missing.txt", E::Missing}, std::pair{"folder.txt", E::Folder},
                                          std::pair{"dangling.txt", E::Missing}, std::pair{"pipe.txt", E::NotAFile},
                                          std::pair{"secret.txt", E::NoPermission},
                                          std::pair{"/proc/self/mem", E::ReadFailed}}) {
            const QString path = name[0] == '/' ? QString::fromLatin1(name) : m_dir.filePath(QString::fromLatin1(name));
            if (error == E::NoPermission && QFileInfo(path).isReadable())
                continue; // this user reads a file whatever its permissions
            const PracticeFileContent content = readPracticeFile(path);
            QVERIFY2(content.error == error && content.lines.isEmpty(), name);
        }
    }

    void practice_lines_hold_no_control_characters()
    {
        // Wide and no-break spaces and an emoji stay; a tab is a space; NUL, BEL, BS, DEL and C1
        // go, as do a terminal title ended by BEL and a sequence left unfinished at the end.
        for (const auto &[line, practised] :
             {std::pair{u"あ\u3000い\u00A0う🍣"sv, u"あ\u3000い\u00A0う🍣"sv}, std::pair{u"a\tb"sv, u"a b"sv},
              std::pair{u"a\u0000b\u0007c\u0008d\u007Fe\u0085f"sv, u"abcdef"sv},
              std::pair{u"\u001B]0;title\u0007text"sv, u"text"sv}, std::pair{u"abc\u001B[12"sv, u"abc"sv}})
            QCOMPARE(practiceLine(QStringView(line.data(), qsizetype(line.size()))),
                     QString::fromUtf16(practised.data(), qsizetype(practised.size())));
    }

    void draws_reach_every_line_and_no_other()
    {
        // A longer text loaded first, then one of this many lines: many draws give each of its
        // lines (up to the table's 101) and nothing else.
        for (const int count : {1, 3, 101, 150}) {
            PracticeText text;
            QVERIFY(text.load(write(QStringLiteral("long.txt"), numberedLines(200))).ok());
            QVERIFY(text.load(write(QStringLiteral("n.txt"), numberedLines(count))).ok());
            SeededRandom random(11);
            QSet<QString> drawn;
            for (int i = 0; i < 5000; ++i)
                drawn << text.drawLine(random);
            const QStringList lines = numbered(std::min(count, PracticeLineLimit));
            QCOMPARE(drawn, QSet<QString>(lines.begin(), lines.end()));
        }
    }
};

QTEST_GUILESS_MAIN(PracticeFileTest)
#include "test_practice_file.moc"
