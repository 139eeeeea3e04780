// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/say_text.h"

#include <QString>

class QAction;
class QMainWindow;

namespace hoshi {

/// The words the menus are heard with, in the window's language.
struct MenuWords {
    QString bar;      ///< the menu bar has become active
    QString chosen;   ///< what a setting became; %1 is its entry
    QString closed;   ///< a menu was left without a choice
    QString backIn;   ///< where the focus is once the menus are left; %1 is the window
};

const MenuWords &japaneseMenuWords();
const MenuWords &englishMenuWords();

/// An entry's caption as it is heard: without its access-key marker.
QString heardCaption(const QString &caption);

/// Makes every menu of the window heard through `say`: the menu bar becoming
/// active, each entry that gets the highlight, what a setting became, and a
/// menu left without a choice with where the focus is then. `say` is a
/// voice-only channel that stays quiet while a screen reader runs, since the
/// screen reader reads menus itself. Call it once the menus are built.
void speakMenus(QMainWindow *window, SayText say, const MenuWords &words = japaneseMenuWords());

/// Marks an entry as a setting: choosing it says what the setting became.
QAction *saysItsChoice(QAction *entry);

} // namespace hoshi
