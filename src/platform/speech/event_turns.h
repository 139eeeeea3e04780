// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/speech/voice_output.h"

#include <QMetaObject>
#include <QObject>

namespace hoshi {

/// Which turn a text takes: the first text given before control goes back
/// to the event loop opens a new event, the ones after it belong to it.
class EventTurns {
public:
    VoiceOutput::Turn next()
    {
        if (m_eventOpen)
            return VoiceOutput::Turn::SameEvent;
        m_eventOpen = true;
        // The event ends when the event loop runs again.
        QMetaObject::invokeMethod(&m_context, [this] { m_eventOpen = false; }, Qt::QueuedConnection);
        return VoiceOutput::Turn::NewEvent;
    }

private:
    QObject m_context; // drops the pending end-of-event call with these turns
    bool m_eventOpen = false;
};

} // namespace hoshi
