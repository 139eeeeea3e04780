// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/record_store.h"

#include <QObject>

#include <functional>
#include <memory>

class QTimer;

namespace hoshi {

/// What the store's thread hands back to the user-interface thread.
struct WorkerReplies {
    std::function<void(const RunHistory &)> historyLoaded;
    std::function<void(StoreProblem, const QString &path)> problem;
};

/// Lives on the store's own thread: keeps the runs handed to it in memory
/// until the database takes them, trying again every few seconds while it
/// cannot (locked, read-only, full, newer). Every reply is queued to `ui`.
class RecordWorker final : public QObject {
public:
    RecordWorker(QString path, WorkerReplies replies, QObject *ui);
    ~RecordWorker() override;

    void start();
    void keep(const RunRecord &run);
    void summary(const std::function<void(const RecordsSummary &)> &done);
    void eraseAll(const std::function<void(bool)> &done);
    /// Writes every run as CSV to `file`; done(true) when it was written.
    void exportCsv(const QString &file, const std::function<void(bool)> &done);
    /// Runs not written yet.
    std::size_t pending() const { return m_pending.size(); }

private:
    bool ensureOpen();
    void flush();
    void report(StoreProblem problem);
    template <typename F> void reply(F &&f);

    RecordStore m_store;
    WorkerReplies m_replies;
    QObject *m_ui;
    std::vector<RunRecord> m_pending;
    QTimer *m_retry = nullptr;
};

} // namespace hoshi
