// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/api/interfaces.h"

#include <QString>

#include <functional>

namespace hoshi {

/// A window's own reading channel: its announcer, or the English window's voice.
using SayText = std::function<void(const QString &text)>;

/// The channel that hands each text to the announcer.
inline SayText sayThrough(Announcer &announcer)
{
    return [&announcer](const QString &text) { announcer.announce(text); };
}

/// The channel that hands each text to the announcer's menu voice.
inline SayText menuHintThrough(Announcer &announcer)
{
    return [&announcer](const QString &text) { announcer.menuHint(text); };
}

} // namespace hoshi
