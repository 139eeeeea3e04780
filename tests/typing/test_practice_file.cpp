// Practice files made here, read by the window's loading: encodings, line
// ends, the 101-line table, files that cannot be read, and huge files.

#include "support/fakes.h"
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
#include <utility>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace hoshi;

namespace {

QByteArray numberedLines(int count)
{
    QByteArray bytes;
    for (int i = 1; i <= count; ++i)
        bytes += "line " + QByteArray::number(i) + "\r\n";
    return bytes;
}

QByteArray utf16(const QString &text, bool bigEndian)
{
    QStringEncoder encoder(bigEndian ? QStringConverter::Utf16BE : QStringConverter::Utf16LE);
    return QByteArray(bigEndian ? "\xFE\xFF" : "\xFF\xFE") + QByteArray(encoder.encode(text));
}

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

/// A stream that hands out its bytes a few at a time, as a pipe may.
class TrickleDevice final : public QIODevice {
public:
    TrickleDevice(QByteArray bytes, qint64 step) : m_bytes(std::move(bytes)), m_step(step) { open(ReadOnly); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 count = std::min({maxSize, m_step, m_bytes.size() - m_offset});
        std::copy_n(m_bytes.constData() + m_offset, count, data);
        m_offset += count;
        return count;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_bytes;
    qint64 m_step;
    qint64 m_offset = 0;
};

/// A faulty random source: answers each number as given, in range or not.
class UnrulyRandom final : public RandomSource {
public:
    explicit UnrulyRandom(int answer) : m_answer(answer) {}
    int below(int) override { return m_answer; }

private:
    int m_answer;
};

} // namespace

class PracticeFileTest : public QObject {
    Q_OBJECT

private:
    QString write(const QString &name, const QByteArray &bytes);
    QTemporaryDir m_dir;

private slots:
    void initTestCase();

    void files_give_their_lines_data();
    void files_give_their_lines();
    void more_than_101_lines_keeps_the_first_101();
    void binary_junk_loads_as_text();
    void paths_that_cannot_be_read_data();
    void paths_that_cannot_be_read();
    void file_without_permission_cannot_be_read();
    void failing_read_is_reported();
    void endless_lines_are_read_only_as_far_as_needed();
    void one_endless_line_is_read_only_as_far_as_needed();
    void huge_file_on_disk_loads_its_beginning();
    void bytes_a_few_at_a_time_give_the_same_lines_data();
    void bytes_a_few_at_a_time_give_the_same_lines();
    void lines_past_the_limit_do_not_change_the_encoding_data();
    void lines_past_the_limit_do_not_change_the_encoding();

    void load_fills_the_table_and_counts_from_one_read();
    void shorter_file_after_longer_leaves_no_old_line();
    void unreadable_path_keeps_the_earlier_text();
    void draws_stay_inside_the_file_and_the_table_data();
    void draws_stay_inside_the_file_and_the_table();
    void faulty_random_still_draws_a_line_of_the_file_data();
    void faulty_random_still_draws_a_line_of_the_file();
};

QString PracticeFileTest::write(const QString &name, const QByteArray &bytes)
{
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void PracticeFileTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("folder.txt")));
    QVERIFY(QFile::link(m_dir.filePath(QStringLiteral("gone.txt")), m_dir.filePath(QStringLiteral("dangling.txt"))));
#ifdef Q_OS_UNIX
    QCOMPARE(::mkfifo(QFile::encodeName(m_dir.filePath(QStringLiteral("pipe.txt"))).constData(), 0600), 0);
#endif
}

void PracticeFileTest::files_give_their_lines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("one line") << QByteArray("abc\r\n") << QStringList{"abc"};
    QTest::newRow("empty file") << QByteArray() << QStringList();
    QTest::newRow("no final line end") << QByteArray("abc\r\ndef") << QStringList{"abc", "def"};
    QTest::newRow("final empty line") << QByteArray("abc\r\n\r\n") << QStringList{"abc", ""};
    QTest::newRow("cr lf") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("lf") << QByteArray("a\nb\n") << QStringList{"a", "b"};
    QTest::newRow("cr") << QByteArray("a\rb\r") << QStringList{"a", "b"};
    QTest::newRow("utf-8") << QByteArray("あいう\nかきく") << QStringList{"あいう", "かきく"};
    QTest::newRow("utf-8 with mark") << QByteArray("\xEF\xBB\xBF" "あいう\r\n") << QStringList{"あいう"};
    QTest::newRow("utf-16 le with mark") << utf16(QStringLiteral("あいう\r\nabc"), false)
                                         << QStringList{"あいう", "abc"};
    QTest::newRow("utf-16 be with mark") << utf16(QStringLiteral("あいう\r\nabc\r\n"), true)
                                         << QStringList{"あいう", "abc"};
    QTest::newRow("shift_jis") << QByteArray("\x82\xA0\x82\xA2\x82\xA4\r\n\x8A\xBF\x8E\x9A")
                               << QStringList{"あいう", "漢字"};
    QTest::newRow("101 lines") << numberedLines(101) << [] {
        QStringList lines;
        for (int i = 1; i <= 101; ++i)
            lines << QStringLiteral("line %1").arg(i);
        return lines;
    }();
}

void PracticeFileTest::files_give_their_lines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    // State: a practice file with these bytes. Action: read it.
    const PracticeFileContent content = readPracticeFile(write(QStringLiteral("practice.txt"), bytes));
    // Expected: its lines, nothing cut.
    QVERIFY(content.ok());
    QCOMPARE(content.lines, lines);
    QVERIFY(!content.moreLines);
    QVERIFY(!content.lineCut);
}

void PracticeFileTest::more_than_101_lines_keeps_the_first_101()
{
    const PracticeFileContent content = readPracticeFile(write(QStringLiteral("long.txt"), numberedLines(102)));
    QVERIFY(content.ok());
    QCOMPARE(content.lines.size(), 101);
    QCOMPARE(content.lines.last(), QStringLiteral("line 101"));
    QVERIFY(content.moreLines);
}

void PracticeFileTest::binary_junk_loads_as_text()
{
    QByteArray junk(64 * 1024, Qt::Uninitialized);
    QRandomGenerator random(7);
    for (char &byte : junk)
        byte = static_cast<char>(random.bounded(256));
    const PracticeFileContent content = readPracticeFile(write(QStringLiteral("junk.txt"), junk));
    QVERIFY(content.ok());
    QVERIFY(!content.lines.isEmpty());
    QVERIFY(content.lines.size() <= PracticeLineLimit);
}

void PracticeFileTest::paths_that_cannot_be_read_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<PracticeReadError>("error");
    QTest::newRow("missing") << QStringLiteral("missing.txt") << PracticeReadError::Missing;
    QTest::newRow("folder") << QStringLiteral("folder.txt") << PracticeReadError::Folder;
    QTest::newRow("link to nothing") << QStringLiteral("dangling.txt") << PracticeReadError::Missing;
    QTest::newRow("pipe") << QStringLiteral("pipe.txt") << PracticeReadError::NotAFile;
}

void PracticeFileTest::paths_that_cannot_be_read()
{
    QFETCH(QString, name);
    QFETCH(PracticeReadError, error);
#ifndef Q_OS_UNIX
    if (error == PracticeReadError::NotAFile)
        QSKIP("no named pipes here");
#endif
    // A pipe would block the window forever if it were opened.
    const PracticeFileContent content = readPracticeFile(m_dir.filePath(name));
    QCOMPARE(content.error, error);
    QVERIFY(content.lines.isEmpty());
}

void PracticeFileTest::file_without_permission_cannot_be_read()
{
#ifdef Q_OS_UNIX
    if (::geteuid() == 0)
        QSKIP("root reads a file whatever its permissions");
#endif
    const QString path = write(QStringLiteral("secret.txt"), "abc\r\n");
    QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions()));
    const PracticeFileContent content = readPracticeFile(path);
    QCOMPARE(content.error, PracticeReadError::NoPermission);
}

void PracticeFileTest::failing_read_is_reported()
{
    // Reading a process's memory at address 0 fails with an I/O error.
    const QString path = QStringLiteral("/proc/self/mem");
    if (!QFileInfo(path).isFile())
        QSKIP("needs /proc/self/mem");
    const PracticeFileContent content = readPracticeFile(path);
    QCOMPARE(content.error, PracticeReadError::ReadFailed);
    QVERIFY(content.lines.isEmpty());
}

void PracticeFileTest::endless_lines_are_read_only_as_far_as_needed()
{
    // State: a stream of lines that never ends.
    EndlessDevice device("line\r\n");
    // Action
    const PracticeFileContent content = readPracticeText(device);
    // Expected: 101 lines, the rest noticed, and reading stopped long before the byte limit.
    QCOMPARE(content.lines.size(), 101);
    QVERIFY(content.moreLines);
    QVERIFY(device.delivered < PracticeReadLimitBytes / 4);
}

void PracticeFileTest::one_endless_line_is_read_only_as_far_as_needed()
{
    EndlessDevice device("あ");
    const PracticeFileContent content = readPracticeText(device);
    QVERIFY(content.ok());
    QCOMPARE(content.lines.size(), 1);
    QCOMPARE(content.lines.first().size(), PracticeLineLengthLimit);
    QVERIFY(content.lines.first().startsWith(QStringLiteral("あああ")));
    QVERIFY(content.lineCut);
    QVERIFY(device.delivered <= PracticeReadLimitBytes);
}

void PracticeFileTest::huge_file_on_disk_loads_its_beginning()
{
    // State: 1 GiB on disk (sparse): two lines, then nothing but zero bytes.
    const QString path = write(QStringLiteral("huge.txt"), "first\r\nsecond\r\n");
    QFile file(path);
    QVERIFY(file.resize(qint64(1) << 30));
    // Action
    const PracticeFileContent content = readPracticeFile(path);
    // Expected: the two lines and the beginning of the third, said to be cut.
    QVERIFY(content.ok());
    QCOMPARE(content.lines.size(), 3);
    QCOMPARE(content.lines.at(1), QStringLiteral("second"));
    QCOMPARE(content.lines.at(2).size(), PracticeLineLengthLimit);
    QVERIFY(content.lineCut);
}

void PracticeFileTest::bytes_a_few_at_a_time_give_the_same_lines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qint64>("step");
    const QString text = QString::fromLatin1(numberedLines(150));
    QTest::newRow("utf-16 le, one byte a read") << utf16(text, false) << qint64(1);
    QTest::newRow("utf-16 be, one byte a read") << utf16(text, true) << qint64(1);
    QTest::newRow("utf-16 le, three bytes a read") << utf16(text, false) << qint64(3);
    QTest::newRow("utf-8 with mark, two bytes a read") << "\xEF\xBB\xBF" + numberedLines(150) << qint64(2);
    QTest::newRow("plain, one byte a read") << numberedLines(150) << qint64(1);
}

void PracticeFileTest::bytes_a_few_at_a_time_give_the_same_lines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(qint64, step);
    // State: a stream of 150 lines that arrives a few bytes per read.
    TrickleDevice device(bytes, step);
    // Action
    const PracticeFileContent content = readPracticeText(device);
    // Expected: the first 101 lines whole, as from a file read at once.
    QVERIFY(content.ok());
    QCOMPARE(content.lines.size(), PracticeLineLimit);
    QCOMPARE(content.lines.first(), QStringLiteral("line 1"));
    QCOMPARE(content.lines.last(), QStringLiteral("line 101"));
    QVERIFY(content.moreLines);
    QVERIFY(!content.lineCut);
}

void PracticeFileTest::lines_past_the_limit_do_not_change_the_encoding_data()
{
    QTest::addColumn<qint64>("step");
    QTest::newRow("file read at once") << qint64(0);
    QTest::newRow("stream, a byte a read") << qint64(1);
    QTest::newRow("stream, seven bytes a read") << qint64(7);
}

void PracticeFileTest::lines_past_the_limit_do_not_change_the_encoding()
{
    QFETCH(qint64, step);
    // State: 101 lines of UTF-8, then a line that is not UTF-8.
    QByteArray bytes;
    for (int i = 0; i < PracticeLineLimit; ++i)
        bytes += "あ\r\n";
    bytes += "\x82\xA0\r\n";
    // Action: read it from a file, or as a stream a few bytes at a time.
    const PracticeFileContent content = step == 0 ? readPracticeFile(write(QStringLiteral("mixed.txt"), bytes))
                                                  : [&] {
                                                        TrickleDevice device(bytes, step);
                                                        return readPracticeText(device);
                                                    }();
    // Expected: the kept lines alone decide the encoding, however far the reading went.
    QVERIFY(content.ok());
    QCOMPARE(content.lines, QStringList(PracticeLineLimit, QStringLiteral("あ")));
    QVERIFY(content.moreLines);
    QVERIFY(!content.lineCut);
}

void PracticeFileTest::load_fills_the_table_and_counts_from_one_read()
{
    PracticeText text;
    const QString path = write(QStringLiteral("three.txt"), "one\r\ntwo\r\nthree");
    QVERIFY(text.load(path).ok());
    QCOMPARE(text.practiceFile(), path);
    QCOMPARE(text.lineNo(), 1);
    QCOMPARE(text.lastLineNo(), 2);
    QCOMPARE(text.currentLine(), QStringLiteral("two"));
    QCOMPARE(text.line(2), QStringLiteral("three"));

    QVERIFY(text.load(write(QStringLiteral("empty.txt"), {})).ok());
    QCOMPARE(text.lastLineNo(), -1);
    QCOMPARE(text.lineNo(), 1);
}

void PracticeFileTest::shorter_file_after_longer_leaves_no_old_line()
{
    // State: a file of five lines loaded.
    PracticeText text;
    QVERIFY(text.load(write(QStringLiteral("long.txt"), "L1\nL2\nL3\nL4\nL5\n")).ok());
    // Action: a file of one line is loaded.
    QVERIFY(text.load(write(QStringLiteral("short.txt"), "S1\n")).ok());
    // Expected: no entry holds an old line; Ctrl's entry 1 is empty; draws give S1 only.
    for (int i = 0; i < PracticeText::TableSize; ++i)
        QVERIFY2(!text.line(i).startsWith(u'L'), qPrintable(QString::number(i)));
    QCOMPARE(text.currentLine(), QString());
    SeededRandom random(3);
    for (int i = 0; i < 200; ++i)
        QCOMPARE(text.drawLine(random), QStringLiteral("S1"));
}

void PracticeFileTest::unreadable_path_keeps_the_earlier_text()
{
    PracticeText text;
    const QString path = write(QStringLiteral("good.txt"), "a\nb\nc\n");
    QVERIFY(text.load(path).ok());
    testing::ScriptedRandom random({2});
    text.drawLine(random);

    const PracticeFileContent content = text.load(m_dir.filePath(QStringLiteral("gone.txt")));

    QCOMPARE(content.error, PracticeReadError::Missing);
    QCOMPARE(text.practiceFile(), path);
    QCOMPARE(text.lineNo(), 2);
    QCOMPARE(text.lastLineNo(), 2);
    QCOMPARE(text.line(0), QStringLiteral("a"));
    QCOMPARE(text.currentLine(), QStringLiteral("c"));
}

void PracticeFileTest::draws_stay_inside_the_file_and_the_table_data()
{
    QTest::addColumn<int>("lineCount");
    QTest::newRow("empty") << 0;
    QTest::newRow("one line") << 1;
    QTest::newRow("101 lines") << 101;
    QTest::newRow("102 lines") << 102;
    QTest::newRow("500 lines") << 500;
}

void PracticeFileTest::draws_stay_inside_the_file_and_the_table()
{
    QFETCH(int, lineCount);
    PracticeText text;
    QVERIFY(text.load(write(QStringLiteral("n.txt"), numberedLines(lineCount))).ok());
    const int expectedLast = std::min(lineCount, PracticeLineLimit) - 1;
    QCOMPARE(text.lastLineNo(), expectedLast);
    QVERIFY(text.lineNo() >= 0 && text.lineNo() <= 100);
    SeededRandom random(11);
    for (int i = 0; i < 2000; ++i) {
        text.drawLine(random);
        QVERIFY(text.lineNo() >= 0 && text.lineNo() <= std::max(expectedLast, 0));
    }
}

void PracticeFileTest::faulty_random_still_draws_a_line_of_the_file_data()
{
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("expectedLineNo");
    QTest::newRow("past the file, inside the table") << 3 << 77 << 2;
    QTest::newRow("just past the file") << 3 << 3 << 2;
    QTest::newRow("past the table") << 3 << std::numeric_limits<int>::max() << 2;
    QTest::newRow("negative") << 3 << -5 << 0;
    QTest::newRow("lowest") << 3 << std::numeric_limits<int>::min() << 0;
    QTest::newRow("empty file") << 0 << 50 << 0;
}

void PracticeFileTest::faulty_random_still_draws_a_line_of_the_file()
{
    QFETCH(int, lineCount);
    QFETCH(int, answer);
    QFETCH(int, expectedLineNo);
    // State: a file of lineCount lines, after a longer one left nothing behind.
    PracticeText text;
    QVERIFY(text.load(write(QStringLiteral("long.txt"), numberedLines(100))).ok());
    QVERIFY(text.load(write(QStringLiteral("n.txt"), numberedLines(lineCount))).ok());
    // Action: a draw from a source that breaks its range.
    UnrulyRandom random(answer);
    const QString drawn = text.drawLine(random);
    // Expected: the nearest line of this file, never an empty entry past its end.
    QCOMPARE(text.lineNo(), expectedLineNo);
    QCOMPARE(drawn, text.line(expectedLineNo));
}

QTEST_GUILESS_MAIN(PracticeFileTest)
#include "test_practice_file.moc"
