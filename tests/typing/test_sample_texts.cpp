// SPDX-License-Identifier: GPL-3.0-or-later
// The practice texts that come with the program, read through the real
// loader as a typing window reads them.
#include "typing/practice_file.h"
#include "typing/text_decoding.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

using namespace hoshi;

namespace {

QDir sampleFolder(const QString &language)
{
    return QDir(QStringLiteral(HOSHI_SAMPLE_TEXTS) + QLatin1Char('/') + language);
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class SampleTextsTest : public QObject {
    Q_OBJECT

private slots:
    void each_window_has_its_texts_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("japanese") << "japanese"
                                  << QStringList{"1 ひらがなの ことば.txt", "2 かんじの まじった ぶん.txt",
                                                 "3 カタカナと きごう.txt"};
        QTest::newRow("english") << "english" << QStringList{"1 short words.txt", "2 short sentences.txt"};
    }

    void each_window_has_its_texts()
    {
        QFETCH(QString, language);
        QTEST(sampleFolder(language).entryList(QDir::Files, QDir::Name), "names");
    }

    void every_text_loads_whole_and_clean_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("allowed"); // what every line is made of
        const QString japanese = QStringLiteral("^[\\x{3000}-\\x{30FF}\\x{4E00}-\\x{9FFF}\\x{FF01}-\\x{FF5E}]+$");
        const QString hiragana = QStringLiteral("^[\\x{3041}-\\x{309F}ー]+$");
        const QString english = QStringLiteral("^[A-Za-z][ -~]*$");
        for (const QString &language : {QStringLiteral("japanese"), QStringLiteral("english")}) {
            const QDir folder = sampleFolder(language);
            for (const QString &name : folder.entryList({QStringLiteral("*.txt")}, QDir::Files)) {
                const QString pattern = language == QLatin1String("english") ? english
                                        : name.contains(QStringLiteral("ひらがな")) ? hiragana
                                                                                   : japanese;
                QTest::newRow(qPrintable(name)) << folder.filePath(name) << pattern;
            }
        }
    }

    void every_text_loads_whole_and_clean()
    {
        // State: a shipped text. Action: the loader reads it.
        QFETCH(QString, path);
        QFETCH(QString, allowed);
        const PracticeFileContent content = readPracticeFile(path);
        // Expected: plain UTF-8 without a mark, every line kept whole, nothing to tell the user.
        QVERIFY(content.ok());
        QCOMPARE(detectEncoding(bytesOf(path), true), TextEncoding::Utf8);
        QVERIFY(content.lines.size() >= 10 && content.lines.size() <= PracticeLineLimit);
        QVERIFY(!content.moreLines && !content.lineCut && !content.unreadableCharacters);
        // ...and every line something a child can type: not empty, no blanks at its ends, no
        // letters of another script, and no line twice.
        const QRegularExpression pattern(allowed);
        for (const QString &line : content.lines) {
            QVERIFY2(pattern.match(line).hasMatch(), qPrintable(line));
            QCOMPARE(line.trimmed(), line);
            QCOMPARE(content.lines.count(line), 1);
        }
    }
};

QTEST_GUILESS_MAIN(SampleTextsTest)
#include "test_sample_texts.moc"
