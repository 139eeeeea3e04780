// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QCoreApplication;

namespace hoshi {

/// Gives Qt's own dialogs and menus (the file dialog, its messages, the edit
/// menu of text boxes) their Japanese texts when Qt's translations are
/// installed: the program speaks Japanese whatever the desktop's language.
void installQtJapanese(QCoreApplication &app);

} // namespace hoshi
