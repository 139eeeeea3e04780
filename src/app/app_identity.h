// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace hoshi {

/// Names the program after its desktop entry, so that a Wayland compositor
/// matches its windows to the entry (the app id). Costs nothing; call it
/// before the first window is shown.
void setDesktopIdentity();

/// Sets the icon of every window from the icon theme (the installed
/// hicolor icon). Call it after the first paint: the theme lookup and the
/// SVG rendering then do not delay the first picture.
void setWindowIconFromTheme();

} // namespace hoshi
