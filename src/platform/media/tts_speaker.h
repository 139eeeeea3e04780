// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/api/interfaces.h"
#include "platform/media/speech_engine.h"

#include <QString>

#include <deque>
#include <memory>

namespace hoshi {

/// A voice that says its texts one after another, none cut short and in the
/// order given. The engine's say() interrupts, so texts wait here until the
/// engine reports that it went back to Ready after speaking. An engine in
/// Error drops what is waiting and what comes while it stays there.
class TtsSpeaker final : public Speaker {
public:
    explicit TtsSpeaker(std::unique_ptr<SpeechEngine> engine);
    ~TtsSpeaker() override;
    TtsSpeaker(const TtsSpeaker &) = delete;
    TtsSpeaker &operator=(const TtsSpeaker &) = delete;

    void speak(const QString &text) override;

    /// Texts waiting for the engine (not counting the one being said).
    std::size_t pendingCount() const { return m_pending.size(); }

private:
    void engineStateChanged(SpeechEngine::State state);
    void sayNext();

    std::unique_ptr<SpeechEngine> m_engine;
    std::deque<QString> m_pending;
    bool m_awaitingEnd = false;    // a text was handed over; its end is not reported yet
    bool m_heardSpeaking = false;  // the engine started on that text
    bool m_handingOver = false;    // inside sayNext(): a state report must not re-enter it
};

} // namespace hoshi
