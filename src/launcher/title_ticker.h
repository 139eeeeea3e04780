// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace hoshi {

/// The title with its first character moved to the end; a surrogate pair
/// moves as one character, and an empty title stays empty.
QString rotateTitle(const QString &title);

} // namespace hoshi
