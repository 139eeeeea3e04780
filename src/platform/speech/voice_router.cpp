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
        route(text);
}

void VoiceRouter::setChoice(VoiceChoice choice)
{
    m_choice = choice;
    // Always speaks whatever the answer: nothing waits for it any more.
    if (choice == VoiceChoice::Always && !m_known)
        setScreenReaderRunning(m_screenReader);
}

void VoiceRouter::say(const QString &text, Turn turn)
{
    hold({text, turn, true});
}

void VoiceRouter::sayUnlessScreenReader(const QString &text, Turn turn)
{
    hold({text, turn, false});
}

void VoiceRouter::hold(const Held &text)
{
    if (m_known) {
        route(text);
        return;
    }
    if (text.turn == Turn::NewEvent)
        m_held.clear();
    m_held.push_back(text);
}

void VoiceRouter::route(const Held &text)
{
    if (m_choice == VoiceChoice::Always || (m_choice == VoiceChoice::Auto && !m_screenReader))
        m_builtIn.say(text.text, text.turn);
    else if (m_screenReader && text.toScreenReader)
        m_notifier.say(text.text, text.turn);
}

} // namespace hoshi
