// SPDX-License-Identifier: GPL-3.0-or-later
// The records as a child's runs meet them: kept across versions of the file, compared
// aloud, kept in memory while the file is locked, read-only, full or broken; the CSV.
#include "records/record_keeper.h"
#include "records/record_schema.h"
#include "records/record_store.h"
#include "records/records_csv.h"
#include "records/standing_phrase.h"

#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <optional>
#include <utility>

using namespace hoshi;

namespace {

RunRecord drillRun(int score, const QString &when = QStringLiteral("2024-05-01T10:00:00"))
{
    return {.mode = QStringLiteral("frmYubiren2"), .started = QDateTime::fromString(when, Qt::ISODate), .seconds = 30,
            .hits = score + 1, .misses = 1, .score = score, .missedKeys = {{"E", 2}, {"R", 1}}, .practiceFile = {}};
}

int rowsIn(const QString &path)
{
    RecordStore store(path, QStringLiteral("count"));
    return store.openToRead() == StoreProblem::None ? int(store.allRuns().size()) : -1;
}

// A second connection's lock until destroyed: EXCLUSIVE keeps readers out too, IMMEDIATE writers only.
struct HeldLock {
    explicit HeldLock(const QString &path, const QString &kind = QStringLiteral("EXCLUSIVE"))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("lock"));
        db.setDatabaseName(path);
        db.open();
        QSqlQuery(db).exec(QStringLiteral("BEGIN ") + kind);
    }
    ~HeldLock()
    {
        QSqlDatabase::database(QStringLiteral("lock")).close();
        QSqlDatabase::removeDatabase(QStringLiteral("lock"));
    }
};

// Runs of two drills and a typing mode over 40 days, some cut short with scores above the rest.
std::vector<RunRecord> variedRuns()
{
    std::vector<RunRecord> runs;
    const QDateTime first(QDate(2024, 3, 1), QTime(9, 0));
    for (int i = 0; i < 120; ++i) {
        runs.push_back({.mode = QStringList{"frmJapanese", "frmYubiren2", "frmYubiren3"}.at(i % 3),
                        .started = first.addDays(i / 3).addSecs(i * 7), .seconds = 30, .score = i % 11 ? i % 17 : 99,
                        .cutShort = i % 11 == 0, .missedKeys = {{QString(QChar(u'A' + i % 6)), 1 + i % 4}},
                        .charsPerMinute = 20.0 + i % 9, .accuracy = (i % 5) / 4.0, .practiceFile = {}});
    }
    return runs;
}

// What the records window shows of each mode, one line a mode.
QString figures(const RecordsSummary &summary)
{
    QStringList modes;
    for (const ModeSummary &m : summary.modes) {
        QString line = QStringLiteral("%1: %2 runs, best %3; keys").arg(m.mode).arg(m.runCount).arg(m.best.value_or(-1));
        for (const auto &[key, count] : m.weakKeys)
            line += QStringLiteral(" %1=%2").arg(key).arg(count);
        line += QStringLiteral("; last");
        for (const RunRow &run : m.lastRuns)
            line += QStringLiteral(" %1@%2%3").arg(run.score).arg(run.started.toString(QStringLiteral("MMdd-hhmmss")),
                                                                  run.cutShort ? QStringLiteral("cut") : QString());
        line += QStringLiteral("; days");
        for (const DayPoint &day : m.days)
            line += QStringLiteral(" %1:%2/%3/%4/%5").arg(day.day.toString(QStringLiteral("MMdd"))).arg(day.bestScore)
                        .arg(day.runs).arg(qRound(day.charsPerMinute * 1000)).arg(qRound(day.accuracy * 1000));
        modes << line;
    }
    modes.sort();
    return modes.join(u'\n');
}

// A records file of schema `version` holding `runs` (the columns that version has).
void writeOldFile(const QString &path, int version, const std::vector<RunRecord> &runs)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("old"));
        db.setDatabaseName(path);
        QVERIFY(db.open() && migrateTo(db, version));
        QSqlQuery q(db);
        for (const RunRecord &r : runs) {
            QVERIFY(q.exec(QStringLiteral("INSERT INTO runs (mode, started, seconds, hits, misses, score, cut_short)"
                                          " VALUES ('%1', '%2', 30, 0, 0, %3, %4)")
                               .arg(r.mode, r.started.toString(Qt::ISODate)).arg(r.score).arg(int(r.cutShort))));
            const QString id = q.lastInsertId().toString();
            for (const auto &[name, count] : r.missedKeys)
                QVERIFY(q.exec(QStringLiteral("INSERT INTO missed_keys VALUES (%1, '%2', %3)").arg(id, name).arg(count)));
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("old"));
}

} // namespace

class TestRecordStore : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(m_dir.isValid()); m_path = m_dir.filePath(QStringLiteral("r%1.sqlite").arg(++m_n)); }

    void cleanup()
    {
        for (const QString &mount : std::exchange(m_mounts, {}))
            QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), mount});
    }

    // The window's figures read from the file are those of every run kept, also of runs
    // written before an upgrade.
    void theFiguresAreThoseOfEveryRunKept_data()
    {
        QTest::addColumn<int>("version");
        QTest::addRow("written by this version") << currentSchemaVersion();
        for (int v = 1; v < currentSchemaVersion(); ++v)
            QTest::addRow("half written by version %d", v) << v;
    }
    void theFiguresAreThoseOfEveryRunKept()
    {
        QFETCH(int, version);
        const std::vector<RunRecord> runs = variedRuns();
        const bool upgrade = version < currentSchemaVersion();
        if (upgrade)
            writeOldFile(m_path, version, {runs.begin(), runs.begin() + 60});
        RecordStore store(m_path, QStringLiteral("figures"));
        QCOMPARE(store.open(), StoreProblem::None);
        QCOMPARE(store.insertAll({runs.begin() + (upgrade ? 60 : 0), runs.end()}), StoreProblem::None);
        const std::vector<RunRecord> kept = store.allRuns();
        QCOMPARE(kept.size(), runs.size());
        RecordsSummary folded;
        for (const RunRecord &run : kept)
            addRun(folded, run, SummaryLimits{});
        QCOMPARE(figures(store.summary()), figures(folded));
        QSqlQuery schema(QSqlDatabase::database(QStringLiteral("figures")));
        QVERIFY(schema.exec(QStringLiteral("PRAGMA user_version")) && schema.next());
        QCOMPARE(schema.value(0).toInt(), currentSchemaVersion());
    }

    void aRunWaitingJoinsTheStoredFigures()
    {
        // Three drills of 10 on two days, a later 4 missing Q 5 times, one cut short at 50: newest
        // first; best and days untouched by the run cut short; the keys most missed first.
        RecordsSummary summary;
        const SummaryLimits limits{3, 30};
        for (const char *when : {"2024-05-01T10:00:00", "2024-05-02T10:00:00", "2024-05-02T10:30:00"})
            addRun(summary, drillRun(10, QString::fromLatin1(when)), limits);
        RunRecord later = drillRun(4, QStringLiteral("2024-05-02T11:00:00"));
        later.missedKeys = {{QStringLiteral("Q"), 5}};
        addRun(summary, later, limits);
        RunRecord cut = drillRun(50, QStringLiteral("2024-05-03T08:00:00"));
        cut.cutShort = true;
        addRun(summary, cut, limits);
        QCOMPARE(figures(summary), QStringLiteral("frmYubiren2: 5 runs, best 10; keys E=8 Q=5 R=4;"
                                                  " last 50@0503-080000cut 4@0502-110000 10@0502-103000;"
                                                  " days 0501:10/1/0/0 0502:10/3/0/0"));
        // Three typing runs of a day: the day's speed and accuracy are their means.
        for (const int cpm : {20, 30, 40}) {
            RunRecord typing = drillRun(1, QStringLiteral("2024-05-04T09:%1:00").arg(cpm));
            typing.mode = QStringLiteral("frmJapanese");
            typing.charsPerMinute = cpm;
            typing.accuracy = cpm / 100.0;
            addRun(summary, typing, limits);
        }
        QVERIFY(figures(summary).contains(QStringLiteral("days 0504:1/3/30000/300")));
    }

    // Runs the database cannot take yet are in the window's figures and the CSV, and once
    // written they are there once; the problem is told once however many runs meet it.
    void runsWaitingAreShownOnce_data()
    {
        QTest::addColumn<QString>("setUp");
        QTest::addColumn<StoreProblem>("told");
        QTest::addColumn<bool>("lifted");
        QTest::newRow("another copy writing") << "writing" << StoreProblem::Locked << true;
        QTest::newRow("read-only folder") << "readonly" << StoreProblem::ReadOnly << false;
        QTest::newRow("a folder that can never be made") << "nowhere" << StoreProblem::ReadOnly << false;
    }
    void runsWaitingAreShownOnce()
    {
        QFETCH(QString, setUp);
        QFETCH(StoreProblem, told);
        QFETCH(bool, lifted);
        std::unique_ptr<HeldLock> lock;
        prepare(setUp, lock);
        const int stored = setUp == QLatin1String("nowhere") ? 0 : 200;
        std::vector<StoreProblem> heard;
        RecordKeeper keeper(m_path, [&heard](StoreProblem p, const QString &) { heard.push_back(p); });
        for (int score : {250, 251, 252})
            keeper.runFinished(drillRun(score, QStringLiteral("2024-06-01T10:0%1:00").arg(score - 250)));
        QCOMPARE(rowsIn(m_path), stored);
        for (bool written : {false, true}) {
            if (written && !lifted)
                break;
            if (written) {
                lock.reset();
                QTRY_COMPARE_WITH_TIMEOUT(rowsIn(m_path), stored + 3, 15000);
            }
            const ModeSummary mode = summaryOf(keeper);
            QCOMPARE(QStringLiteral("%1 runs, last %2, best %3").arg(mode.runCount).arg(mode.lastRuns.at(0).score)
                         .arg(mode.best.value_or(-1)), QStringLiteral("%1 runs, last 252, best 252").arg(stored + 3));
            if (stored) // with no records file at all, the export has nothing to read from
                QCOMPARE(csvLinesOf(keeper), 1 + stored + 3);
        }
        QTest::qWait(200);
        QCOMPARE(heard, std::vector<StoreProblem>{told});
    }

    void aBadFileIsToldAndNeverLosesARun_data()
    {
        QTest::addColumn<QString>("setUp");
        QTest::addColumn<StoreProblem>("problem");
        QTest::addColumn<bool>("movedAside");
        QTest::newRow("garbage file") << "garbage" << StoreProblem::Corrupt << true;
        QTest::newRow("truncated file") << "truncated" << StoreProblem::Corrupt << true;
        QTest::newRow("newer version") << "newer" << StoreProblem::Newer << false;
        QTest::newRow("read-only folder") << "readonly" << StoreProblem::ReadOnly << false;
        QTest::newRow("locked by another copy") << "locked" << StoreProblem::Locked << false;
    }
    void aBadFileIsToldAndNeverLosesARun()
    {
        QFETCH(QString, setUp);
        QFETCH(StoreProblem, problem);
        QFETCH(bool, movedAside);
        std::unique_ptr<HeldLock> lock;
        prepare(setUp, lock);
        const QByteArray before = bytesOf(m_path);
        RecordStore store(m_path, QStringLiteral("bad"));
        // Some problems show at opening, the others at the first write.
        StoreProblem got = store.open();
        if (got == StoreProblem::None)
            got = store.insert(drillRun(1));
        QCOMPARE(got, problem);
        // A broken file kept aside as it was, and a fresh one that takes runs at once; any other untouched.
        QCOMPARE(!store.asidePath().isEmpty() && QFile::exists(store.asidePath()), movedAside);
        QCOMPARE(bytesOf(movedAside ? store.asidePath() : m_path), before);
        if (movedAside)
            QCOMPARE(store.insert(drillRun(1)), StoreProblem::None);
    }

    // What the voice says of each finished run, in the order a child plays them.
    void theKeeperComparesFinishedRunsOnly_data()
    {
        QTest::addColumn<QStringList>("steps"); // a score, "cut:" one cut short, "erase", "restart"
        QTest::addColumn<QStringList>("said");
        QTest::newRow("a run cut short is not compared, nor compared with")
            << QStringList{"5", "cut:50", "7"}
            << QStringList{"はじめての きろく だよ", "", "さいこう きろく！ まえより ２てん あがったよ"};
        QTest::newRow("after erasing, the first again")
            << QStringList{"5", "erase", "3"} << QStringList{"はじめての きろく だよ", "", "はじめての きろく だよ"};
        QTest::newRow("the next day's program compares with the runs kept")
            << QStringList{"5", "9", "restart", "7"}
            << QStringList{"はじめての きろく だよ", "さいこう きろく！ まえより ４てん あがったよ", "",
                           "まえより ２てん さがったよ"};
        QTest::newRow("... where a run cut short is neither the last nor the best")
            << QStringList{"5", "cut:50", "restart", "7"}
            << QStringList{"はじめての きろく だよ", "", "", "さいこう きろく！ まえより ２てん あがったよ"};
    }
    void theKeeperComparesFinishedRunsOnly()
    {
        QFETCH(QStringList, steps);
        auto keeper = std::make_unique<RecordKeeper>(m_path, RecordKeeper::ProblemListener{});
        QStringList heard;
        int minute = 0;
        for (const QString &step : steps) {
            if (step == QLatin1String("erase")) {
                std::optional<bool> erased;
                keeper->eraseAll([&erased](bool done) { erased = done; });
                QTRY_VERIFY_WITH_TIMEOUT(erased.has_value(), 10000);
            } else if (step == QLatin1String("restart")) {
                QTRY_COMPARE_WITH_TIMEOUT(rowsIn(m_path), minute, 10000);
                keeper = std::make_unique<RecordKeeper>(m_path, RecordKeeper::ProblemListener{});
                keeper->start();
                summaryOf(*keeper); // the history is in once the store has answered
            } else {
                RunRecord run = drillRun(step.section(u':', -1).toInt(),
                                         QStringLiteral("2024-05-01T10:%1:00").arg(++minute, 2, 10, QLatin1Char('0')));
                run.cutShort = step.startsWith(QLatin1String("cut"));
                heard << keeper->runFinished(run);
                continue;
            }
            heard << QString();
        }
        QTEST(heard, "said");
    }

    void aFullDiskIsToldAndTheRunKept()
    {
        const QString mount = smallDisk();
        if (mount.isEmpty())
            QSKIP("cannot mount a small tmpfs here (needs root)");
        RecordStore store(mount + QStringLiteral("/records.sqlite"), QStringLiteral("full"));
        QCOMPARE(store.open(), StoreProblem::None);
        QFile filler(mount + QStringLiteral("/filler"));
        QVERIFY(filler.open(QIODevice::WriteOnly));
        while (filler.write(QByteArray(4096, 'x')) > 0 && filler.flush()) {
        }
        filler.close();
        // A batch of runs meets the full disk half-way; once there is room, the next write goes in.
        std::vector<RunRecord> batch(200, drillRun(1));
        QCOMPARE(store.insertAll(batch), StoreProblem::Full);
        QFile::remove(filler.fileName());
        QCOMPARE(store.insert(drillRun(99)), StoreProblem::None);
        QCOMPARE(store.allRuns().size(), std::size_t(1));
    }

    void csvReadsBackEveryField()
    {
        // A comma and quotes in a file name stay in their field; a line break (Linux allows
        // it) is quoted too, or a spreadsheet starts a new run there.
        RunRecord typing = drillRun(0);
        typing.charsPerMinute = 42.5;
        typing.practiceFile = QStringLiteral("あいう, \"えお\".txt");
        const QStringList lines = QString::fromUtf8(runsAsCsv({drillRun(6), typing})).split(QStringLiteral("\r\n"));
        const QStringList header = csvHeader(), drill = csvFields(lines.value(1)), line = csvFields(lines.value(2));
        QCOMPARE(lines.size(), 4);
        QCOMPARE(csvFields(lines[0]), header);
        QCOMPARE(drill[header.indexOf("score")] + ' ' + drill[header.indexOf("missed_keys")], QStringLiteral("6 E=2 R=1"));
        QCOMPARE(line.size(), header.size());
        QCOMPARE(line[header.indexOf("practice_file")] + ' ' + line[header.indexOf("chars_per_minute")],
                 typing.practiceFile + " 42.5");
        typing.practiceFile = QStringLiteral("ふたつの\nぎょう.txt");
        QVERIFY(runsAsCsv({typing}).contains("\"ふたつの\nぎょう.txt\""));
    }

    void theStandingIsSaidShortly_data()
    {
        QTest::addColumn<QStringList>("before"); // day of May 2024 : score
        QTest::addColumn<int>("score");          // on 1 May
        QTest::addColumn<QString>("japanese");
        QTest::addColumn<QString>("english");
        const auto row = [](const char *name, const QStringList &before, int score, const char *ja, const char *en) {
            QTest::newRow(name) << before << score << QString::fromUtf8(ja) << QString::fromUtf8(en);
        };
        row("first", {}, 5, "はじめての きろく だよ", "Your first record!");
        row("best ever", {"0:3", "0:8"}, 10, "さいこう きろく！ まえより ２てん あがったよ",
            "Your best ever! 2 points more than last time.");
        row("equalling the best", {"0:8", "0:6"}, 8, "まえより ２てん あがったよ", "2 points more than last time.");
        row("same", {"0:4"}, 4, "まえと おなじ てんすう だよ", "The same as last time.");
        row("one point", {"0:3", "0:9"}, 8, "まえより １てん さがったよ", "1 point fewer than last time.");
        row("yesterday's best is not today's", {"0:20", "1:3"}, 6, "きょうの さいこう！ まえより ３てん あがったよ",
            "Your best today! 3 points more than last time.");
    }
    void theStandingIsSaidShortly()
    {
        QFETCH(QStringList, before);
        QFETCH(int, score);
        RunHistory history;
        for (const QString &earlier : before)
            history.add(QStringLiteral("frmYubiren2"), QDate(2024, 4, 30).addDays(earlier.section(u':', 0, 0).toInt()),
                        earlier.section(u':', 1).toInt());
        const RunStanding standing = history.standing(drillRun(score));
        QTEST(standingPhrase(standing, RunLanguage::Japanese), "japanese");
        QTEST(standingPhrase(standing, RunLanguage::English), "english");
    }

private:
    static QByteArray bytesOf(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void prepare(const QString &setUp, std::unique_ptr<HeldLock> &lock)
    {
        if (setUp == QLatin1String("nowhere")) {
            m_path = QStringLiteral("/dev/null/hoshinotamago/records.sqlite");
            return;
        }
        if (setUp == QLatin1String("garbage")) {
            QFile file(m_path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(8192, '\x5a'));
            return;
        }
        {
            RecordStore store(m_path, QStringLiteral("setup"));
            QCOMPARE(store.open(), StoreProblem::None);
            QCOMPARE(store.insertAll(std::vector<RunRecord>(200, drillRun(7))), StoreProblem::None);
            if (setUp == QLatin1String("newer"))
                QSqlQuery(QSqlDatabase::database(QStringLiteral("setup")))
                    .exec(QStringLiteral("PRAGMA user_version = %1").arg(currentSchemaVersion() + 1));
        }
        if (setUp == QLatin1String("truncated")) {
            QFile file(m_path);
            QVERIFY(file.resize(file.size() / 3));
        } else if (setUp == QLatin1String("readonly")) {
            QFile::setPermissions(m_path, QFile::ReadOwner | QFile::ReadUser);
            QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::ExeOwner);
            // Root writes whatever the modes say: for root, a file system mounted read-only.
            if (QFileInfo(m_dir.path()).isWritable())
                readOnlyDisk();
        } else if (setUp == QLatin1String("locked")) {
            lock = std::make_unique<HeldLock>(m_path);
        } else if (setUp == QLatin1String("writing")) {
            lock = std::make_unique<HeldLock>(m_path, QStringLiteral("IMMEDIATE"));
        }
    }

    static ModeSummary summaryOf(RecordKeeper &keeper)
    {
        std::optional<RecordsSummary> got;
        keeper.requestSummary([&got](const RecordsSummary &summary) { got = summary; });
        [&] { QTRY_VERIFY_WITH_TIMEOUT(got.has_value(), 10000); }();
        return got && got->modes.size() == 1 ? got->modes[0] : ModeSummary{};
    }

    int csvLinesOf(RecordKeeper &keeper)
    {
        const QString file = m_out.filePath(QStringLiteral("out%1.csv").arg(m_n));
        std::optional<bool> written;
        keeper.exportCsv(file, [&written](bool ok) { written = ok; });
        [&] { QTRY_VERIFY_WITH_TIMEOUT(written.has_value(), 10000); }();
        return written.value_or(false) ? int(bytesOf(file).count("\r\n")) : -1;
    }

    // A tmpfs of 256 KiB, or an empty path where none can be mounted.
    QString smallDisk()
    {
        const QString mount = m_dir.filePath(QStringLiteral("disk%1").arg(m_n));
        QDir().mkpath(mount);
        if (QProcess::execute(QStringLiteral("mount"), {"-t", "tmpfs", "-o", "size=256k", "tmpfs", mount}) != 0)
            return {};
        m_mounts << mount;
        return mount;
    }

    // The records file on a file system mounted read-only after it was written.
    void readOnlyDisk()
    {
        QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QString mount = smallDisk();
        if (mount.isEmpty())
            QSKIP("root ignores file modes and no tmpfs can be mounted");
        const QString path = mount + QStringLiteral("/records.sqlite");
        QVERIFY(QFile::copy(m_path, path));
        QCOMPARE(QProcess::execute(QStringLiteral("mount"), {"-o", "remount,ro", mount}), 0);
        m_path = path;
    }

    QStringList m_mounts;
    QTemporaryDir m_dir;
    QTemporaryDir m_out; // stays writable
    QString m_path;
    int m_n = 0;
};

QTEST_GUILESS_MAIN(TestRecordStore)
#include "test_record_store.moc"
