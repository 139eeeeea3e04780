// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/record_store.h"

#include "records/record_schema.h"
#include "records/sql_errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QVariant>

namespace hoshi {

namespace {

const QString TimeFormat = QStringLiteral("yyyy-MM-ddTHH:mm:ss");

QSqlDatabase database(const QString &connection)
{
    return QSqlDatabase::database(connection, false);
}

StoreProblem run(QSqlQuery &query)
{
    return query.exec() ? StoreProblem::None : problemOf(query.lastError());
}

// The two inserts of a run, prepared once for a whole batch.
struct RunInserts {
    explicit RunInserts(const QSqlDatabase &db)
        : runs(db)
        , keys(db)
    {
        runs.prepare(QStringLiteral(
            "INSERT INTO runs (mode, started, seconds, hits, misses, score, cut_short, characters, lines_right,"
            " lines_wrong, chars_per_minute, accuracy, practice_file) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)"));
        keys.prepare(QStringLiteral("INSERT INTO missed_keys (run_id, key, count) VALUES (?, ?, ?)"));
    }

    StoreProblem insert(const RunRecord &r)
    {
        for (const QVariant &value :
             {QVariant(r.mode), QVariant(r.started.toString(TimeFormat)), QVariant(r.seconds), QVariant(r.hits),
              QVariant(r.misses), QVariant(r.score), QVariant(int(r.cutShort)), QVariant(r.characters),
              QVariant(r.linesRight), QVariant(r.linesWrong), QVariant(r.charsPerMinute), QVariant(r.accuracy),
              QVariant(r.practiceFile.isNull() ? QStringLiteral("") : r.practiceFile)})
            runs.addBindValue(value);
        if (const StoreProblem problem = run(runs); problem != StoreProblem::None)
            return problem;
        const qint64 runId = runs.lastInsertId().toLongLong();
        for (const auto &[key, count] : r.missedKeys) {
            keys.addBindValue(runId);
            keys.addBindValue(key);
            keys.addBindValue(count);
            if (const StoreProblem problem = run(keys); problem != StoreProblem::None)
                return problem;
        }
        return StoreProblem::None;
    }

    QSqlQuery runs;
    QSqlQuery keys;
};

RunRecord runFrom(const QSqlQuery &q)
{
    RunRecord r;
    r.mode = q.value(1).toString();
    r.started = QDateTime::fromString(q.value(2).toString(), TimeFormat);
    r.seconds = q.value(3).toInt();
    r.hits = q.value(4).toInt();
    r.misses = q.value(5).toInt();
    r.score = q.value(6).toInt();
    r.cutShort = q.value(7).toBool();
    r.characters = q.value(8).toInt();
    r.linesRight = q.value(9).toInt();
    r.linesWrong = q.value(10).toInt();
    r.charsPerMinute = q.value(11).toDouble();
    r.accuracy = q.value(12).toDouble();
    r.practiceFile = q.value(13).toString();
    return r;
}

} // namespace

RecordStore::RecordStore(QString path, QString connection)
    : m_path(std::move(path))
    , m_connection(std::move(connection))
{
}

RecordStore::~RecordStore()
{
    close();
}

void RecordStore::close()
{
    if (QSqlDatabase::contains(m_connection)) {
        database(m_connection).close();
        QSqlDatabase::removeDatabase(m_connection);
    }
    m_open = false;
}

StoreProblem RecordStore::connect(bool create)
{
    close();
    if (!create && !QFileInfo::exists(m_path))
        return StoreProblem::None;
    if (create && !QDir().mkpath(QFileInfo(m_path).absolutePath()))
        return StoreProblem::ReadOnly;
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(m_path);
    // Another copy's write holds the file for a moment: wait that long, on this thread.
    db.setConnectOptions(create ? QStringLiteral("QSQLITE_BUSY_TIMEOUT=250")
                                : QStringLiteral("QSQLITE_BUSY_TIMEOUT=250;QSQLITE_OPEN_READONLY"));
    if (!db.open())
        return problemOf(db.lastError()) == StoreProblem::None ? StoreProblem::Failed : problemOf(db.lastError());
    QSqlQuery(db).exec(QStringLiteral("PRAGMA foreign_keys = ON"));
    return StoreProblem::None;
}

// A file that is no database, or a damaged one, answers here.
StoreProblem RecordStore::check()
{
    QSqlDatabase db = database(m_connection);
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA quick_check")))
        return problemOf(query.lastError());
    if (query.next() && query.value(0).toString() != QLatin1String("ok"))
        return StoreProblem::Corrupt;
    return StoreProblem::None;
}

StoreProblem RecordStore::moveAside()
{
    close();
    m_asidePath = m_path + QStringLiteral(".broken-") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    if (!QFile::rename(m_path, m_asidePath))
        return StoreProblem::ReadOnly;
    QFile::rename(m_path + QStringLiteral("-journal"), m_asidePath + QStringLiteral("-journal"));
    return StoreProblem::None;
}

StoreProblem RecordStore::open()
{
    StoreProblem problem = connect(true);
    if (problem == StoreProblem::None)
        problem = check();
    bool movedAside = false;
    if (problem == StoreProblem::Corrupt) {
        if (const StoreProblem moved = moveAside(); moved != StoreProblem::None)
            return moved;
        movedAside = true;
        problem = connect(true);
    }
    if (problem == StoreProblem::None) {
        QSqlDatabase db = database(m_connection);
        problem = migrateSchema(db);
    }
    m_open = problem == StoreProblem::None;
    if (!m_open)
        close();
    return m_open && movedAside ? StoreProblem::Corrupt : problem;
}

StoreProblem RecordStore::openToRead()
{
    StoreProblem problem = connect(false);
    if (problem == StoreProblem::None && QSqlDatabase::contains(m_connection))
        problem = check();
    m_open = problem == StoreProblem::None && QSqlDatabase::contains(m_connection);
    return problem;
}

StoreProblem RecordStore::insert(const RunRecord &record)
{
    return insertAll({record});
}

StoreProblem RecordStore::insertAll(const std::vector<RunRecord> &records)
{
    QSqlDatabase db = database(m_connection);
    if (!m_open)
        return StoreProblem::Failed;
    if (!db.transaction())
        return problemOf(db.lastError());
    StoreProblem problem = StoreProblem::None;
    RunInserts inserts(db);
    for (auto record = records.begin(); record != records.end() && problem == StoreProblem::None; ++record)
        problem = inserts.insert(*record);
    if (problem == StoreProblem::None && !db.commit())
        problem = problemOf(db.lastError());
    if (problem != StoreProblem::None)
        db.rollback();
    return problem;
}

StoreProblem RecordStore::eraseAll()
{
    QSqlDatabase db = database(m_connection);
    QSqlQuery query(db);
    if (!m_open)
        return StoreProblem::Failed;
    if (!db.transaction())
        return problemOf(db.lastError());
    for (const QString &table : {QStringLiteral("missed_keys"), QStringLiteral("runs"), QStringLiteral("missed_totals")}) {
        if (!query.exec(QStringLiteral("DELETE FROM ") + table)) {
            const StoreProblem problem = problemOf(query.lastError());
            db.rollback();
            return problem;
        }
    }
    if (!db.commit())
        return problemOf(db.lastError());
    query.exec(QStringLiteral("VACUUM"));
    return StoreProblem::None;
}

std::vector<RunRecord> RecordStore::allRuns(StoreProblem *problem)
{
    std::vector<RunRecord> runs;
    if (!m_open)
        return runs;
    QSqlDatabase db = database(m_connection);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    const bool read = query.exec(QStringLiteral(
        "SELECT id, mode, started, seconds, hits, misses, score, cut_short, characters, lines_right, lines_wrong,"
        " chars_per_minute, accuracy, practice_file FROM runs ORDER BY started, id"));
    if (problem)
        *problem = read ? StoreProblem::None : problemOf(query.lastError());
    std::map<qint64, std::size_t> byId;
    while (read && query.next()) {
        byId[query.value(0).toLongLong()] = runs.size();
        runs.push_back(runFrom(query));
    }
    QSqlQuery keys(db);
    keys.setForwardOnly(true);
    if (read && keys.exec(QStringLiteral("SELECT run_id, key, count FROM missed_keys"))) {
        while (keys.next()) {
            const auto found = byId.find(keys.value(0).toLongLong());
            if (found != byId.end())
                runs[found->second].missedKeys[keys.value(1).toString()] += keys.value(2).toInt();
        }
    }
    return runs;
}

RunHistory RecordStore::history()
{
    RunHistory history;
    if (!m_open)
        return history;
    QSqlQuery query(database(m_connection));
    query.setForwardOnly(true);
    // The last run, the best and the best of the last run's day, by mode.
    query.exec(QStringLiteral(
        "SELECT r.mode, substr(r.started, 1, 10), r.score, (SELECT MAX(score) FROM runs b WHERE b.mode = r.mode"
        " AND b.cut_short = 0), (SELECT MAX(score) FROM runs d WHERE d.mode = r.mode AND d.cut_short = 0"
        " AND d.started >= date(r.started) AND d.started < date(r.started, '+1 day')) FROM runs r WHERE r.id IN (SELECT"
        " (SELECT id FROM runs x WHERE x.mode = m.mode AND x.cut_short = 0 ORDER BY started DESC, id DESC LIMIT 1)"
        " FROM (SELECT DISTINCT mode FROM runs) m)"));
    while (query.next()) {
        const QString mode = query.value(0).toString();
        const QDate day = QDate::fromString(query.value(1).toString(), Qt::ISODate);
        // Best of all, then best of that day, then the last: add() keeps the
        // last added as the last score and the maxima.
        RunHistory one;
        one.add(mode, QDate(), query.value(3).toInt());
        one.add(mode, day, query.value(4).toInt());
        one.add(mode, day, query.value(2).toInt());
        history.mergeEarlier(one);
    }
    return history;
}

} // namespace hoshi
