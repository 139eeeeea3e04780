// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files/dialog_look.h"

#include "platform/desktop/japanese_fonts.h"

#include <QWidget>

namespace hoshi {

namespace {

const char *const DialogStyle = R"(
QWidget { font-size: %1pt; }
QPushButton, QToolButton { color: black; background: #f0f0f0; border: 2px solid #404040;
                           border-radius: 4px; padding: 6px 18px; }
QLineEdit, QComboBox { color: black; background: white; border: 2px solid #404040; padding: 4px; }
QAbstractItemView { color: black; background: white; border: 2px solid #404040;
                    selection-color: yellow; selection-background-color: black; }
QPushButton:focus, QToolButton:focus, QLineEdit:focus, QComboBox:focus, QAbstractItemView:focus
    { border: 5px solid #e05a00; }
QAbstractItemView::item:focus { border: 3px solid #e05a00; }
)";

} // namespace

QFont dialogFont()
{
    QFont font;
    font.setFamilies(proportionalJapaneseFamilies());
    font.setPointSizeF(DialogPoints);
    return font;
}

void applyDialogLook(QWidget *dialog)
{
    dialog->setFont(dialogFont());
    // The sheet also reaches the boxes the dialog opens on its own (a file that is not there).
    dialog->setStyleSheet(QString::fromLatin1(DialogStyle).arg(DialogPoints));
}

} // namespace hoshi
