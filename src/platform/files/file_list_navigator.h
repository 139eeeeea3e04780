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
/// every folder gone into.
class FileListNavigator final : public QObject {
    Q_OBJECT
public:
    using EntryFocused = std::function<void(const QString &name, bool isFolder)>;

    /// Call once the dialog has its model.
    FileListNavigator(QFileDialog &dialog, EntryFocused entryFocused);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void followFolderChanges(QItemSelectionModel &selection);
    QAbstractItemView *shownView() const;
    void onCurrentChanged(const QModelIndex &current);

    QFileDialog &m_dialog;
    EntryFocused m_entryFocused;
    QLineEdit *m_nameBox = nullptr;
    bool m_moving = false; ///< a key from the name box is moving through the list
};

} // namespace hoshi
