// SPDX-License-Identifier: GPL-3.0-or-later
#include "launcher/launcher_layout.h"

namespace hoshi {

LauncherLayout launcherLayout(LayoutUnits units)
{
    const double u = units.rowUnit;
    const double w = units.usableWidth;
    constexpr std::array<double, 2> ColumnLefts{0.05, 0.55};
    constexpr std::array<double, 3> RowTops{1.0, 2.25, 3.5};
    LauncherLayout layout;
    layout.title = {0.05 * w, 0.2 * u, 0.9 * w, 0.6 * u};
    for (std::size_t i = 0; i < layout.entries.size(); ++i)
        layout.entries[i] = {ColumnLefts[i / 3] * w, RowTops[i % 3] * u, 0.4 * w, u};
    return layout;
}

} // namespace hoshi
