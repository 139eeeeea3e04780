// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/layout_units.h"

#include <array>

namespace hoshi {

/// A rectangle in twips, kept as real numbers until it is drawn.
struct TwipsRect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    bool operator==(const TwipsRect &) const = default;
};

/// Where the launcher's title and six entries stand, two columns of three.
struct LauncherLayout {
    TwipsRect title;
    std::array<TwipsRect, 6> entries;
};

LauncherLayout launcherLayout(LayoutUnits units);

} // namespace hoshi
