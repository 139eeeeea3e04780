// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/keys/jis_keymap.h"
#include "platform/keys/key_event.h"

#include <QGuiApplication>
#include <QKeyEvent>

namespace hoshi {

namespace {

int modifierMask(Qt::KeyboardModifiers modifiers)
{
    int mask = 0;
    if (modifiers & Qt::ShiftModifier)
        mask |= ShiftBit;
    if (modifiers & Qt::ControlModifier)
        mask |= CtrlBit;
    if (modifiers & Qt::AltModifier)
        mask |= AltBit;
    return mask;
}

// A modifier key is part of the state of its own key-down, as Windows reports it.
int ownModifierBit(int keyCode)
{
    switch (keyCode) {
    case VkShift: return ShiftBit;
    case VkControl: return CtrlBit;
    case VkMenu: return AltBit;
    default: return 0;
    }
}

// On X11 and Wayland a key's native scan code is its evdev code + 8.
bool scanCodesAreEvdev()
{
    static const bool evdev = QGuiApplication::platformName() == QLatin1String("xcb")
        || QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    return evdev;
}

int virtualKeyOf(const QKeyEvent &event)
{
#ifdef Q_OS_WIN
    if (event.nativeVirtualKey() != 0)
        return static_cast<int>(event.nativeVirtualKey() & 0xFFFF);
#endif
    const bool keypad = event.modifiers().testFlag(Qt::KeypadModifier);
    // Synthetic events carry no scan code.
    if (scanCodesAreEvdev() && event.nativeScanCode() > 8)
        return virtualKeyFromPhysicalKey(static_cast<int>(event.nativeScanCode()) - 8, event.key(), keypad);
    return virtualKeyFromQtKey(event.key(), keypad);
}

// Windows makes no character for Delete, nor for any key held with Alt; it
// makes the control codes 1 to 26 for Ctrl with a letter.
std::optional<int> characterOf(const QKeyEvent &event, const KeyDown &down)
{
    if ((down.modifiers & AltBit) || down.keyCode == VkDelete)
        return std::nullopt;
    const QString text = event.text();
    if (!text.isEmpty())
        return text.at(0).unicode();
    if ((down.modifiers & CtrlBit) && down.keyCode >= VkA && down.keyCode <= VkZ)
        return down.keyCode - VkA + 1;
    return std::nullopt;
}

} // namespace

TranslatedKey translateKeyEvent(const QKeyEvent &event)
{
    TranslatedKey result;
    result.down.keyCode = virtualKeyOf(event);
    result.down.modifiers = modifierMask(event.modifiers()) | ownModifierBit(result.down.keyCode);
    result.down.autoRepeat = event.isAutoRepeat();
    result.charCode = characterOf(event, result.down);
    return result;
}

} // namespace hoshi
