// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/command_line.h"
#include "platform/api/preferences.h"

#include <functional>
#include <optional>

namespace hoshi {

/// How this run speaks and looks.
struct RunChoices {
    VoiceChoice voice = VoiceChoice::Auto;
    bool highContrast = false;
};

VoiceChoice voiceChoiceOf(Preferences::Voice voice);

/// The command line first, for this run only; then the kept preferences; for
/// the colours then the desktop, asked only when nothing else decides.
RunChoices runChoices(const CommandLine &commandLine, const Preferences &kept,
                      const std::function<std::optional<bool>()> &desktopHighContrast);

} // namespace hoshi
