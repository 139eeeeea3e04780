// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files/dialog_box_watch.h"

#include <QApplication>
#include <QEvent>
#include <QMessageBox>

#include <utility>

namespace hoshi {

DialogBoxWatch::DialogBoxWatch(QWidget &dialog, BoxShown boxShown)
    : QObject(&dialog)
    , m_dialog(dialog)
    , m_boxShown(std::move(boxShown))
{
    // The boxes are made and shown inside Qt's code: only the application sees them open.
    qApp->installEventFilter(this);
}

bool DialogBoxWatch::isInsideDialog(const QWidget &widget) const
{
    for (const QWidget *w = widget.parentWidget(); w; w = w->parentWidget()) {
        if (w == &m_dialog)
            return true;
    }
    return false;
}

bool DialogBoxWatch::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show && m_boxShown) {
        auto *box = qobject_cast<QMessageBox *>(watched);
        if (box && isInsideDialog(*box)) {
            QString text = box->text();
            if (!box->informativeText().isEmpty())
                text += u'\n' + box->informativeText();
            m_boxShown(text);
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace hoshi
