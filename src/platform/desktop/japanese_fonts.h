// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Japanese faces every text is drawn in, the nearest installed one first.

#include <QStringList>

namespace hoshi {

/// The "ＭＳ Ｐゴシック" look and the faces drawn to its metrics.
QStringList proportionalJapaneseFamilies();
/// The "ＭＳ ゴシック" look and the faces drawn to its metrics.
QStringList fixedJapaneseFamilies();

} // namespace hoshi
