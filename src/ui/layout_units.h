// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace hoshi {

/// The two units every window lays out by, in twips: the whole part of one
/// fifth of the client height and of 99/100 of the client width.
struct LayoutUnits {
    int rowUnit = 0;
    int usableWidth = 0;
};

/// Held in int, so client areas beyond a 16-bit unit still lay out.
LayoutUnits layoutUnits(int clientWidthTwips, int clientHeightTwips);

} // namespace hoshi
