// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/mode_window.h"

#include <QCloseEvent>

namespace hoshi {

ModeWindow::ModeWindow(QWidget *parent)
    : QMainWindow(parent)
{
    setAttribute(Qt::WA_DeleteOnClose, false);
}

void ModeWindow::open()
{
    if (!isVisible())
        load();
    show();
    raise();
    activateWindow();
}

void ModeWindow::closeEvent(QCloseEvent *event)
{
    unload();
    event->accept();
}

} // namespace hoshi
