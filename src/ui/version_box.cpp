// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/version_box.h"

#include "ui/message_box.h"
#include "ui/version_info.h"

namespace hoshi {

void showVersionBox(QWidget *parent, const SayText &say)
{
    // The message is said with CR LF as written; the box draws plain line feeds.
    QString message = versionMessage();
    if (say)
        say(message);
    message.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    showMessageBox(parent, MessageKind::Notice, versionBoxTitle(), message, QStringLiteral("versionBox"));
}

} // namespace hoshi
