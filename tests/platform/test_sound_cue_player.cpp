// The three cue files: where they are found, and that they are short, valid
// sounds. A missing cue beeps and says so.
#include "platform/sound_check.h"
#include "platform/sound_cue_player.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QtEndian>

using hoshi::Cue;
using hoshi::SoundCuePlayer;

Q_DECLARE_METATYPE(hoshi::Cue)

namespace {

struct WaveFacts {
    bool valid = false;
    quint16 format = 0;
    quint32 byteRate = 0;
    quint32 dataBytes = 0;
};

// Walks the RIFF chunks of a WAV file far enough to know its length.
WaveFacts readWave(const QByteArray &bytes)
{
    WaveFacts facts;
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return facts;
    const auto u32 = [&bytes](qsizetype at) { return qFromLittleEndian<quint32>(bytes.constData() + at); };
    const auto u16 = [&bytes](qsizetype at) { return qFromLittleEndian<quint16>(bytes.constData() + at); };
    bool haveFormat = false;
    for (qsizetype at = 12; at + 8 <= bytes.size();) {
        const QByteArray id = bytes.mid(at, 4);
        const quint32 size = u32(at + 4);
        if (id == "fmt " && size >= 16 && at + 8 + 16 <= bytes.size()) {
            facts.format = u16(at + 8);
            facts.byteRate = u32(at + 16);
            haveFormat = true;
        } else if (id == "data") {
            facts.dataBytes = size;
            facts.valid = haveFormat && at + 8 + qsizetype(size) <= bytes.size() && facts.byteRate > 0;
            return facts;
        }
        at += 8 + size + (size & 1);
    }
    return facts;
}

} // namespace

class TestSoundCuePlayer : public QObject {
    Q_OBJECT
private slots:
    void cue_files_are_next_to_the_executable_data()
    {
        QTest::addColumn<Cue>("cue");
        QTest::newRow("ding") << Cue::Ding;
        QTest::newRow("zannen") << Cue::Zannen;
        QTest::newRow("boo") << Cue::Boo;
    }

    void cue_files_are_next_to_the_executable()
    {
        // State: the build tree, where the cues are copied beside the programs.
        QFETCH(Cue, cue);
        // Action: look the cue up.
        const QString path = SoundCuePlayer::locateCueFile(cue);
        // Expected: found next to the executable; a PCM WAV shorter than 0.6 s.
        QCOMPARE(path, QDir(QCoreApplication::applicationDirPath()).filePath(hoshi::cueFileName(cue)));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const WaveFacts wave = readWave(file.readAll());
        QVERIFY(wave.valid);
        QCOMPARE(wave.format, quint16{1});
        QVERIFY(double(wave.dataBytes) / wave.byteRate < 0.6);
    }

    void the_installed_data_folder_is_the_second_place_looked()
    {
        const QStringList folders = SoundCuePlayer::defaultSearchFolders();
        QCOMPARE(folders.size(), 2);
        QCOMPARE(folders.at(0), QCoreApplication::applicationDirPath());
        QVERIFY(folders.at(1).endsWith(QStringLiteral("/share/hoshinotamago")));
        QCOMPARE(QDir(folders.at(1)).absolutePath(),
                 QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/hoshinotamago")));
    }

    void the_first_folder_that_has_the_file_wins()
    {
        QTemporaryDir empty, second;
        QFile::copy(SoundCuePlayer::locateCueFile(Cue::Boo), second.filePath(QStringLiteral("boo.wav")));
        QCOMPARE(SoundCuePlayer::locateCueFile(Cue::Boo, {empty.path(), second.path()}),
                 QDir::cleanPath(second.filePath(QStringLiteral("boo.wav"))));
        QCOMPARE(SoundCuePlayer::locateCueFile(Cue::Ding, {empty.path(), second.path()}), QString());
    }

    void a_missing_cue_beeps_and_says_so_once()
    {
        // State: a player whose folder has no cues.
        QTemporaryDir empty;
        SoundCuePlayer player({empty.path()});
        // Action: play the same missing cue twice.
        // Expected: one line on standard error naming it (a second would fail the test).
        QTest::ignoreMessage(QtWarningMsg, "hoshinotamago: cue zannen.wav missing, beeping");
        player.playCue(Cue::Zannen);
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*zannen.*")));
        player.playCue(Cue::Zannen);
    }

    void the_sound_check_reports_every_cue()
    {
        // State: the build tree's cues, and a folder with a broken one.
        QString report;
        QTextStream out(&report);
        // Action / Expected: all three found and loadable.
        QVERIFY(hoshi::checkCueFiles(out, SoundCuePlayer::defaultSearchFolders()));
        const QString here = QCoreApplication::applicationDirPath();
        QCOMPARE(report, QStringLiteral("ding.wav: %1/ding.wav\nzannen.wav: %1/zannen.wav\n"
                                        "boo.wav: %1/boo.wav\n")
                             .arg(here));

        QTemporaryDir broken;
        QFile::copy(here + QStringLiteral("/ding.wav"), broken.filePath(QStringLiteral("ding.wav")));
        QFile junk(broken.filePath(QStringLiteral("boo.wav")));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("this is not a sound");
        junk.close();
        report.clear();
        QVERIFY(!hoshi::checkCueFiles(out, {broken.path()}));
        const QStringList lines = report.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        const QString brokenDing = QDir::cleanPath(broken.filePath(QStringLiteral("ding.wav")));
        QCOMPARE(lines.at(0), QStringLiteral("ding.wav: ") + brokenDing);
        QCOMPARE(lines.at(1), QStringLiteral("zannen.wav: missing, would beep"));
        QVERIFY(lines.at(2).endsWith(QStringLiteral("boo.wav cannot be played, would beep")));
    }
};

QTEST_MAIN(TestSoundCuePlayer)
#include "test_sound_cue_player.moc"
