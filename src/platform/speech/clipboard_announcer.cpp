// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/speech/clipboard_announcer.h"

#include <QClipboard>
#include <QGuiApplication>

namespace hoshi {

void ClipboardAnnouncer::announce(const QString &text)
{
    // Without a clipboard (no display connection) the announcement is dropped.
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return;
    clipboard->clear(QClipboard::Clipboard);
    clipboard->setText(text, QClipboard::Clipboard);
}

} // namespace hoshi
