// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files/file_picker.h"

#include "platform/files/dialog_box_watch.h"
#include "platform/files/dialog_look.h"
#include "platform/files/file_dialog_columns.h"
#include "platform/files/file_list_navigator.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QSettings>
#include <QTreeView>

namespace hoshi {

namespace {

constexpr double ScreenShare = 0.85;

// Qt's dialog speaks English unless told otherwise; the program is Japanese.
void giveJapaneseLabels(QFileDialog &dialog)
{
    dialog.setWindowTitle(QStringLiteral("開く"));
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("ファイルの場所:"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("ファイル名:"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("ファイルの種類:"));
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("開く(&O)"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("キャンセル"));
}

// Large type needs room: most of the screen, every column as wide as its
// texts, and no side bar of places, which only a mouse would use.
void makeRoomForLargeType(QFileDialog &dialog, QWidget *parent)
{
    QScreen *screen = parent && parent->screen() ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen)
        dialog.resize(screen->availableGeometry().size() * ScreenShare);
    if (auto *sidebar = dialog.findChild<QWidget *>(QStringLiteral("sidebar")))
        sidebar->hide();
    if (auto *details = dialog.findChild<QTreeView *>(QStringLiteral("treeView")))
        details->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
}

// Qt's dialog keeps its own state (history, sizes) in a settings file of its
// own; the program keeps one file, so the dialog's state is kept nowhere:
// settings made without a path are pointed at a folder that cannot exist.
void keepDialogStateNowhere()
{
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, QStringLiteral("/dev/null/hoshinotamago"));
}

QString existingFolderOrHome(const QString &folder)
{
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

} // namespace

QString DialogFilePicker::textFileFilter()
{
    return QStringLiteral("テキスト ファイル (*.txt)");
}

QString DialogFilePicker::chooseTextFile(QWidget *parent, const TextFileRequest &request)
{
    keepDialogStateNowhere();
    QFileDialog dialog(parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setViewMode(QFileDialog::Detail);
    dialog.setNameFilter(textFileFilter());
    dialog.setWindowModality(Qt::ApplicationModal);
    giveJapaneseLabels(dialog);
    dialog.setProxyModel(new JapaneseFileColumns(&dialog));
    dialog.setDirectory(existingFolderOrHome(request.startFolder));
    applyDialogLook(&dialog);
    makeRoomForLargeType(dialog, parent);
    new FileListNavigator(dialog, request.entryFocused, request.unlistedNames);
    new DialogBoxWatch(dialog, request.boxShown);

    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.first();
}

} // namespace hoshi
