// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/message_box.h"

#include "platform/files/dialog_look.h"

#include <QMessageBox>

namespace hoshi {

void showMessageBox(QWidget *parent, MessageKind kind, const QString &title, const QString &text,
                    const QString &objectName)
{
    const QMessageBox::Icon icon = kind == MessageKind::Failure ? QMessageBox::Warning : QMessageBox::Information;
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.setObjectName(objectName);
    applyDialogLook(&box);
    box.exec();
}

} // namespace hoshi
