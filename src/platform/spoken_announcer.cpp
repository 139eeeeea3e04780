#include "platform/spoken_announcer.h"

namespace hoshi {

SpokenAnnouncer::SpokenAnnouncer(Announcer &clipboard, VoiceOutput &voice)
    : m_clipboard(clipboard)
    , m_voice(voice)
{
}

void SpokenAnnouncer::announce(const QString &text)
{
    m_clipboard.announce(text);
    m_voice.say(text, nextTurn());
}

void SpokenAnnouncer::hint(const QString &text)
{
    m_voice.say(text, nextTurn());
}

VoiceOutput::Turn SpokenAnnouncer::nextTurn()
{
    if (m_eventOpen)
        return VoiceOutput::Turn::SameEvent;
    m_eventOpen = true;
    // The event ends when the event loop runs again.
    QMetaObject::invokeMethod(&m_context, [this] { m_eventOpen = false; }, Qt::QueuedConnection);
    return VoiceOutput::Turn::NewEvent;
}

} // namespace hoshi
