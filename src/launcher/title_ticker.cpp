// SPDX-License-Identifier: GPL-3.0-or-later
#include "launcher/title_ticker.h"

namespace hoshi {

QString rotateTitle(const QString &title)
{
    if (title.isEmpty())
        return title;
    const bool pair = title.size() >= 2 && title.at(0).isHighSurrogate() && title.at(1).isLowSurrogate();
    const qsizetype head = pair ? 2 : 1;
    return title.mid(head) + title.left(head);
}

} // namespace hoshi
