#include "platform/voice_router.h"

namespace hoshi {

VoiceRouter::VoiceRouter(VoiceChoice choice, VoiceOutput &builtIn, VoiceOutput &screenReader)
    : m_choice(choice)
    , m_builtIn(builtIn)
    , m_notifier(screenReader)
{
}

void VoiceRouter::say(const QString &text, Turn turn)
{
    if (m_choice == VoiceChoice::Always || (m_choice == VoiceChoice::Auto && !m_screenReader))
        m_builtIn.say(text, turn);
    else if (m_screenReader)
        m_notifier.say(text, turn);
}

} // namespace hoshi
