// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/speech/voice_router.h"

#include <utility>

namespace hoshi {

VoiceRouter::VoiceRouter(VoiceChoice choice, VoiceOutput &builtIn, VoiceOutput &screenReader)
    : m_choice(choice)
    , m_builtIn(builtIn)
    , m_notifier(screenReader)
    , m_known(choice == VoiceChoice::Always) // --voice speaks whatever the answer
{
}

void VoiceRouter::setScreenReaderRunning(bool running)
{
    m_screenReader = running;
    m_known = true;
    const std::vector<Held> held = std::exchange(m_held, {});
    for (const Held &text : held)
        route(text.text, text.turn);
}

void VoiceRouter::say(const QString &text, Turn turn)
{
    if (!m_known) {
        if (turn == Turn::NewEvent)
            m_held.clear();
        m_held.push_back({text, turn});
        return;
    }
    route(text, turn);
}

void VoiceRouter::route(const QString &text, Turn turn)
{
    if (m_choice == VoiceChoice::Always || (m_choice == VoiceChoice::Auto && !m_screenReader))
        m_builtIn.say(text, turn);
    else if (m_screenReader)
        m_notifier.say(text, turn);
}

} // namespace hoshi
