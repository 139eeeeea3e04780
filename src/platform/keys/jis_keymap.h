// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Windows virtual-key codes of a Japanese (JIS) keyboard, found from the
// physical key (Linux evdev codes) or, failing that, from Qt's key codes.

namespace hoshi {

/// The code of the key printed on a JIS keycap at this evdev position; 0 for
/// positions no JIS key occupies.
int virtualKeyFromEvdev(int evdevCode);

/// The code of a physical key on X11 or Wayland: the JIS keycap at that evdev
/// position. With Num Lock off the pad's digit keys are the cursor keys Qt
/// reports; a position no JIS key occupies falls back to Qt's key code.
int virtualKeyFromPhysicalKey(int evdevCode, int qtKey, bool keypad);

/// The code from Qt's key code, placing characters where a JIS keyboard has
/// them; keypad selects the numeric pad's digits and operators. 0 if unknown.
int virtualKeyFromQtKey(int qtKey, bool keypad);

/// The Qt key code that stands for a virtual-key code in a synthetic event;
/// 0 if there is none.
int qtKeyFromVirtualKey(int keyCode);

} // namespace hoshi
