// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/api/interfaces.h"
#include "platform/speech/event_turns.h"
#include "platform/speech/voice_output.h"

#include <QObject>

namespace hoshi {

/// Announces on the clipboard exactly as before and hands the same texts,
/// and the voice-only hints, to the voice. Texts given before control goes
/// back to the event loop belong to one event; a text that an event repeats
/// right away (the clipboard's way of making sure it is read) is heard once.
class SpokenAnnouncer final : public Announcer {
public:
    SpokenAnnouncer(Announcer &clipboard, VoiceOutput &voice);

    void announce(const QString &text) override;
    void hint(const QString &text) override;
    void announceUnheard(const QString &text) override { m_clipboard.announce(text); }
    void menuHint(const QString &text) override;

private:
    void sayOnce(const QString &text, bool toScreenReader = true);

    Announcer &m_clipboard;
    VoiceOutput &m_voice;
    EventTurns m_turns;
    QString m_lastSaid; // within the open event
};

} // namespace hoshi
