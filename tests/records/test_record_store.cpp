// SPDX-License-Identifier: GPL-3.0-or-later
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

#include <unistd.h>

#include <optional>

#include <utility>

using namespace hoshi;

namespace {

RunRecord drillRun(int score, const QString &when = QStringLiteral("2024-05-01T10:00:00"))
{
    RunRecord run;
    run.mode = QStringLiteral("frmYubiren2");
    run.started = QDateTime::fromString(when, Qt::ISODate);
    run.seconds = 30;
    run.hits = score + 1;
    run.misses = 1;
    run.score = score;
    run.missedKeys = {{QStringLiteral("E"), 2}, {QStringLiteral("R"), 1}};
    return run;
}

int rowsIn(const QString &path)
{
    RecordStore store(path, QStringLiteral("count"));
    return store.openToRead() == StoreProblem::None ? int(store.allRuns().size()) : -1;
}

// A second connection that holds a lock until it is destroyed: EXCLUSIVE
// keeps readers out too, IMMEDIATE (another copy writing) writers only.
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

// Runs of two drills and a typing mode over 40 days, some cut short with
// scores above the rest, each with its own time.
std::vector<RunRecord> variedRuns()
{
    std::vector<RunRecord> runs;
    const QDateTime first(QDate(2024, 3, 1), QTime(9, 0));
    for (int i = 0; i < 120; ++i) {
        RunRecord run = drillRun(i % 17);
        run.mode = i % 3 == 0 ? QStringLiteral("frmJapanese") : (i % 3 == 1 ? QStringLiteral("frmYubiren2")
                                                                            : QStringLiteral("frmYubiren3"));
        run.started = first.addDays(i / 3).addSecs(i * 7);
        run.cutShort = i % 11 == 0;
        if (run.cutShort)
            run.score = 99;
        run.missedKeys = {{QString(QChar(u'A' + i % 6)), 1 + i % 4}};
        run.charsPerMinute = 20 + i % 9;
        run.accuracy = (i % 5) / 4.0;
        runs.push_back(run);
    }
    return runs;
}

RecordsSummary foldedSummary(const std::vector<RunRecord> &runs)
{
    RecordsSummary summary;
    for (const RunRecord &run : runs)
        addRun(summary, run, SummaryLimits{});
    return summary;
}

const ModeSummary *modeIn(const RecordsSummary &summary, const QString &mode)
{
    for (const ModeSummary &shown : summary.modes) {
        if (shown.mode == mode)
            return &shown;
    }
    return nullptr;
}

// The figures of every mode alike, means to a thousandth.
void compareSummaries(const RecordsSummary &got, const RecordsSummary &expected)
{
    QCOMPARE(got.modes.size(), expected.modes.size());
    for (const ModeSummary &want : expected.modes) {
        const ModeSummary *mode = modeIn(got, want.mode);
        QVERIFY2(mode, qPrintable(want.mode));
        QCOMPARE(mode->runCount, want.runCount);
        QCOMPARE(mode->best.value_or(-1), want.best.value_or(-1));
        QCOMPARE(mode->weakKeys, want.weakKeys);
        QCOMPARE(mode->lastRuns.size(), want.lastRuns.size());
        for (std::size_t i = 0; i < want.lastRuns.size(); ++i) {
            QCOMPARE(mode->lastRuns[i].started, want.lastRuns[i].started);
            QCOMPARE(mode->lastRuns[i].score, want.lastRuns[i].score);
            QCOMPARE(mode->lastRuns[i].cutShort, want.lastRuns[i].cutShort);
        }
        QCOMPARE(mode->days.size(), want.days.size());
        for (std::size_t i = 0; i < want.days.size(); ++i) {
            QCOMPARE(mode->days[i].day, want.days[i].day);
            QCOMPARE(mode->days[i].bestScore, want.days[i].bestScore);
            QCOMPARE(qRound(mode->days[i].charsPerMinute * 1000), qRound(want.days[i].charsPerMinute * 1000));
            QCOMPARE(qRound(mode->days[i].accuracy * 1000), qRound(want.days[i].accuracy * 1000));
        }
    }
}

// A records file of schema `version` holding `runs` (the columns that version has).
void writeOldFile(const QString &path, int version, const std::vector<RunRecord> &runs)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("old"));
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QVERIFY(migrateTo(db, version));
        QSqlQuery run(db);
        run.prepare(QStringLiteral("INSERT INTO runs (mode, started, seconds, hits, misses, score, cut_short)"
                                   " VALUES (?, ?, 30, 0, 0, ?, ?)"));
        QSqlQuery key(db);
        key.prepare(QStringLiteral("INSERT INTO missed_keys (run_id, key, count) VALUES (?, ?, ?)"));
        for (const RunRecord &r : runs) {
            run.addBindValue(r.mode);
            run.addBindValue(r.started.toString(Qt::ISODate));
            run.addBindValue(r.score);
            run.addBindValue(int(r.cutShort));
            QVERIFY(run.exec());
            for (const auto &[name, count] : r.missedKeys) {
                key.addBindValue(run.lastInsertId());
                key.addBindValue(name);
                key.addBindValue(count);
                QVERIFY(key.exec());
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("old"));
}

} // namespace

class TestRecordStore : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(m_dir.isValid()); m_path = m_dir.filePath(QStringLiteral("r%1.sqlite").arg(++m_n)); }

    void freshFileHasTheCurrentSchemaAndKeepsRuns()
    {
        RecordStore store(m_path, QStringLiteral("fresh"));
        QCOMPARE(store.open(), StoreProblem::None);
        QCOMPARE(store.insert(drillRun(7)), StoreProblem::None);
        const std::vector<RunRecord> runs = store.allRuns();
        QCOMPARE(runs.size(), std::size_t(1));
        QCOMPARE(runs[0].score, 7);
        QCOMPARE(runs[0].missedKeys.at(QStringLiteral("E")), 2);
        QSqlQuery version(QSqlDatabase::database(QStringLiteral("fresh")));
        QVERIFY(version.exec(QStringLiteral("PRAGMA user_version")) && version.next());
        QCOMPARE(version.value(0).toInt(), currentSchemaVersion());
    }

    // The window's figures read from the file are those of every run kept:
    // the count, the best (never a run cut short), the last ten, the last 30
    // days and the keys missed, also for runs written before an upgrade.
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
        std::vector<RunRecord> runs = variedRuns();
        const std::vector<RunRecord> older(runs.begin(), runs.begin() + 60);
        if (version < currentSchemaVersion())
            writeOldFile(m_path, version, older);
        RecordStore store(m_path, QStringLiteral("figures"));
        QCOMPARE(store.open(), StoreProblem::None);
        const std::vector<RunRecord> newer(runs.begin() + (version < currentSchemaVersion() ? 60 : 0), runs.end());
        QCOMPARE(store.insertAll(newer), StoreProblem::None);
        const std::vector<RunRecord> kept = store.allRuns();
        QCOMPARE(kept.size(), runs.size());
        compareSummaries(store.summary(), foldedSummary(kept));
    }

    void aRunWaitingJoinsTheStoredFigures()
    {
        // State: twelve drills of 10 points stored, on two days, each missing E twice and R once.
        RecordsSummary summary;
        for (int i = 0; i < 12; ++i)
            addRun(summary, drillRun(10, QStringLiteral("2024-05-0%1T10:%2:00").arg(1 + i / 6).arg(i, 2, 10, QChar('0'))),
                   {});
        // Action: a later run of 4 points missing Q 30 times, and one cut short at 50.
        RunRecord later = drillRun(4, QStringLiteral("2024-05-02T11:00:00"));
        later.missedKeys = {{QStringLiteral("Q"), 30}};
        addRun(summary, later, {});
        RunRecord cut = drillRun(50, QStringLiteral("2024-05-03T08:00:00"));
        cut.cutShort = true;
        addRun(summary, cut, {});
        // Expected: both counted and newest first in ten rows; the best and
        // the days untouched by the run cut short; Q now missed most.
        const ModeSummary &mode = summary.modes.at(0);
        QCOMPARE(mode.runCount, 14);
        QCOMPARE(mode.best.value_or(-1), 10);
        QCOMPARE(mode.lastRuns.size(), std::size_t(10));
        QCOMPARE(mode.lastRuns[0].score, 50);
        QCOMPARE(mode.lastRuns[1].score, 4);
        QCOMPARE(mode.days.size(), std::size_t(2));
        QCOMPARE(mode.days[1].runs, 7);
        QCOMPARE(mode.days[1].bestScore, 10);
        QCOMPARE(mode.weakKeys, (std::vector<std::pair<QString, int>>{{"Q", 30}, {"E", 26}, {"R", 13}}));
    }

    // Runs the database cannot take yet are in the window's figures and the
    // CSV, and once written they are there once.
    void runsWaitingAreShownOnce_data()
    {
        QTest::addColumn<QString>("setUp");
        QTest::addColumn<bool>("lifted");
        QTest::newRow("another copy writing") << "writing" << true;
        QTest::newRow("read-only folder") << "readonly" << false;
    }
    void runsWaitingAreShownOnce()
    {
        QFETCH(QString, setUp);
        QFETCH(bool, lifted);
        std::unique_ptr<HeldLock> lock;
        prepare(setUp, lock); // 200 runs stored
        RecordKeeper keeper(m_path, {});
        keeper.runFinished(drillRun(250, QStringLiteral("2024-06-01T10:00:00")));
        keeper.runFinished(drillRun(251, QStringLiteral("2024-06-01T10:05:00")));
        QCOMPARE(summaryOf(keeper).runCount, 202);
        QCOMPARE(summaryOf(keeper).lastRuns.at(0).score, 251);
        QCOMPARE(summaryOf(keeper).best.value_or(-1), 251);
        QCOMPARE(csvLinesOf(keeper), 1 + 202);
        QCOMPARE(rowsIn(m_path), 200);
        if (!lifted)
            return;
        lock.reset();
        QTRY_COMPARE_WITH_TIMEOUT(rowsIn(m_path), 202, 15000);
        QCOMPARE(summaryOf(keeper).runCount, 202);
        QCOMPARE(csvLinesOf(keeper), 1 + 202);
    }

    void erasingForgetsEveryRunAndKeyMissed()
    {
        RecordStore store(m_path, QStringLiteral("erase"));
        QCOMPARE(store.open(), StoreProblem::None);
        QCOMPARE(store.insertAll(variedRuns()), StoreProblem::None);
        QCOMPARE(store.eraseAll(), StoreProblem::None);
        QVERIFY(store.allRuns().empty());
        QVERIFY(store.summary().modes.empty());
        RunRecord next = drillRun(3);
        next.missedKeys = {{QStringLiteral("Q"), 1}};
        QCOMPARE(store.insert(next), StoreProblem::None);
        QCOMPARE(store.summary().modes.at(0).weakKeys, (std::vector<std::pair<QString, int>>{{"Q", 1}}));
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
        RecordStore store(m_path, QStringLiteral("bad"));
        // Some problems show at opening, the others at the first write.
        StoreProblem got = store.open();
        if (got == StoreProblem::None)
            got = store.insert(drillRun(1));
        QCOMPARE(got, problem);
        QCOMPARE(!store.asidePath().isEmpty() && QFile::exists(store.asidePath()), movedAside);
        // Moved aside, the fresh file takes runs at once.
        if (movedAside)
            QCOMPARE(store.insert(drillRun(1)), StoreProblem::None);
    }

    // What the voice says of each finished run, in the order a child plays them.
    void theKeeperComparesFinishedRunsOnly_data()
    {
        QTest::addColumn<QStringList>("steps"); // a score, "cut" for a run cut short, "erase"
        QTest::addColumn<QStringList>("said");
        QTest::newRow("a run cut short is not compared, nor compared with")
            << QStringList{"5", "cut:50", "7"} << QStringList{"はじめての きろく だよ", "", "さいこう きろく！ まえより ２てん あがったよ"};
        QTest::newRow("after erasing, the first again")
            << QStringList{"5", "erase", "3"} << QStringList{"はじめての きろく だよ", "", "はじめての きろく だよ"};
    }
    void theKeeperComparesFinishedRunsOnly()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, said);
        RecordKeeper keeper(m_path, {});
        QStringList heard;
        int minute = 0;
        for (const QString &step : steps) {
            if (step == QLatin1String("erase")) {
                std::optional<bool> erased;
                keeper.eraseAll([&erased](bool done) { erased = done; });
                QTRY_VERIFY_WITH_TIMEOUT(erased.has_value(), 10000);
                heard << QString();
                continue;
            }
            RunRecord run = drillRun(step.section(u':', -1).toInt(),
                                     QStringLiteral("2024-05-01T10:%1:00").arg(++minute, 2, 10, QLatin1Char('0')));
            run.cutShort = step.startsWith(QLatin1String("cut"));
            heard << keeper.runFinished(run);
        }
        QCOMPARE(heard, said);
    }

    void aProblemThatStaysIsToldOnce()
    {
        // A folder that can never be made: every run meets the same problem.
        std::vector<StoreProblem> told;
        RecordKeeper keeper(QStringLiteral("/dev/null/hoshinotamago/records.sqlite"),
                            [&told](StoreProblem p, const QString &) { told.push_back(p); });
        for (int score : {4, 5, 6})
            keeper.runFinished(drillRun(score));
        QCOMPARE(summaryOf(keeper).runCount, 3); // all three kept in memory
        QTest::qWait(200);
        QCOMPARE(told, std::vector<StoreProblem>{StoreProblem::ReadOnly});
    }

    void theKeeperHoldsARunUntilTheLockIsGone()
    {
        { RecordStore store(m_path, QStringLiteral("made")); QCOMPARE(store.open(), StoreProblem::None); }
        auto lock = std::make_unique<HeldLock>(m_path);
        std::vector<StoreProblem> told;
        RecordKeeper keeper(m_path, [&told](StoreProblem p, const QString &) { told.push_back(p); });
        keeper.runFinished(drillRun(4));
        keeper.runFinished(drillRun(5));
        QTRY_COMPARE(told.size(), std::size_t(1));
        QCOMPARE(told[0], StoreProblem::Locked);
        lock.reset();
        QTRY_COMPARE_WITH_TIMEOUT(rowsIn(m_path), 2, 15000);
        QCOMPARE(told.size(), std::size_t(1)); // said once
    }

    void aFullDiskIsToldAndTheRunKept()
    {
        const QString mount = smallDisk();
        if (mount.isEmpty())
            QSKIP("cannot mount a small tmpfs here (needs root)");
        const QString path = mount + QStringLiteral("/records.sqlite");
        {
        RecordStore store(path, QStringLiteral("full"));
        QCOMPARE(store.open(), StoreProblem::None);
        QFile filler(mount + QStringLiteral("/filler"));
        QVERIFY(filler.open(QIODevice::WriteOnly));
        while (filler.write(QByteArray(4096, 'x')) > 0 && filler.flush()) {
        }
        filler.close();
        StoreProblem problem = StoreProblem::None;
        for (int i = 0; i < 200 && problem == StoreProblem::None; ++i)
            problem = store.insert(drillRun(i));
        QCOMPARE(problem, StoreProblem::Full);
        QFile::remove(filler.fileName());
        QCOMPARE(store.insert(drillRun(99)), StoreProblem::None);
        }
    }

    void cleanup()
    {
        for (const QString &mount : std::exchange(m_mounts, {}))
            QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), mount});
    }

    void csvReadsBackEveryField()
    {
        RunRecord typing;
        typing.mode = QStringLiteral("frmJapanese");
        typing.started = QDateTime::fromString(QStringLiteral("2024-05-02T09:30:00"), Qt::ISODate);
        typing.practiceFile = QStringLiteral("あいう, \"えお\".txt");
        typing.charsPerMinute = 42.5;
        typing.accuracy = 0.75;
        const QByteArray csv = runsAsCsv({drillRun(6), typing});
        const QStringList lines = QString::fromUtf8(csv).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        QCOMPARE(csvFields(lines[0]), csvHeader());
        const QStringList drill = csvFields(lines[1]);
        QCOMPARE(drill[csvHeader().indexOf("score")], QStringLiteral("6"));
        QCOMPARE(drill[csvHeader().indexOf("missed_keys")], QStringLiteral("E=2 R=1"));
        const QStringList line = csvFields(lines[2]);
        QCOMPARE(line.size(), csvHeader().size());
        QCOMPARE(line[csvHeader().indexOf("practice_file")], typing.practiceFile);
        QCOMPARE(line[csvHeader().indexOf("chars_per_minute")], QStringLiteral("42.5"));
        // A line break in a file name (Linux allows it) is quoted, or a spreadsheet starts a new run there.
        typing.practiceFile = QStringLiteral("ふたつの\nぎょう.txt");
        QVERIFY(runsAsCsv({typing}).contains("\"ふたつの\nぎょう.txt\""));
    }

    void theStandingIsSaidShortly_data()
    {
        QTest::addColumn<QList<int>>("before");
        QTest::addColumn<int>("score");
        QTest::addColumn<QString>("japanese");
        QTest::addColumn<QString>("english");
        QTest::newRow("first") << QList<int>{} << 5 << "はじめての きろく だよ" << "Your first record!";
        QTest::newRow("best ever") << QList<int>{3, 8} << 10 << "さいこう きろく！ まえより ２てん あがったよ"
                                   << "Your best ever! 2 points more than last time.";
        QTest::newRow("down") << QList<int>{9, 6} << 1 << "まえより ５てん さがったよ" << "5 points fewer than last time.";
        QTest::newRow("same") << QList<int>{4} << 4 << "まえと おなじ てんすう だよ" << "The same as last time.";
        QTest::newRow("one point") << QList<int>{3, 9} << 8 << "まえより １てん さがったよ" << "1 point fewer than last time.";
    }
    void theStandingIsSaidShortly()
    {
        QFETCH(QList<int>, before);
        QFETCH(int, score);
        QFETCH(QString, japanese);
        QFETCH(QString, english);
        RunHistory history;
        for (int earlier : before)
            history.add(QStringLiteral("frmYubiren2"), QDate(2024, 4, 30), earlier);
        const RunStanding standing = history.standing(drillRun(score));
        QCOMPARE(standingPhrase(standing, RunLanguage::Japanese), japanese);
        QCOMPARE(standingPhrase(standing, RunLanguage::English), english);
    }

    void bestTodayCountsOnlyThatDay()
    {
        RunHistory history;
        history.add(QStringLiteral("frmYubiren2"), QDate(2024, 4, 30), 20);
        history.add(QStringLiteral("frmYubiren2"), QDate(2024, 5, 1), 3);
        const RunStanding standing = history.standing(drillRun(6));
        QVERIFY(standing.bestToday);
        QVERIFY(!standing.bestEver);
    }

private:
    void prepare(const QString &setUp, std::unique_ptr<HeldLock> &lock)
    {
        if (setUp == QLatin1String("garbage")) {
            QFile file(m_path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(8192, '\x5a'));
            return;
        }
        {
            RecordStore store(m_path, QStringLiteral("setup"));
            QCOMPARE(store.open(), StoreProblem::None);
            for (int i = 0; i < 200; ++i)
                store.insert(drillRun(i));
            if (setUp == QLatin1String("newer"))
                QSqlQuery(QSqlDatabase::database(QStringLiteral("setup")))
                    .exec(QStringLiteral("PRAGMA user_version = %1").arg(currentSchemaVersion() + 1));
        }
        if (setUp == QLatin1String("truncated")) {
            QFile file(m_path);
            QVERIFY(file.resize(file.size() / 3));
        } else if (setUp == QLatin1String("readonly")) {
            // Root writes whatever its modes say: there, a read-only file system.
            QFile::setPermissions(m_path, QFile::ReadOwner | QFile::ReadUser);
            QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::ExeOwner);
            if (::geteuid() == 0)
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
        QFile csv(file);
        if (!written.value_or(false) || !csv.open(QIODevice::ReadOnly))
            return -1;
        return int(csv.readAll().count("\r\n"));
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
