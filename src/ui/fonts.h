// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

namespace hoshi {

enum class FontFace {
    Proportional, ///< the "ＭＳ Ｐゴシック" look
    Fixed         ///< the "ＭＳ ゴシック" look
};

/// A font of the given face at a fixed point size, falling back to the
/// Japanese faces installed here.
QFont japaneseFont(FontFace face, double pointSize);

} // namespace hoshi
