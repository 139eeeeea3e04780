// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A Qt key event in the two forms the windows handle: a key-down with a
// Windows virtual-key code and the 1/2/4 modifier mask, then, for keys that
// make a character, a key-press with the character code.

#include <optional>

class QKeyEvent;

namespace hoshi {

enum ModifierBit { ShiftBit = 1, CtrlBit = 2, AltBit = 4 };

/// Virtual-key codes the windows name by number.
enum VirtualKey {
    VkBack = 8, VkTab = 9, VkReturn = 13, VkShift = 16, VkControl = 17, VkMenu = 18,
    VkEscape = 27, VkSpace = 32, VkLeft = 37, VkUp = 38, VkRight = 39, VkDown = 40,
    VkF10 = 121
};

struct KeyDown {
    int keyCode = 0;   ///< Windows virtual-key code; 0 when the key has no code
    int modifiers = 0; ///< 1 Shift, 2 Ctrl, 4 Alt, added together
    bool autoRepeat = false;
};

struct TranslatedKey {
    KeyDown down;
    std::optional<int> charCode; ///< the key-press that follows, if the key makes a character
};

/// Translates a key-press QKeyEvent. On X11 the physical key decides the code
/// (a JIS keycap table); elsewhere, and for synthetic events, Qt's key code does.
TranslatedKey translateKeyEvent(const QKeyEvent &event);

} // namespace hoshi
