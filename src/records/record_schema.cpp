// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/record_schema.h"

#include "records/sql_errors.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>

#include <vector>

namespace hoshi {

namespace {

// One entry a version: what takes a database from the version before to it.
const std::vector<QStringList> &migrations()
{
    static const std::vector<QStringList> steps{
        // 1: runs of every mode, with the keys missed in a table beside them.
        {QStringLiteral("CREATE TABLE runs (id INTEGER PRIMARY KEY, mode TEXT NOT NULL, started TEXT NOT NULL,"
                        " seconds INTEGER NOT NULL, hits INTEGER NOT NULL, misses INTEGER NOT NULL,"
                        " score INTEGER NOT NULL, cut_short INTEGER NOT NULL DEFAULT 0)"),
         QStringLiteral("CREATE TABLE missed_keys (run_id INTEGER NOT NULL REFERENCES runs(id) ON DELETE CASCADE,"
                        " key TEXT NOT NULL, count INTEGER NOT NULL)"),
         QStringLiteral("CREATE INDEX runs_by_mode ON runs(mode, started)")},
        // 2: what the typing windows measure, and the keys found by run.
        {QStringLiteral("ALTER TABLE runs ADD COLUMN characters INTEGER NOT NULL DEFAULT 0"),
         QStringLiteral("ALTER TABLE runs ADD COLUMN lines_right INTEGER NOT NULL DEFAULT 0"),
         QStringLiteral("ALTER TABLE runs ADD COLUMN lines_wrong INTEGER NOT NULL DEFAULT 0"),
         QStringLiteral("ALTER TABLE runs ADD COLUMN chars_per_minute REAL NOT NULL DEFAULT 0"),
         QStringLiteral("ALTER TABLE runs ADD COLUMN accuracy REAL NOT NULL DEFAULT 0"),
         QStringLiteral("ALTER TABLE runs ADD COLUMN practice_file TEXT NOT NULL DEFAULT ''"),
         QStringLiteral("CREATE INDEX missed_keys_by_run ON missed_keys(run_id)")},
        // 3: what the records window reads kept small however many runs there
        // are: the best by index, and each mode's keys missed summed as runs come.
        {QStringLiteral("CREATE INDEX runs_best ON runs(mode, cut_short, score)"),
         QStringLiteral("CREATE TABLE missed_totals (mode TEXT NOT NULL, key TEXT NOT NULL, count INTEGER NOT NULL,"
                        " PRIMARY KEY (mode, key)) WITHOUT ROWID"),
         QStringLiteral("INSERT INTO missed_totals SELECT r.mode, k.key, SUM(k.count) FROM missed_keys k"
                        " JOIN runs r ON k.run_id = r.id GROUP BY r.mode, k.key"),
         QStringLiteral("CREATE TRIGGER missed_totals_add AFTER INSERT ON missed_keys BEGIN"
                        " INSERT INTO missed_totals (mode, key, count) SELECT mode, NEW.key, NEW.count FROM runs"
                        " WHERE id = NEW.run_id ON CONFLICT (mode, key) DO UPDATE SET count = count + excluded.count;"
                        " END")},
    };
    return steps;
}

int schemaVersion(QSqlDatabase &db, StoreProblem &problem)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next()) {
        problem = problemOf(query.lastError());
        return -1;
    }
    return query.value(0).toInt();
}

StoreProblem step(QSqlDatabase &db, int version)
{
    if (!db.transaction())
        return problemOf(db.lastError());
    QSqlQuery query(db);
    QStringList statements = migrations()[static_cast<std::size_t>(version - 1)];
    statements << QStringLiteral("PRAGMA user_version = %1").arg(version);
    for (const QString &statement : statements) {
        if (!query.exec(statement)) {
            const StoreProblem problem = problemOf(query.lastError());
            db.rollback();
            return problem;
        }
    }
    return db.commit() ? StoreProblem::None : problemOf(db.lastError());
}

} // namespace

int currentSchemaVersion()
{
    return static_cast<int>(migrations().size());
}

bool migrateTo(QSqlDatabase &db, int version)
{
    StoreProblem problem = StoreProblem::None;
    for (int next = schemaVersion(db, problem) + 1; next <= version && problem == StoreProblem::None; ++next)
        problem = step(db, next);
    return problem == StoreProblem::None;
}

StoreProblem migrateSchema(QSqlDatabase &db)
{
    StoreProblem problem = StoreProblem::None;
    const int version = schemaVersion(db, problem);
    if (problem != StoreProblem::None)
        return problem;
    if (version > currentSchemaVersion())
        return StoreProblem::Newer;
    for (int next = version + 1; next <= currentSchemaVersion(); ++next) {
        problem = step(db, next);
        if (problem != StoreProblem::None)
            return problem;
    }
    return StoreProblem::None;
}

} // namespace hoshi
