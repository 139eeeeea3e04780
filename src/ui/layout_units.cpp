// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/layout_units.h"

#include <algorithm>
#include <cstdint>

namespace hoshi {

LayoutUnits layoutUnits(int clientWidthTwips, int clientHeightTwips)
{
    const int width = std::max(clientWidthTwips, 0);
    const int height = std::max(clientHeightTwips, 0);
    // 64-bit product: a huge width times 99 must not overflow.
    const auto usable = static_cast<std::int64_t>(width) * 99 / 100;
    return {height / 5, static_cast<int>(usable)};
}

} // namespace hoshi
