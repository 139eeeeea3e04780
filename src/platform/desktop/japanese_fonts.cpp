// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/japanese_fonts.h"

namespace hoshi {

QStringList proportionalJapaneseFamilies()
{
    return {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"),
            QStringLiteral("Noto Sans CJK JP")};
}

QStringList fixedJapaneseFamilies()
{
    return {QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic"),
            QStringLiteral("Noto Sans Mono CJK JP")};
}

} // namespace hoshi
