// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A Qt key event in the two forms the windows handle: a key-down with a
// Windows virtual-key code and the 1/2/4 modifier mask, then, for keys that
// make a character, a key-press with the character code.

#include "platform/api/key_codes.h"

#include <optional>

class QKeyEvent;

namespace hoshi {

struct TranslatedKey {
    KeyDown down;
    std::optional<int> charCode; ///< the key-press that follows, if the key makes a character
};

/// Translates a key-press QKeyEvent. On X11 the physical key decides the code
/// (a JIS keycap table); elsewhere, and for synthetic events, Qt's key code does.
TranslatedKey translateKeyEvent(const QKeyEvent &event);

} // namespace hoshi
