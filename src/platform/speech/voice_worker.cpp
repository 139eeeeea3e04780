// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/speech/voice_worker.h"

#include <utility>

namespace hoshi {

VoiceWorker::VoiceWorker(std::unique_ptr<SpeechService> service, ReadingOf readingOf,
                         Clock::duration retryAfter)
    : m_service(std::move(service))
    , m_readingOf(std::move(readingOf))
    , m_retryAfter(retryAfter)
{
}

void VoiceWorker::handle(const VoiceJob &job, quint64 latestEvent)
{
    if (job.event < latestEvent)
        return;
    const bool cancelFirst = job.turn == VoiceOutput::Turn::NewEvent;
    const QString reading = m_readingOf ? m_readingOf(job.text) : job.text;
    if (reading.trimmed().isEmpty() && !cancelFirst)
        return;
    // Two texts of one event that read the same (Ａ and エー) are heard once.
    if (!cancelFirst && job.event == m_lastEvent && reading == m_lastReading)
        return;
    m_lastEvent = job.event;
    m_lastReading = reading;
    if (!ensureOpen())
        return;
    if (speak(reading, cancelFirst))
        return;
    // The service went away (or restarted): one new connection, one more try.
    reconnectLater();
    if (ensureOpen())
        speak(reading, cancelFirst);
}

bool VoiceWorker::speak(const QString &reading, bool cancelFirst)
{
    if (cancelFirst && !m_service->cancel())
        return false;
    return reading.trimmed().isEmpty() || m_service->say(reading);
}

void VoiceWorker::setRate(std::optional<int> rate)
{
    const bool backToOwn = m_rate && !rate;
    m_rate = rate;
    if (!m_open)
        return;
    if (backToOwn || (rate && !m_service->setRate(*rate)))
        reconnectLater();
}

void VoiceWorker::reconnectLater()
{
    m_service->close();
    m_open = false;
    m_lastFailure.reset();
}

bool VoiceWorker::ensureOpen()
{
    if (m_open)
        return true;
    const auto now = Clock::now();
    if (m_lastFailure && now - *m_lastFailure < m_retryAfter)
        return false;
    m_open = m_service->open();
    // A rate the service does not take leaves its own: better heard than silent.
    if (m_open && m_rate)
        m_service->setRate(*m_rate);
    if (m_open)
        m_lastFailure.reset();
    else
        m_lastFailure = now;
    return m_open;
}

} // namespace hoshi
