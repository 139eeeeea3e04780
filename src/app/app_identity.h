// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace hoshi {

/// Names the program after its desktop entry, so that a Wayland compositor
/// matches its windows to the entry (the app id). Costs nothing; call it
/// before the first window is shown.
void setDesktopIdentity();

/// Sets the icon of every window: the program's own hicolor icon, else the
/// icon theme's. Call it after the first paint: the SVG rendering then does
/// not delay the first picture.
void setWindowIconFromTheme();

} // namespace hoshi
