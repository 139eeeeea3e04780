// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/version_box.h"

#include "ui/message_box.h"
#include "ui/version_info.h"

#include <QWidget>

namespace hoshi {

void showVersionBox(QWidget *parent, const SayText &say)
{
    // The message is said with CR LF as written; the box draws plain line feeds.
    QString message = versionMessage();
    if (say)
        say(message);
    message.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    showMessageBox(parent, MessageKind::Notice, versionBoxTitle(), message, QStringLiteral("versionBox"));
    // The long reading would go on after the box: a new text cuts it short and
    // tells the child which window the keyboard is back in.
    if (say.hint && parent)
        say.hint(parent->window()->windowTitle());
}

} // namespace hoshi
