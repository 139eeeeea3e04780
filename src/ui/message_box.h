// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

namespace hoshi {

enum class MessageKind {
    Notice, ///< the information icon
    Failure ///< something went wrong: the warning icon
};

/// A modal box with one OK button, in the dialogs' large type.
void showMessageBox(QWidget *parent, MessageKind kind, const QString &title, const QString &text,
                    const QString &objectName);

} // namespace hoshi
