// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the finger windows fold a typed character before they compare it with
// the shown key (an upper-case letter, a digit or a mark). The two rules
// differ, and both stay: the finger guide takes a letter of any script in its
// upper-case form, so a dotless ı counts as I there, while the drills fold
// only a to z and judge every other character as it was typed.

#include <QString>

namespace hoshi {

/// The finger guide's rule: the upper-case form in any script.
inline QString upperCaseAnyScript(int charCode)
{
    const auto code = static_cast<char32_t>(charCode);
    return QString::fromUcs4(&code, 1).toUpper();
}

/// The drills' rule: a to z fold; every other character stays as typed.
inline QString upperCaseAsciiOnly(int charCode)
{
    if (charCode >= 'a' && charCode <= 'z')
        charCode -= 'a' - 'A';
    const auto code = static_cast<char32_t>(charCode);
    return QString::fromUcs4(&code, 1);
}

} // namespace hoshi
