// SPDX-License-Identifier: GPL-3.0-or-later
// Practice files as real editors save them: every encoding and line end a
// child's file may come in, the 101-line table, huge, cut and empty files,
// read from disk and as a slow stream alike; then the lines as practised,
// the draws, and the texts that come with the program.
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
        row("LF, last line without end", "a\nb", "[a][b]");
        row("CR, as old Mac editors end lines", "a\rb\r", "[a][b]");
        row("UTF-8 kana", "あいう\nabc", "[あいう][abc]");
        row("UTF-8 with its mark, CR LF", "\xEF\xBB\xBF" "あいう\r\n", "[あいう]");
        row("UTF-16 LE, an emoji", utf16(QStringLiteral("あ🍣\r\nabc"), QStringConverter::Utf16LE), "[あ🍣][abc]");
        row("Notepad's Shift_JIS: kana, kanji, CR LF", "\x82\xA0\x82\xA2\r\n\x8A\xBF\x8E\x9A", "[あい][漢字]");
        row("Shift_JIS with half-width katakana", "\x82\xA0\xB1\x8A\xBF\r\n", "[あｱ漢]");
        row("code page 932's circled digit", "\x87\x40\x82\xA0", "[①あ]");
        row("EUC-JP kana and kanji", "\xA4\xCD\xA4\xB3\xA4\xAC\xA4\xB9\n\xC6\xFC\xCB\xDC\xB8\xEC\n", "[ねこがす][日本語]");
        row("EUC-JP half-width kana, JIS X 0212", "\x8E\xB1\x8F\xB0\xA1\xAD\xA1\xA4\xA2", "[ｱ丂①あ]");
        row("half-width katakana only: Shift_JIS", "\xB1\xB2\xB3\xB4", "[ｱｲｳｴ]");
        row("EUC-JP form with a code of no character: Shift_JIS", "\xA4\xA2\xA9\xA1", "[､｢ｩ｡]");
        row("a byte no encoding has", "\x82\xA0\xFF", "* +unreadable");
        row("cut after a lead byte", "\x82\xA0\x82", "* +unreadable");
        row("UTF-8 cut inside a character", "\xE3\x81\x82\xE3\x81", "* +unreadable");
        // No text file holds NUL: UTF-16 without its mark, or no text at all.
        row("UTF-16 LE without its mark", QByteArray("c\0a\0t\0", 6), "* +unreadable");
        row("101 lines", numberedLines(101), hundredOne);
        row("101 lines and an empty one", numberedLines(101) + "\r\n", hundredOne + " +more");
        row("150 lines keep the first 101", numberedLines(150), hundredOne + " +more");
        row("150 lines of UTF-16 LE", utf16(QString::fromLatin1(numberedLines(150)), QStringConverter::Utf16LE),
            hundredOne + " +more");
        row("a line past the length limit", "ab\n" + QByteArray(PracticeLineLengthLimit + 1, 'x'),
            "[ab][" + QString(PracticeLineLengthLimit, u'x') + "] +cut");
        // Only the kept lines decide the encoding.
        row("101 lines of UTF-8, then Shift_JIS", QByteArray("あ\r\n").repeated(101) + "\x82\xA0\r\n",
            QStringLiteral("[あ]").repeated(101) + " +more");
    }

    void files_give_their_lines()
    {
        // State: a file of these bytes. Action: read it from disk, then as a stream
        // that hands out a few bytes at a time. Expected: the same lines and notices.
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

    void huge_files_load_their_beginning_data()
    {
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<QByteArray>("character"); // repeated past the read limit
        QTest::addColumn<QString>("line");         // how the kept line begins
        // The start puts the read limit inside a character.
        QTest::newRow("UTF-8") << QByteArray("ab") << QByteArray("\xE3\x81\x82") << QStringLiteral("abあああ");
        QTest::newRow("Shift_JIS") << QByteArray("a") << QByteArray("\x82\xA0") << QStringLiteral("aあああ");
        QTest::newRow("EUC-JP") << QByteArray("a") << QByteArray("\xA4\xCD") << QStringLiteral("aねねね");
    }

    void huge_files_load_their_beginning()
    {
        // State: one line longer than the read limit, on disk and as a stream.
        QFETCH(QByteArray, start);
        QFETCH(QByteArray, character);
        QFETCH(QString, line);
        const QByteArray bytes = start + character.repeated(PracticeReadLimitBytes / character.size() + 10);
        testing::ShortReadDevice stream(bytes, 4093);
        for (const PracticeFileContent &content :
             {readPracticeFile(write(QStringLiteral("huge.txt"), bytes)), readPracticeText(stream)}) {
            // Expected: its beginning in the file's own encoding, cut at the length limit.
            QVERIFY(content.ok() && content.lines.size() == 1);
            const QString kept = (line + QString(PracticeLineLengthLimit, line.back())).left(PracticeLineLengthLimit);
            QCOMPARE(outcome(content), u'[' + kept + "] +cut");
        }
    }

    void paths_that_cannot_be_read_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<PracticeReadError>("error");
        QTest::newRow("missing") << "missing.txt" << PracticeReadError::Missing;
        QTest::newRow("folder") << "folder.txt" << PracticeReadError::Folder;
        QTest::newRow("link to nothing") << "dangling.txt" << PracticeReadError::Missing;
        QTest::newRow("pipe (would block)") << "pipe.txt" << PracticeReadError::NotAFile;
        QTest::newRow("no permission") << "secret.txt" << PracticeReadError::NoPermission;
        // Reading a process's memory at address 0 fails with an I/O error.
        QTest::newRow("read fails") << "/proc/self/mem" << PracticeReadError::ReadFailed;
    }

    void paths_that_cannot_be_read()
    {
        QFETCH(QString, name);
        QFETCH(PracticeReadError, error);
        const QString path = name.startsWith(u'/') ? name : m_dir.filePath(name);
        if (error == PracticeReadError::NoPermission && QFileInfo(path).isReadable())
            QSKIP("this user reads a file whatever its permissions");
        const PracticeFileContent content = readPracticeFile(path);
        QCOMPARE(content.error, error);
        QVERIFY(content.lines.isEmpty());
    }

    void practice_lines_hold_no_control_characters_data()
    {
        QTest::addColumn<QString>("fileLine");
        QTest::addColumn<QString>("practised");
        const auto row = [](const char *name, std::u16string_view line, const char *practised) {
            QTest::newRow(name) << QString::fromUtf16(line.data(), qsizetype(line.size())) << QString::fromUtf8(practised);
        };
        row("wide and no-break spaces, an emoji stay", u"あ\u3000い\u00A0う🍣", "あ\u3000い\u00A0う🍣");
        row("a tab is a space", u"a\tb", "a b");
        row("NUL, BEL, BS, DEL, C1", u"a\u0000b\u0007c\u0008d\u007Fe\u0085f"sv, "abcdef");
        row("title ended by BEL", u"\u001B]0;title\u0007text", "text");
        row("unfinished sequence at the end", u"abc\u001B[12", "abc");
    }

    void practice_lines_hold_no_control_characters()
    {
        QFETCH(QString, fileLine);
        QTEST(practiceLine(fileLine), "practised");
    }

    void draws_reach_every_line_and_no_other_data()
    {
        QTest::addColumn<int>("lineCount");
        for (int count : {1, 3, 101, 150})
            QTest::addRow("%d lines", count) << count;
    }

    void draws_reach_every_line_and_no_other()
    {
        // State: a longer text loaded first, then one of this many lines. Action: many draws.
        QFETCH(int, lineCount);
        PracticeText text;
        QVERIFY(text.load(write(QStringLiteral("long.txt"), numberedLines(200))).ok());
        QVERIFY(text.load(write(QStringLiteral("n.txt"), numberedLines(lineCount))).ok());
        SeededRandom random(11);
        QSet<QString> drawn;
        for (int i = 0; i < 5000; ++i)
            drawn << text.drawLine(random);
        // Expected: each of the file's lines (up to the table's 101), nothing else.
        const QStringList lines = numbered(std::min(lineCount, PracticeLineLimit));
        QCOMPARE(drawn, QSet<QString>(lines.begin(), lines.end()));
    }

};

QTEST_GUILESS_MAIN(PracticeFileTest)
#include "test_practice_file.moc"
