// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/key_preview.h"

#include "platform/key_event.h"

#include <QKeyEvent>
#include <QWidget>

namespace hoshi {

KeyPreview::KeyPreview(Handler handler, QObject *parent)
    : QObject(parent)
    , m_handler(std::move(handler))
{
}

void KeyPreview::watch(QWidget *widget)
{
    widget->installEventFilter(this);
}

bool KeyPreview::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    m_handler(translateKeyEvent(*static_cast<QKeyEvent *>(event)));
    return true;
}

} // namespace hoshi
