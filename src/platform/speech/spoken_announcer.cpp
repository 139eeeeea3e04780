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
    const VoiceOutput::Turn turn = m_turns.next();
    if (turn == VoiceOutput::Turn::NewEvent || text != m_lastSaid)
        say(text, turn);
    m_lastSaid = text;
}

} // namespace hoshi
