// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/keys/input_method.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <QWidget>

namespace hoshi {

void closeInputMethod(QWidget *window)
{
    if (!window)
        return;
    window->setAttribute(Qt::WA_InputMethodEnabled, false);
    for (QWidget *child : window->findChildren<QWidget *>())
        child->setAttribute(Qt::WA_InputMethodEnabled, false);
    QInputMethod *inputMethod = QGuiApplication::inputMethod();
    inputMethod->reset();
    inputMethod->hide();
    // The platform's input context asks the focus object again and stays off.
    inputMethod->update(Qt::ImEnabled);
}

} // namespace hoshi
