// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How every menu bar and menu looks, for a helper with low vision: large
// Japanese type, each entry wide enough to show its whole caption, and in high
// contrast a yellow edge round each open menu and separators that show.

class QMenuBar;

namespace hoshi {

/// Menu bars and menus in 16-point type; call once, after the application is made.
void useLargeMenus();

/// From now on the bar's entries stand in their large type where they all fit
/// the bar, else just small enough that they do. Once a bar is enough.
void keepMenuBarInside(QMenuBar *bar);

} // namespace hoshi
