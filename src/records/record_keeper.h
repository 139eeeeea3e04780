// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/api/run_records.h"
#include "records/records_summary.h"
#include "records/run_history.h"
#include "records/store_problem.h"

#include <QObject>
#include <QThread>

#include <functional>

namespace hoshi {

class RecordWorker;

/// The program's records on the user-interface thread. A finished run is
/// compared with the runs before it in memory and handed to the store's own
/// thread, queued; the UI thread never waits for the database. The first
/// problem the database has is told once through `onProblem`.
class RecordKeeper final : public RunRecorder {
public:
    using ProblemListener = std::function<void(StoreProblem, const QString &asidePath)>;

    RecordKeeper(const QString &path, ProblemListener onProblem);
    ~RecordKeeper() override;

    /// Starts the store's thread: it opens the database and reads the history.
    void start();
    QString runFinished(const RunRecord &run) override;
    /// The records window's figures, answered later on this thread.
    void requestSummary(std::function<void(const RecordsSummary &)> done);
    void eraseAll(std::function<void(bool erased)> done);
    void exportCsv(const QString &file, std::function<void(bool written)> done);

    /// `$XDG_DATA_HOME/hoshinotamago/records.sqlite`.
    static QString defaultPath();

private:
    void problem(StoreProblem problem, const QString &asidePath);
    template <typename F> void post(F &&f);

    QObject m_context; // lives on the UI thread: receives the store's replies
    QThread m_thread;
    RecordWorker *m_worker;
    RunHistory m_history;
    ProblemListener m_onProblem;
    bool m_told = false;
    bool m_started = false;
};

} // namespace hoshi
