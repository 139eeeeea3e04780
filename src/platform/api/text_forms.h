// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Written forms the windows show and announce, shared by the key guide's
// catalogue and the launcher's entries.

#include <QString>

namespace hoshi {

/// A number of zero or more in full-width digits: 7 is "７", 10 is "１０".
inline QString fullWidthDigits(int number)
{
    constexpr char16_t FullWidthZero = u'\uFF10';
    QString text = QString::number(number);
    for (QChar &c : text)
        c = QChar(static_cast<char16_t>(FullWidthZero + (c.unicode() - u'0')));
    return text;
}

} // namespace hoshi
