// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace hoshi {

/// Closes the input method for one window: the window and its controls take
/// no composition from now on, and a composition in progress is dropped, so
/// each key reaches the window as a plain key event.
void closeInputMethod(QWidget *window);

} // namespace hoshi
