// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <array>

namespace hoshi {

/// One step of the finger guide: the key shown and compared, the hand and
/// finger shown above it, and the reading announced.
struct FingerStep {
    QString key;
    QString fingerLabel;
    QString reading;
};

inline constexpr int FingerStepCount = 43;

/// The fixed walk: the letter rows finger by finger, then the digit row and
/// three punctuation keys. The key of the last step (":") wraps to step 1.
const std::array<FingerStep, FingerStepCount> &fingerSteps();

} // namespace hoshi
