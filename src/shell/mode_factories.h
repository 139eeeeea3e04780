// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace hoshi {

class AppServices;
class ModeWindows;

/// Tells the launcher's registry how to build each mode's window.
void registerModeWindows(ModeWindows &modes, AppServices &services);

} // namespace hoshi
