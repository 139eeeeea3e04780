// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/record_keeper.h"

#include "records/record_worker.h"
#include "records/standing_phrase.h"

#include <QStandardPaths>

namespace hoshi {

RecordKeeper::RecordKeeper(const QString &path, ProblemListener onProblem)
    : m_onProblem(std::move(onProblem))
{
    m_thread.setObjectName(QStringLiteral("records"));
    WorkerReplies replies;
    replies.historyLoaded = [this](const RunHistory &earlier) { m_history.mergeEarlier(earlier); };
    replies.problem = [this](StoreProblem problem, const QString &aside) { this->problem(problem, aside); };
    m_worker = new RecordWorker(path, std::move(replies), &m_context);
    m_worker->moveToThread(&m_thread);
    QObject::connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
}

RecordKeeper::~RecordKeeper()
{
    if (!m_started) {
        delete m_worker;
        return;
    }
    m_thread.quit();
    m_thread.wait();
}

template <typename F> void RecordKeeper::post(F &&f)
{
    QMetaObject::invokeMethod(m_worker, std::forward<F>(f), Qt::QueuedConnection);
}

void RecordKeeper::start()
{
    if (std::exchange(m_started, true))
        return;
    m_thread.start(QThread::LowPriority);
    post([worker = m_worker] { worker->start(); });
}

QString RecordKeeper::runFinished(const RunRecord &run)
{
    start();
    post([worker = m_worker, run] { worker->keep(run); });
    if (run.cutShort)
        return {};
    const RunStanding standing = m_history.standing(run);
    m_history.add(run.mode, run.started.date(), run.score);
    return standingPhrase(standing, run.language);
}

void RecordKeeper::requestSummary(std::function<void(const RecordsSummary &)> done)
{
    start();
    post([worker = m_worker, done = std::move(done)] { worker->summary(done); });
}

void RecordKeeper::eraseAll(std::function<void(bool erased)> done)
{
    start();
    m_history = RunHistory{};
    post([worker = m_worker, done = std::move(done)] { worker->eraseAll(done); });
}

void RecordKeeper::exportCsv(const QString &file, std::function<void(bool written)> done)
{
    start();
    post([worker = m_worker, file, done = std::move(done)] { worker->exportCsv(file, done); });
}

void RecordKeeper::problem(StoreProblem problem, const QString &asidePath)
{
    if (std::exchange(m_told, true) || !m_onProblem)
        return;
    m_onProblem(problem, asidePath);
}

QString RecordKeeper::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QStringLiteral("/hoshinotamago/records.sqlite");
}

} // namespace hoshi
