// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/api/preferences.h"

#include <functional>
#include <optional>

class QMainWindow;

namespace hoshi {

/// What the launcher's settings menu changes for the whole program.
struct LauncherSettings {
    PreferenceKeeper *preferences = nullptr; ///< none: the launcher has no settings menu
    /// The voice chosen: applied once the choice has been said in the voice before.
    std::function<void(Preferences::Voice)> voiceChosen;
    /// The voices' rate chosen (none: the user's own): applied before the choice is said.
    std::function<void(std::optional<int>)> rateChosen;
    /// Whether high contrast is on for this run, however it was asked for.
    bool highContrastOn = false;
};

/// 設定: the built-in voice (automatic, on, off), its rate (five steps, the
/// middle one the user's own) and the colours (high contrast or as designed). Each choice is kept at once and applied to
/// every window; the entry of this run's choice is checked.
void buildSettingsMenu(QMainWindow *window, const LauncherSettings &settings);

} // namespace hoshi
