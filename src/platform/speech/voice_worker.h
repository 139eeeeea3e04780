// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/speech/speech_service.h"
#include "platform/speech/voice_output.h"

#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace hoshi {

/// One text for the voice, numbered by the event it belongs to.
struct VoiceJob {
    QString text;
    VoiceOutput::Turn turn = VoiceOutput::Turn::NewEvent;
    quint64 event = 0;
};

/// What the voice's thread does with each text: turns it into its reading,
/// cuts short what an earlier event still says, and hands it to the speech
/// service. A service that is not there is tried again after a while; one
/// that dropped the connection is opened again at once.
class VoiceWorker {
public:
    using Clock = std::chrono::steady_clock;
    using ReadingOf = std::function<QString(const QString &)>;

    VoiceWorker(std::unique_ptr<SpeechService> service, ReadingOf readingOf,
                Clock::duration retryAfter = std::chrono::seconds(3));

    /// latestEvent is the newest event given to the voice so far: the texts
    /// of older events are not spoken any more.
    void handle(const VoiceJob &job, quint64 latestEvent);
    /// Connects ahead of the first text.
    void connect() { ensureOpen(); }
    /// The rate from the next text on, -100 to 100; none: the user's own,
    /// which only a new connection has again.
    void setRate(std::optional<int> rate);

private:
    bool ensureOpen();
    bool speak(const QString &reading, bool cancelFirst);
    void reconnectLater();

    std::unique_ptr<SpeechService> m_service;
    ReadingOf m_readingOf;
    Clock::duration m_retryAfter;
    bool m_open = false;
    std::optional<int> m_rate;
    quint64 m_lastEvent = 0;
    QString m_lastReading; // of the last text of m_lastEvent
    std::optional<Clock::time_point> m_lastFailure;
};

} // namespace hoshi
