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

// A second connection that holds the write lock until it is destroyed.
struct HeldLock {
    explicit HeldLock(const QString &path)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("lock"));
        db.setDatabaseName(path);
        db.open();
        QSqlQuery(db).exec(QStringLiteral("BEGIN EXCLUSIVE"));
    }
    ~HeldLock()
    {
        QSqlDatabase::database(QStringLiteral("lock")).close();
        QSqlDatabase::removeDatabase(QStringLiteral("lock"));
    }
};

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

    void eachOlderVersionIsMigratedKeepingItsRuns_data()
    {
        QTest::addColumn<int>("version");
        for (int v = 1; v < currentSchemaVersion(); ++v)
            QTest::addRow("from %d", v) << v;
    }
    void eachOlderVersionIsMigratedKeepingItsRuns()
    {
        QFETCH(int, version);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("old"));
            db.setDatabaseName(m_path);
            QVERIFY(db.open());
            QVERIFY(migrateTo(db, version));
            QVERIFY(QSqlQuery(db).exec(QStringLiteral("INSERT INTO runs (mode, started, seconds, hits, misses, score)"
                                                      " VALUES ('frmYubiren3', '2024-01-02T03:04:05', 60, 9, 2, 7)")));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("old"));
        RecordStore store(m_path, QStringLiteral("migrated"));
        QCOMPARE(store.open(), StoreProblem::None);
        QCOMPARE(store.insert(drillRun(3)), StoreProblem::None);
        const std::vector<RunRecord> runs = store.allRuns();
        QCOMPARE(runs.size(), std::size_t(2));
        QCOMPARE(runs[0].mode, QStringLiteral("frmYubiren3"));
        QCOMPARE(runs[0].score, 7);
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
        }
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
    QString m_path;
    int m_n = 0;
};

QTEST_GUILESS_MAIN(TestRecordStore)
#include "test_record_store.moc"
