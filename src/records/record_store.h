// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/api/run_records.h"
#include "records/records_summary.h"
#include "records/run_history.h"
#include "records/store_problem.h"

#include <QSqlDatabase>
#include <QString>

#include <vector>

namespace hoshi {

/// The records database itself, used from one thread only (the store's own
/// thread, or a command line export). Each call answers what went wrong, if
/// anything; nothing here waits longer than SQLite's short busy timeout.
class RecordStore {
public:
    /// `connection` names the Qt SQL connection, unique in the process.
    RecordStore(QString path, QString connection);
    ~RecordStore();
    RecordStore(const RecordStore &) = delete;
    RecordStore &operator=(const RecordStore &) = delete;

    /// Opens, checks and migrates. A corrupt file is moved aside (asidePath())
    /// and a fresh one started: then Corrupt, and the store is open.
    StoreProblem open();
    /// Opens an existing file to read it only; no file is made, none migrated.
    StoreProblem openToRead();
    bool isOpen() const { return m_open; }
    const QString &asidePath() const { return m_asidePath; }
    const QString &path() const { return m_path; }

    StoreProblem insert(const RunRecord &run);
    /// Every run or none, in one transaction.
    StoreProblem insertAll(const std::vector<RunRecord> &runs);
    StoreProblem eraseAll();
    /// Every run, oldest first.
    std::vector<RunRecord> allRuns(StoreProblem *problem = nullptr);
    RunHistory history();
    RecordsSummary summary(const SummaryLimits &limits = {});

private:
    StoreProblem connect(bool create);
    StoreProblem check();
    void close();
    StoreProblem moveAside();
    ModeSummary modeSummary(const QString &mode, const SummaryLimits &limits);
    std::vector<DayPoint> lastDays(const QString &mode, int days);

    QString m_path;
    QString m_connection;
    QString m_asidePath;
    bool m_open = false;
};

} // namespace hoshi
