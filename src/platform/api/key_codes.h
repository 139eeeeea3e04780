// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keys as the behaviour classes see them: a Windows virtual-key code and the
// 1/2/4 modifier mask, whatever the platform reported.

namespace hoshi {

enum ModifierBit { ShiftBit = 1, CtrlBit = 2, AltBit = 4 };

/// Virtual-key codes the program names.
enum VirtualKey {
    VkBack = 8, VkTab = 9, VkReturn = 13, VkShift = 16, VkControl = 17, VkMenu = 18,
    VkEscape = 27, VkSpace = 32, VkLeft = 37, VkUp = 38, VkRight = 39, VkDown = 40,
    VkDelete = 46, Vk0 = 48, Vk1 = 49, Vk9 = 57, VkA = 65, VkZ = 90, VkNumpad0 = 96,
    VkF1 = 112, VkF4 = 115, VkF10 = 121
};

/// The code of the digit key 0 to 9 above the letters.
constexpr int digitKey(int digit)
{
    return Vk0 + digit;
}

struct KeyDown {
    int keyCode = 0;   ///< Windows virtual-key code; 0 when the key has no code
    int modifiers = 0; ///< 1 Shift, 2 Ctrl, 4 Alt, added together
    bool autoRepeat = false;
};

/// Direction of a synthetic key event.
enum class KeyDirection { Down, Up };

} // namespace hoshi
