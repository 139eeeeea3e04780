// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/fonts.h"

#include "platform/desktop/japanese_fonts.h"

namespace hoshi {

QFont japaneseFont(FontFace face, double pointSize)
{
    QFont font;
    if (face == FontFace::Proportional) {
        font.setFamilies(proportionalJapaneseFamilies());
    } else {
        font.setFamilies(fixedJapaneseFamilies());
        font.setStyleHint(QFont::Monospace);
    }
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Normal);
    return font;
}

} // namespace hoshi
