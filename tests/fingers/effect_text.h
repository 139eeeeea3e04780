// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The recorded effects as short texts, so a failing comparison shows them:
// an announced text as it is, "cue ding.wav", "speak ...", "inject 27".

#include "support/fakes.h"

#include <QStringList>

namespace hoshi::testing {

inline QStringList effectTexts(const RecordingServices &services)
{
    QStringList out;
    for (const Effect &effect : services.log) {
        switch (effect.kind) {
        case Effect::Announce: out << effect.text; break;
        case Effect::Cue: out << QStringLiteral("cue ") + cueFileName(effect.cue); break;
        case Effect::Speak: out << QStringLiteral("speak ") + effect.text; break;
        case Effect::Inject: out << QStringLiteral("inject %1").arg(effect.keyCode); break;
        }
    }
    return out;
}

inline QString ding()
{
    return QStringLiteral("cue ding.wav");
}

} // namespace hoshi::testing
