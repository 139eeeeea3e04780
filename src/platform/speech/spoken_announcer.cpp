// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/speech/spoken_announcer.h"

namespace hoshi {

SpokenAnnouncer::SpokenAnnouncer(Announcer &clipboard, VoiceOutput &voice)
    : m_clipboard(clipboard)
    , m_voice(voice)
{
}

void SpokenAnnouncer::announce(const QString &text)
{
    m_clipboard.announce(text);
    sayOnce(text);
}

void SpokenAnnouncer::hint(const QString &text)
{
    sayOnce(text);
}

void SpokenAnnouncer::menuHint(const QString &text)
{
    sayOnce(text, false);
}

void SpokenAnnouncer::sayOnce(const QString &text, bool toScreenReader)
{
    const auto say = [this, toScreenReader](const QString &said, VoiceOutput::Turn turn) {
        if (toScreenReader)
            m_voice.say(said, turn);
        else
            m_voice.sayUnlessScreenReader(said, turn);
    };
    if (m_eventOpen) {
        if (text != m_lastSaid)
            say(text, VoiceOutput::Turn::SameEvent);
        m_lastSaid = text;
        return;
    }
    m_eventOpen = true;
    m_lastSaid = text;
    // The event ends when the event loop runs again.
    QMetaObject::invokeMethod(&m_context, [this] { m_eventOpen = false; }, Qt::QueuedConnection);
    say(text, VoiceOutput::Turn::NewEvent);
}

} // namespace hoshi
