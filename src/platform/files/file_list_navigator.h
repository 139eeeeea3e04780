// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <functional>

class QAbstractItemView;
class QFileDialog;
class QItemSelectionModel;
class QLineEdit;
class QModelIndex;

namespace hoshi {

/// Lets the file dialog's name box move through the folder with Up, Down,
/// Page Up and Page Down (instead of a pop-up of completions), puts the name
/// of each entry reached into the box,
/// and reports every entry that becomes current, however it was reached, and
/// every folder gone into; then, and for the folder it opens on, whether the
/// folder holds entries the dialog cannot list.
class FileListNavigator final : public QObject {
    Q_OBJECT
public:
    using EntryFocused = std::function<void(const QString &name, bool isFolder)>;
    using UnlistedNames = std::function<void(const QString &folder)>;

    /// Call once the dialog has its model and its folder.
    FileListNavigator(QFileDialog &dialog, EntryFocused entryFocused, UnlistedNames unlistedNames = {});

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void followFolderChanges(QItemSelectionModel &selection);
    QAbstractItemView *shownView() const;
    void onCurrentChanged(const QModelIndex &current);
    void checkNames(const QString &folder) const;

    QFileDialog &m_dialog;
    EntryFocused m_entryFocused;
    UnlistedNames m_unlistedNames;
    QLineEdit *m_nameBox = nullptr;
    bool m_moving = false; ///< a key from the name box is moving through the list
};

} // namespace hoshi
