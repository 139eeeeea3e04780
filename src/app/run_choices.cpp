// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/run_choices.h"

namespace hoshi {

VoiceChoice voiceChoiceOf(Preferences::Voice voice)
{
    switch (voice) {
    case Preferences::Voice::On: return VoiceChoice::Always;
    case Preferences::Voice::Off: return VoiceChoice::Never;
    case Preferences::Voice::Automatic: break;
    }
    return VoiceChoice::Auto;
}

RunChoices runChoices(const CommandLine &commandLine, const Preferences &kept,
                      const std::function<std::optional<bool>()> &desktopHighContrast)
{
    RunChoices choices;
    choices.voice = commandLine.voice.value_or(voiceChoiceOf(kept.voice));
    if (commandLine.highContrast)
        choices.highContrast = true;
    else if (kept.highContrast)
        choices.highContrast = *kept.highContrast;
    else
        choices.highContrast = desktopHighContrast().value_or(false);
    return choices;
}

} // namespace hoshi
