// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files/file_list_navigator.h"

#include "platform/files/unlisted_names.h"

#include <QAbstractProxyModel>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QTreeView>

namespace hoshi {

namespace {

bool movesThroughList(const QKeyEvent &key)
{
    if (key.modifiers() & ~Qt::KeypadModifier)
        return false;
    switch (key.key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: return true;
    default: return false;
    }
}

} // namespace

FileListNavigator::FileListNavigator(QFileDialog &dialog, EntryFocused entryFocused, UnlistedNames unlistedNames)
    : QObject(&dialog)
    , m_dialog(dialog)
    , m_entryFocused(std::move(entryFocused))
    , m_unlistedNames(std::move(unlistedNames))
    , m_nameBox(dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
{
    if (m_nameBox) {
        m_nameBox->installEventFilter(this);
        // The list itself follows what is typed; a pop-up of names would take Up, Down and
        // Return away from it.
        m_nameBox->setCompleter(nullptr);
        // Where the dialog opens: typing a path and Up and Down both work from there.
        m_nameBox->setFocus();
    }
    // The list and the detail view share one selection model.
    auto *list = dialog.findChild<QListView *>(QStringLiteral("listView"));
    if (QItemSelectionModel *selection = list ? list->selectionModel() : nullptr) {
        connect(selection, &QItemSelectionModel::currentChanged, this, &FileListNavigator::onCurrentChanged);
        followFolderChanges(*selection);
    }
    checkNames(dialog.directory().absolutePath());
}

// Said after the folder's own name: what the child will not find in the list.
void FileListNavigator::checkNames(const QString &folder) const
{
    if (m_unlistedNames && unlistedNameCount(folder) > 0)
        m_unlistedNames(folder);
}

// A folder gone into is said like an entry: the listener knows where the list now is.
void FileListNavigator::followFolderChanges(QItemSelectionModel &selection)
{
    const QAbstractProxyModel *proxy = m_dialog.proxyModel();
    auto *files = qobject_cast<QFileSystemModel *>(proxy ? proxy->sourceModel() : nullptr);
    if (!files)
        return;
    const QPointer<QItemSelectionModel> current(&selection);
    connect(files, &QFileSystemModel::rootPathChanged, this, [this, current](const QString &folder) {
        // A path typed into the box made its folder current in the folder above: the
        // first Down in the new folder is to reach its first entry.
        if (current)
            current->clearCurrentIndex();
        if (m_entryFocused)
            m_entryFocused(QDir(folder).dirName(), true);
        checkNames(folder);
    });
}

QAbstractItemView *FileListNavigator::shownView() const
{
    auto *tree = m_dialog.findChild<QTreeView *>(QStringLiteral("treeView"));
    if (tree && tree->isVisible())
        return tree;
    return m_dialog.findChild<QListView *>(QStringLiteral("listView"));
}

bool FileListNavigator::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_nameBox || event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    QAbstractItemView *view = shownView();
    if (!view || !movesThroughList(*key))
        return false;
    QKeyEvent forwarded(QEvent::KeyPress, key->key(), Qt::NoModifier);
    m_moving = true;
    QCoreApplication::sendEvent(view, &forwarded);
    m_moving = false;
    return true;
}

void FileListNavigator::onCurrentChanged(const QModelIndex &current)
{
    if (!current.isValid())
        return;
    const QModelIndex name = current.siblingAtColumn(0);
    const QString fileName = name.data(QFileSystemModel::FileNameRole).toString();
    const bool isFolder = QFileInfo(name.data(QFileSystemModel::FilePathRole).toString()).isDir();
    // The dialog leaves the box alone while it has the focus: a move from it fills it in, so
    // Return opens this entry; a move the dialog made as a name was typed does not.
    if (m_moving)
        m_nameBox->setText(fileName);
    if (m_entryFocused)
        m_entryFocused(fileName, isFolder);
}

} // namespace hoshi
