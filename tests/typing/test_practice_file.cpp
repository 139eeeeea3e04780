// SPDX-License-Identifier: GPL-3.0-or-later
// Practice files made here, read as the window reads them: encodings, the
// 101-line table, files that cannot be read, huge files; and the draws.
#include "platform/api/random_source.h"
#include "support/short_read_device.h"
#include "support/test_files.h"
#include "typing/practice_file.h"
#include "typing/practice_text.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <limits>
#include <string_view>
#include <utility>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace hoshi;
using namespace std::string_view_literals;

namespace {

QByteArray numberedLines(int count)
{
    QByteArray bytes;
    for (int i = 1; i <= count; ++i)
        bytes += "line " + QByteArray::number(i) + "\r\n";
    return bytes;
}

QByteArray utf16(const QString &text, QStringConverter::Encoding encoding, const char *mark)
{
    return QByteArray(mark) + QByteArray(QStringEncoder(encoding).encode(text));
}


/// A faulty generator: the same answer whatever range it is asked for.
class FixedAnswerRandom final : public RandomSource {
public:
    explicit FixedAnswerRandom(int answer) : m_answer(answer) {}
    int below(int) override { return m_answer; }

private:
    int m_answer;
};

/// An endless stream, as a huge file looks to the reader; counts what it gave.
class EndlessDevice final : public QIODevice {
public:
    explicit EndlessDevice(QByteArray pattern) : m_pattern(std::move(pattern)) { open(ReadOnly); }
    bool isSequential() const override { return true; }
    qint64 delivered = 0;

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        for (qint64 i = 0; i < maxSize; ++i)
            data[i] = m_pattern.at(static_cast<qsizetype>((delivered + i) % m_pattern.size()));
        delivered += maxSize;
        return maxSize;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_pattern;
};

} // namespace

class PracticeFileTest : public QObject {
    Q_OBJECT

private:
    QString write(const QString &name, const QByteArray &bytes)
    {
        return testing::writeTestFile(m_dir, name, bytes);
    }

    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("folder.txt")));
        QVERIFY(QFile::link(m_dir.filePath(QStringLiteral("gone.txt")),
                            m_dir.filePath(QStringLiteral("dangling.txt"))));
        QVERIFY(QFile::setPermissions(write(QStringLiteral("secret.txt"), "abc\r\n"), QFileDevice::Permissions()));
#ifdef Q_OS_UNIX
        QCOMPARE(::mkfifo(QFile::encodeName(m_dir.filePath(QStringLiteral("pipe.txt"))).constData(), 0600), 0);
#endif
    }

    void files_give_their_lines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("moreLines");
        QStringList hundredOne;
        for (int i = 1; i <= 101; ++i)
            hundredOne << QStringLiteral("line %1").arg(i);
        QTest::newRow("empty file") << QByteArray() << QStringList() << false;
        QTest::newRow("cr") << QByteArray("a\rb\r") << QStringList{"a", "b"} << false;
        QTest::newRow("utf-8 with mark") << QByteArray("\xEF\xBB\xBF" "あいう\r\n") << QStringList{"あいう"} << false;
        QTest::newRow("utf-16 le") << utf16(QStringLiteral("あいう\r\nabc"), QStringConverter::Utf16LE, "\xFF\xFE")
                                   << QStringList{"あいう", "abc"} << false;
        QTest::newRow("utf-16 be") << utf16(QStringLiteral("あいう\r\nabc\r\n"), QStringConverter::Utf16BE, "\xFE\xFF")
                                   << QStringList{"あいう", "abc"} << false;
        QTest::newRow("shift_jis") << QByteArray("\x82\xA0\x82\xA2\x82\xA4\r\n\x8A\xBF\x8E\x9A")
                                   << QStringList{"あいう", "漢字"} << false;
        QTest::newRow("euc-jp") << QByteArray("\xA4\xCD\xA4\xB3\xA4\xAC\xA4\xB9\xA4\xAD\n\xC6\xFC\xCB\xDC\xB8\xEC\n")
                                << QStringList{"ねこがすき", "日本語"} << false;
        QTest::newRow("101 lines") << numberedLines(101) << hundredOne << false;
        QTest::newRow("102 lines keep the first 101") << numberedLines(102) << hundredOne << true;
    }

    void files_give_their_lines()
    {
        // State: a practice file with these bytes. Action: read it.
        QFETCH(QByteArray, bytes);
        const PracticeFileContent content = readPracticeFile(write(QStringLiteral("practice.txt"), bytes));
        // Expected: its lines, no line cut.
        QVERIFY(content.ok());
        QTEST(content.lines, "lines");
        QTEST(content.moreLines, "moreLines");
        QVERIFY(!content.lineCut);
        QVERIFY(!content.unreadableCharacters);
    }

    void binary_junk_loads_as_text()
    {
        QByteArray junk(64 * 1024, Qt::Uninitialized);
        QRandomGenerator random(7);
        for (char &byte : junk)
            byte = static_cast<char>(random.bounded(256));
        const PracticeFileContent content = readPracticeFile(write(QStringLiteral("junk.txt"), junk));
        QVERIFY(content.ok());
        QVERIFY(!content.lines.isEmpty() && content.lines.size() <= PracticeLineLimit);
        QVERIFY(content.unreadableCharacters);
    }

    void paths_that_cannot_be_read_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<PracticeReadError>("error");
        const auto here = [this](const char *name) { return m_dir.filePath(QString::fromLatin1(name)); };
        QTest::newRow("missing") << here("missing.txt") << PracticeReadError::Missing;
        QTest::newRow("folder") << here("folder.txt") << PracticeReadError::Folder;
        QTest::newRow("link to nothing") << here("dangling.txt") << PracticeReadError::Missing;
        QTest::newRow("pipe (would block)") << here("pipe.txt") << PracticeReadError::NotAFile;
        QTest::newRow("no permission") << here("secret.txt") << PracticeReadError::NoPermission;
        // Reading a process's memory at address 0 fails with an I/O error.
        QTest::newRow("read fails") << QStringLiteral("/proc/self/mem") << PracticeReadError::ReadFailed;
    }

    void paths_that_cannot_be_read()
    {
        QFETCH(QString, path);
        QFETCH(PracticeReadError, error);
        if (error == PracticeReadError::NoPermission && QFileInfo(path).isReadable())
            QSKIP("this user reads a file whatever its permissions");
        if (!QFileInfo::exists(path) && error != PracticeReadError::Missing && error != PracticeReadError::Folder)
            QSKIP("needs a named pipe and /proc");
        const PracticeFileContent content = readPracticeFile(path);
        QCOMPARE(content.error, error);
        QVERIFY(content.lines.isEmpty());
    }

    void endless_streams_are_read_only_as_far_as_needed()
    {
        // State: a stream of lines that never ends. Action: read it.
        EndlessDevice lines("line\r\n");
        PracticeFileContent content = readPracticeText(lines);
        // Expected: 101 lines, the rest noticed, reading stopped long before the byte limit.
        QCOMPARE(content.lines.size(), 101);
        QVERIFY(content.moreLines);
        QVERIFY(lines.delivered < PracticeReadLimitBytes / 4);
        // State: one line that never ends. Expected: the line, cut at the length limit.
        EndlessDevice oneLine("あ");
        content = readPracticeText(oneLine);
        QVERIFY(content.ok());
        QCOMPARE(content.lines.size(), 1);
        QCOMPARE(content.lines.first().size(), PracticeLineLengthLimit);
        QVERIFY(content.lines.first().startsWith(QStringLiteral("あああ")));
        QVERIFY(content.lineCut);
        QVERIFY(oneLine.delivered <= PracticeReadLimitBytes);
    }

    void huge_file_on_disk_loads_its_beginning()
    {
        // State: 1 GiB on disk (sparse): two lines, then nothing but zero bytes.
        const QString path = write(QStringLiteral("huge.txt"), "first\r\nsecond\r\n");
        QVERIFY(QFile(path).resize(qint64(1) << 30));
        const PracticeFileContent content = readPracticeFile(path);
        // Expected: the two lines and the beginning of the third, said to be cut.
        QVERIFY(content.ok());
        QCOMPARE(content.lines.size(), 3);
        QCOMPARE(content.lines.at(1), QStringLiteral("second"));
        QCOMPARE(content.lines.at(2).size(), PracticeLineLengthLimit);
        QVERIFY(content.lineCut);
    }

    void draws_stay_inside_the_file_and_the_table_data()
    {
        QTest::addColumn<int>("lineCount");
        for (int count : {1, 101, 102, 500})
            QTest::addRow("%d lines", count) << count;
    }

    void draws_stay_inside_the_file_and_the_table()
    {
        // State: a file of that many lines. Action: many draws. Expected: each inside the file and the table.
        QFETCH(int, lineCount);
        PracticeText text;
        QVERIFY(text.load(write(QStringLiteral("n.txt"), numberedLines(lineCount))).ok());
        const int last = std::min(lineCount, PracticeLineLimit) - 1;
        QCOMPARE(text.lastLineNo(), last);
        SeededRandom random(11);
        for (int i = 0; i < 2000; ++i) {
            text.drawLine(random);
            QVERIFY(text.lineNo() >= 0 && text.lineNo() <= std::max(last, 0));
        }
    }

    void practice_lines_hold_no_control_characters_data()
    {
        QTest::addColumn<QString>("fileLine");
        QTest::addColumn<QString>("practised");
        // Views keep the NUL inside a line.
        const auto row = [](const char *name, std::u16string_view fileLine, std::u16string_view practised) {
            QTest::newRow(name) << QString::fromUtf16(fileLine.data(), qsizetype(fileLine.size()))
                                << QString::fromUtf16(practised.data(), qsizetype(practised.size()));
        };
        row("plain text stays", u"abc あいう"sv, u"abc あいう"sv);
        row("wide and no-break spaces, a pair stay", u"あ\u3000い\u00A0う🍣～"sv, u"あ\u3000い\u00A0う🍣～"sv);
        row("a tab is a space", u"a\tb\t"sv, u"a b "sv);
        row("NUL, BEL, BS, VT, FF", u"a\u0000b\u0007c\u0008d\u000Be\u000Cf"sv, u"abcdef"sv);
        row("DEL", u"a\u007Fb"sv, u"ab"sv);
        row("C1 controls: NEL and others", u"a\u0085b\u0080c\u009Ad"sv, u"abcd"sv);
        row("colour sequence", u"\u001B[1;31mred\u001B[0m"sv, u"red"sv);
        row("sequence with an intermediate", u"\u001B[2 qx"sv, u"x"sv);
        row("C1 sequence", u"\u009B31mred"sv, u"red"sv);
        row("title ended by BEL", u"\u001B]0;title\u0007text"sv, u"text"sv);
        row("title ended by ESC backslash", u"\u001B]0;title\u001B\\text"sv, u"text"sv);
        row("C1 title ended by ST", u"\u009D0;title\u009Ctext"sv, u"text"sv);
        row("device string runs to the line's end", u"a\u001BPq#0;2"sv, u"a"sv);
        row("character sets chosen", u"\u001B$Bあ\u001B(B"sv, u"あ"sv);
        row("two-character escape", u"\u001Bcx"sv, u"x"sv);
        row("ESC before a kana", u"\u001Bあ"sv, u"あ"sv);
        row("ESC at the end", u"abc\u001B"sv, u"abc"sv);
        row("unfinished sequence at the end", u"abc\u001B[12"sv, u"abc"sv);
    }

    void practice_lines_hold_no_control_characters()
    {
        // State: a file line. Action: make it a practice line. Expected: the line as typed.
        QFETCH(QString, fileLine);
        QTEST(practiceLine(fileLine), "practised");
    }

    void lines_are_practised_without_control_characters()
    {
        // State: a file with a colour sequence, a tab and a bell. Action: load it.
        PracticeText text;
        QVERIFY(text.load(write(QStringLiteral("controls.txt"), "\x1b[31mred\x1b[0m\r\na\tb\x07\r\n")).ok());
        // Expected: the table holds the lines as practised.
        QCOMPARE(text.line(0), QStringLiteral("red"));
        QCOMPARE(text.line(1), QStringLiteral("a b"));
    }

    void files_with_nothing_to_type_are_refused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("refused");
        QTest::newRow("empty") << QByteArray() << true;
        QTest::newRow("spaces and tabs") << QByteArray(" \t  \t") << true;
        QTest::newRow("full-width spaces") << QByteArray("\xE3\x80\x80\xE3\x80\x80") << true;
        QTest::newRow("empty and blank lines") << QByteArray("\r\n \r\n\n\t\r") << true;
        QTest::newRow("only control characters") << QByteArray("\x1b[0m\r\n\x07\x08") << true;
        QTest::newRow("one letter among blank lines") << QByteArray("\r\n \r\n x\r\n") << false;
    }

    void files_with_nothing_to_type_are_refused()
    {
        // State: a text loaded. Action: load a file of these bytes.
        QFETCH(QByteArray, bytes);
        QFETCH(bool, refused);
        PracticeText text;
        const QString first = write(QStringLiteral("first.txt"), "one\ntwo\n");
        QVERIFY(text.load(first).ok());
        const QString path = write(QStringLiteral("blank.txt"), bytes);
        const PracticeFileContent content = text.load(path);
        // Expected: refused as Blank and the text before kept; or loaded.
        QCOMPARE(content.error, refused ? PracticeReadError::Blank : PracticeReadError::None);
        QCOMPARE(text.practiceFile(), refused ? first : path);
        QCOMPARE(text.line(1), refused ? QStringLiteral("two") : QStringLiteral(" "));
    }

    void bytes_a_few_at_a_time_give_the_same_lines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("step");
        const QString text = QString::fromLatin1(numberedLines(150));
        QTest::newRow("utf-16 le, a byte a read") << utf16(text, QStringConverter::Utf16LE, "\xFF\xFE") << qint64(1);
        QTest::newRow("utf-16 be, a byte a read") << utf16(text, QStringConverter::Utf16BE, "\xFE\xFF") << qint64(1);
        QTest::newRow("utf-16 le, three bytes a read") << utf16(text, QStringConverter::Utf16LE, "\xFF\xFE") << qint64(3);
        QTest::newRow("utf-8 with mark, two bytes a read") << "\xEF\xBB\xBF" + numberedLines(150) << qint64(2);
    }

    void bytes_a_few_at_a_time_give_the_same_lines()
    {
        // State: 150 lines arriving a few bytes per read. Expected: the first 101 whole.
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, step);
        testing::ShortReadDevice device(bytes, step);
        const PracticeFileContent content = readPracticeText(device);
        QVERIFY(content.ok());
        QCOMPARE(content.lines.size(), PracticeLineLimit);
        QCOMPARE(content.lines.last(), QStringLiteral("line 101"));
        QVERIFY(content.moreLines);
    }

    void lines_past_the_limit_do_not_change_the_encoding_data()
    {
        QTest::addColumn<qint64>("step");
        QTest::newRow("file read at once") << qint64(0);
        QTest::newRow("stream, a byte a read") << qint64(1);
        QTest::newRow("stream, seven bytes a read") << qint64(7);
    }

    void lines_past_the_limit_do_not_change_the_encoding()
    {
        // State: 101 lines of UTF-8, then a line that is not UTF-8.
        // Expected: the kept lines alone decide the encoding, however far the reading went.
        QFETCH(qint64, step);
        QByteArray bytes;
        for (int i = 0; i < PracticeLineLimit; ++i)
            bytes += "あ\r\n";
        bytes += "\x82\xA0\r\n";
        testing::ShortReadDevice device(bytes, step);
        const PracticeFileContent content =
            step == 0 ? readPracticeFile(write(QStringLiteral("mixed.txt"), bytes)) : readPracticeText(device);
        QVERIFY(content.ok());
        QCOMPARE(content.lines, QStringList(PracticeLineLimit, QStringLiteral("あ")));
        QVERIFY(content.moreLines);
    }

    void faulty_draw_is_held_to_the_file_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("expectedLineNo");
        QTest::newRow("one past the last line") << 3 << 2;
        QTest::newRow("past the table") << 500 << 2;
        QTest::newRow("largest int") << std::numeric_limits<int>::max() << 2;
        QTest::newRow("negative") << -1 << 0;
    }

    void faulty_draw_is_held_to_the_file()
    {
        // State: three lines; a generator that answers outside [0, 3).
        // Expected: the draw is one of the file's lines, never an empty entry past them.
        QFETCH(int, answer);
        QFETCH(int, expectedLineNo);
        PracticeText text;
        QVERIFY(text.load(write(QStringLiteral("abc.txt"), "a\nb\nc\n")).ok());
        FixedAnswerRandom faulty(answer);
        QCOMPARE(text.drawLine(faulty), text.line(expectedLineNo));
        QCOMPARE(text.lineNo(), expectedLineNo);
    }
};

QTEST_GUILESS_MAIN(PracticeFileTest)
#include "test_practice_file.moc"
