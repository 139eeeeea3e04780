// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/speech/reading_voice.h"

#include <condition_variable>
#include <cstdio>
#include <optional>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>

namespace hoshi {

namespace {
// A speech service that hangs must not hold up the end of the program.
constexpr auto StopWait = std::chrono::milliseconds(250);
} // namespace

struct ReadingVoice::Shared {
    explicit Shared(std::unique_ptr<VoiceWorker> w) : worker(std::move(w)) {}

    // With the lock held, around each call that may wait on the service.
    void waitingOnService(bool waiting)
    {
        busySince = waiting ? std::optional(std::chrono::steady_clock::now()) : std::nullopt;
    }

    // Runs a call that may wait on the service without the lock.
    void onService(std::unique_lock<std::mutex> &lock, const std::function<void()> &call)
    {
        waitingOnService(true);
        lock.unlock();
        call();
        lock.lock();
        waitingOnService(false);
    }

    void run()
    {
        std::unique_lock lock(mutex);
        while (true) {
            wake.wait(lock, [this] { return stopping || !jobs.empty() || prepare || rateChanged; });
            if (stopping)
                break;
            // Before the texts that were given after it.
            if (std::exchange(rateChanged, false)) {
                const std::optional<int> wanted = rate;
                onService(lock, [this, wanted] { worker->setRate(wanted); });
                continue;
            }
            if (prepare) {
                onService(lock, [this, task = std::exchange(prepare, nullptr)] {
                    task();
                    worker->connect();
                });
                continue;
            }
            const VoiceJob job = std::move(jobs.front());
            jobs.pop_front();
            const quint64 latest = latestEvent;
            onService(lock, [this, &job, latest] { worker->handle(job, latest); });
        }
        finished = true;
        done.notify_all();
    }

    std::unique_ptr<VoiceWorker> worker;
    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable done;
    std::deque<VoiceJob> jobs;
    std::function<void()> prepare;
    quint64 latestEvent = 0;
    std::optional<int> rate;
    bool rateChanged = false;
    bool stopping = false;
    bool finished = false;
    std::optional<std::chrono::steady_clock::time_point> busySince;
    bool stuckReported = false;
};

ReadingVoice::ReadingVoice(std::unique_ptr<VoiceWorker> worker, std::chrono::milliseconds answerDeadline,
                           Report report)
    : m_shared(std::make_shared<Shared>(std::move(worker)))
    , m_answerDeadline(answerDeadline)
    , m_report(std::move(report))
{
    // The thread keeps the shared state alive if it has to be left behind.
    std::thread([shared = m_shared] { shared->run(); }).detach();
}

ReadingVoice::~ReadingVoice()
{
    std::unique_lock lock(m_shared->mutex);
    m_shared->stopping = true;
    m_shared->jobs.clear();
    m_shared->wake.notify_all();
    m_shared->done.wait_for(lock, StopWait, [this] { return m_shared->finished; });
}

void ReadingVoice::reportOnStandardError(const QString &message)
{
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

void ReadingVoice::say(const QString &text, Turn turn)
{
    bool stuck = false;
    {
        std::lock_guard lock(m_shared->mutex);
        const auto &since = m_shared->busySince;
        if (since && !m_shared->stuckReported && std::chrono::steady_clock::now() - *since > m_answerDeadline)
            stuck = m_shared->stuckReported = true;
        if (turn == Turn::NewEvent) {
            ++m_shared->latestEvent;
            m_shared->jobs.clear();
        }
        m_shared->jobs.push_back({text, turn, m_shared->latestEvent});
    }
    m_shared->wake.notify_one();
    if (stuck && m_report)
        m_report(QStringLiteral("hoshinotamago: the speech service does not answer; "
                                "nothing is spoken until it does"));
}

void ReadingVoice::setRate(std::optional<int> rate)
{
    {
        std::lock_guard lock(m_shared->mutex);
        m_shared->rate = rate;
        m_shared->rateChanged = true;
    }
    m_shared->wake.notify_one();
}

void ReadingVoice::warmUp(std::function<void()> prepare)
{
    {
        std::lock_guard lock(m_shared->mutex);
        m_shared->prepare = prepare ? std::move(prepare) : [] {};
    }
    m_shared->wake.notify_one();
}

} // namespace hoshi
