// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/media/tts_speaker.h"

#include <utility>

namespace hoshi {

TtsSpeaker::TtsSpeaker(std::unique_ptr<SpeechEngine> engine)
    : m_engine(std::move(engine))
{
    m_engine->setStateListener([this](SpeechEngine::State state) { engineStateChanged(state); });
}

TtsSpeaker::~TtsSpeaker()
{
    // The engine may report a last state while it is torn down.
    m_engine->setStateListener({});
}

void TtsSpeaker::speak(const QString &text)
{
    // Engines report nothing for a blank text, which would hold the queue up.
    if (text.trimmed().isEmpty() || m_engine->state() == SpeechEngine::State::Error)
        return;
    m_pending.push_back(text);
    sayNext();
}

void TtsSpeaker::engineStateChanged(SpeechEngine::State state)
{
    switch (state) {
    case SpeechEngine::State::Speaking:
        m_heardSpeaking = m_awaitingEnd;
        break;
    case SpeechEngine::State::Ready:
        // A Ready before our text started is stale (the engine settling down).
        if (m_awaitingEnd && !m_heardSpeaking)
            break;
        m_awaitingEnd = false;
        sayNext();
        break;
    case SpeechEngine::State::Error:
        m_pending.clear();
        m_awaitingEnd = false;
        m_heardSpeaking = false;
        break;
    case SpeechEngine::State::Paused:
        break;
    }
}

void TtsSpeaker::sayNext()
{
    if (m_handingOver)
        return;
    m_handingOver = true;
    // A loop rather than recursion: an engine may finish a text inside say().
    while (!m_awaitingEnd && !m_pending.empty() && m_engine->state() == SpeechEngine::State::Ready) {
        const QString text = std::move(m_pending.front());
        m_pending.pop_front();
        m_awaitingEnd = true;
        m_heardSpeaking = false;
        m_engine->say(text);
    }
    m_handingOver = false;
}

} // namespace hoshi
