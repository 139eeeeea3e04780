// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/api/preferences.h"
#include "ui/say_text.h"

#include <QString>

#include <functional>
#include <utility>

class QMainWindow;

namespace hoshi {

/// What differs between the finger windows' menus.
struct FingerMenuNames {
    QString endCaption;  ///< "終了(&X or Escape)", "終了(&X )" or "終了(&X)"
    QString hideName;    ///< object name of "指の名前なし(&N)"
    QString showName;    ///< object name of "指の名前あり(&A)"
};

/// The settings menu's one handler: shows or hides the finger names of the
/// window's behaviour (the finger guide or a drill engine), keeps the choice
/// for every finger window and the next run, then redraws.
template <typename Behaviour>
std::function<void(bool shown)> fingerNamesHandler(Behaviour &behaviour, std::function<void()> redraw,
                                                   PreferenceKeeper *preferences)
{
    return [&behaviour, redraw = std::move(redraw), preferences](bool shown) {
        if (shown)
            behaviour.showFingerNames();
        else
            behaviour.hideFingerNames();
        keepChange(preferences, [shown](Preferences &kept) { kept.fingerNamesShown = shown; });
        redraw();
    };
}

/// At a window's load: the finger names as they were last chosen.
template <typename Behaviour>
void applyKeptFingerNames(Behaviour &behaviour, const PreferenceKeeper *preferences)
{
    if (!preferencesOf(preferences).fingerNamesShown)
        behaviour.hideFingerNames();
}

/// The menus every finger window carries: the file menu with its end entry,
/// the settings menu that hides or shows the finger names, the version entry
/// whose box is said through `sayVersion`.
void buildFingerMenus(QMainWindow *window, const FingerMenuNames &names,
                      std::function<void(bool shown)> showFingerNames, SayText sayVersion);

} // namespace hoshi
