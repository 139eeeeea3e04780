// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace hoshi {

/// A colour as red, green and blue, 0 to 255 (the behaviour classes know no QColor).
struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    bool operator==(const Rgb &) const = default;
};

} // namespace hoshi
