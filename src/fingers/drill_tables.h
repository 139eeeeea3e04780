// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/api/colour.h"

#include <QString>

#include <vector>

namespace hoshi {

/// One row of a drill's target table: the character shown, judged and
/// announced, and the finger label shown above it.
struct DrillTarget {
    QString character;
    QString fingerLabel;
};

using TargetTable = std::vector<DrillTarget>;

/// What makes one timed drill window differ from the other: all data.
struct DrillProfile {
    QString objectName;  ///< frmYubiren2 or frmYubiren3
    QString title;
    int timeLimit = 0;   ///< seconds of one run
    TargetTable table;
    Rgb barColour;
    QString endCaption;  ///< the end menu entry's caption
};

/// The alphabet drill: 26 letters, 30 seconds, red bar.
const DrillProfile &alphabetDrillProfile();
/// The numbers-and-symbols drill: 43 keys, 60 seconds, blue bar.
const DrillProfile &numbersAndSymbolsDrillProfile();

} // namespace hoshi
