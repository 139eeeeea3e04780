// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Menu entries built the same way in every window: a caption, an object name
// tests can find, and what choosing it does.

#include "ui/say_text.h"

#include <QString>

#include <functional>

class QAction;
class QMainWindow;
class QMenu;
class QWidget;

namespace hoshi {

/// A submenu on the window's menu bar.
QMenu *addMenu(QMainWindow *window, const QString &name, const QString &caption);

/// An entry of a menu, or of the menu bar itself, that acts when chosen.
QAction *addEntry(QWidget *menuOrBar, const QString &name, const QString &caption,
                  std::function<void()> onChosen);

/// The version entry on the menu bar that opens the version box, said through `say`.
QAction *addVersionEntry(QMainWindow *window, const QString &caption, SayText say);

} // namespace hoshi
