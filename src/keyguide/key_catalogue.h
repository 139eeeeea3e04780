// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The key catalogue: what every key of a Japanese (JIS) keyboard is called,
// as a display text drawn very large and a reading for the reading tool.

#include <QString>

#include <optional>

namespace hoshi {

/// A side effect that the key guide carries out for an entry.
enum class KeyAction {
    NoAction,
    ImeOff,         ///< close the input method of the window
    RepressSameKey, ///< when armed: inject a key-up and a key-down of the same key
    RepressAlt      ///< when armed: inject an Escape key-up and an Alt key-down
};

struct KeyEntry {
    QString display;
    QString reading;           ///< the key's name as it is said; empty only for Shift+0
    bool keepReading = false;  ///< leave the previous reading in place
    KeyAction action = KeyAction::NoAction;

    bool operator==(const KeyEntry &) const = default;
};

/// The two results of a look-up, applied in this order. At most one is set.
struct KeyLookup {
    std::optional<KeyEntry> tableEntry;    ///< from the unshifted or the shifted table
    std::optional<KeyEntry> modifierEntry; ///< from the Shift/Ctrl/Alt table
};

/// Looks a key-down up: modifier state exactly 0 uses the unshifted table,
/// exactly 1 the shifted table, any other state neither; the modifier table
/// applies in every state. keyCode is a Windows virtual-key code, modifiers
/// the 1 Shift / 2 Ctrl / 4 Alt mask.
KeyLookup LookUpKey(int keyCode, int modifiers);

} // namespace hoshi
