// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/api/interfaces.h"

#include <QString>

#include <functional>
#include <utility>

namespace hoshi {

using SayFunction = std::function<void(const QString &text)>;

/// A window's own reading channel: called, it says a text as the window
/// announces (its announcer, or the English window's voice). Made from any
/// callable; a channel made from two also carries `hint`, heard by the voice
/// alone and never put on the clipboard.
struct SayText : SayFunction {
    using SayFunction::SayFunction;
    SayText() = default;
    SayText(SayFunction say, SayFunction voiceOnly)
        : SayFunction(std::move(say))
        , hint(std::move(voiceOnly))
    {
    }

    SayFunction hint; ///< may be empty
};

/// The channel that hands each text to the announcer.
inline SayText sayThrough(Announcer &announcer)
{
    return SayText([&announcer](const QString &text) { announcer.announce(text); },
                   [&announcer](const QString &text) { announcer.hint(text); });
}

/// The channel that hands each text to the announcer's menu voice.
inline SayText menuHintThrough(Announcer &announcer)
{
    return [&announcer](const QString &text) { announcer.menuHint(text); };
}

} // namespace hoshi
