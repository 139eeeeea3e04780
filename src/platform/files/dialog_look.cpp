// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files/dialog_look.h"

#include "platform/desktop/japanese_fonts.h"

#include <QToolButton>
#include <QWidget>

#include <array>
#include <utility>

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

// Qt's dialog draws its tool buttons with icons of the desktop's icon theme,
// which a plain system may lack: words, in the dialog's large type, instead.
const std::array<std::pair<const char *, const char *>, 6> ToolButtonWords{{
    {"backButton", "もどる"},
    {"forwardButton", "すすむ"},
    {"toParentButton", "上のフォルダー"},
    {"newFolderButton", "新しいフォルダー"},
    {"listModeButton", "一覧"},
    {"detailModeButton", "詳しく"},
}};

void nameToolButtons(QWidget *dialog)
{
    for (const auto &[name, words] : ToolButtonWords) {
        if (auto *button = dialog->findChild<QToolButton *>(QString::fromLatin1(name))) {
            button->setText(QString::fromUtf8(words));
            button->setAccessibleName(QString::fromUtf8(words));
            button->setToolButtonStyle(Qt::ToolButtonTextOnly);
            // Qt's dialog keeps these buttons icon-sized: room for the words instead.
            button->setMinimumSize(0, 0);
            button->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        }
    }
}

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
    nameToolButtons(dialog);
}

} // namespace hoshi
