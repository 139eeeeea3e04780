// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/record_worker.h"

#include "records/records_csv.h"

#include <QSaveFile>
#include <QThread>
#include <QTimer>

#include <algorithm>

namespace hoshi {

namespace {

constexpr int RetryMs = 5000;

QString uniqueConnection()
{
    static std::atomic<int> next{0};
    return QStringLiteral("hoshinotamago-records-%1").arg(next++);
}

} // namespace

RecordWorker::RecordWorker(QString path, WorkerReplies replies, QObject *ui)
    : m_store(std::move(path), uniqueConnection())
    , m_replies(std::move(replies))
    , m_ui(ui)
{
}

RecordWorker::~RecordWorker() = default;

template <typename F> void RecordWorker::reply(F &&f)
{
    QMetaObject::invokeMethod(m_ui, std::forward<F>(f), Qt::QueuedConnection);
}

void RecordWorker::start()
{
    m_retry = new QTimer(this);
    m_retry->setSingleShot(true);
    m_retry->setInterval(RetryMs);
    QObject::connect(m_retry, &QTimer::timeout, this, &RecordWorker::flush);
    if (!ensureOpen())
        return;
    if (m_replies.historyLoaded)
        reply([done = m_replies.historyLoaded, history = m_store.history()] { done(history); });
}

bool RecordWorker::ensureOpen()
{
    if (m_store.isOpen())
        return true;
    const StoreProblem problem = m_store.open();
    if (problem != StoreProblem::None)
        report(problem);
    if (!m_store.isOpen() && m_retry)
        m_retry->start();
    return m_store.isOpen();
}

void RecordWorker::report(StoreProblem problem)
{
    if (m_replies.problem)
        reply([done = m_replies.problem, problem, path = m_store.asidePath()] { done(problem, path); });
}

void RecordWorker::keep(const RunRecord &run)
{
    m_pending.push_back(run);
    flush();
}

void RecordWorker::flush()
{
    if (!ensureOpen())
        return;
    if (m_pending.empty())
        return;
    // All that waited in one transaction: written together, or kept together.
    const StoreProblem problem = m_store.insertAll(m_pending);
    if (problem != StoreProblem::None) {
        report(problem);
        m_retry->start();
        return;
    }
    m_pending.clear();
}

// The runs still waiting are shown with the stored ones: a run is in one of
// the two, as both change on this thread only.
void RecordWorker::summary(const std::function<void(const RecordsSummary &)> &done)
{
    flush();
    const SummaryLimits limits;
    RecordsSummary result = m_store.isOpen() ? m_store.summary(limits) : RecordsSummary{};
    for (const RunRecord &run : m_pending)
        addRun(result, run, limits);
    reply([done, result = std::move(result)] { done(result); });
}

void RecordWorker::eraseAll(const std::function<void(bool)> &done)
{
    m_pending.clear();
    const bool erased = ensureOpen() && m_store.eraseAll() == StoreProblem::None;
    reply([done, erased] { done(erased); });
}

void RecordWorker::exportCsv(const QString &file, const std::function<void(bool)> &done)
{
    flush();
    StoreProblem problem = StoreProblem::None;
    std::vector<RunRecord> runs = ensureOpen() ? m_store.allRuns(&problem) : std::vector<RunRecord>{};
    // With the runs still waiting, as the window shows them.
    runs.insert(runs.end(), m_pending.begin(), m_pending.end());
    std::stable_sort(runs.begin(), runs.end(),
                     [](const RunRecord &a, const RunRecord &b) { return a.started < b.started; });
    QSaveFile out(file);
    const bool written = m_store.isOpen() && problem == StoreProblem::None && out.open(QIODevice::WriteOnly)
                         && out.write(runsAsCsv(runs)) >= 0 && out.commit();
    reply([done, written] { done(written); });
}

} // namespace hoshi
