// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QWidget;

namespace hoshi {

/// Reports the text of every message box that opens inside `dialog` while it
/// lives (Qt's file dialog opens its own: a name that is not there, a file to
/// delete), so that it is heard like the program's own boxes.
class DialogBoxWatch final : public QObject {
    Q_OBJECT
public:
    using BoxShown = std::function<void(const QString &text)>;

    /// Watches from now until the dialog is gone.
    DialogBoxWatch(QWidget &dialog, BoxShown boxShown);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool isInsideDialog(const QWidget &widget) const;

    QWidget &m_dialog;
    BoxShown m_boxShown;
};

} // namespace hoshi
