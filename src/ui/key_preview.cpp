// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/key_preview.h"

#include "platform/keys/key_event.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace hoshi {

namespace {

bool isKeyEvent(const QEvent *event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
    case QEvent::KeyRelease: return true;
    default: return false;
    }
}

} // namespace

KeyPreview::KeyPreview(Handler handler, QObject *parent)
    : QObject(parent)
    , m_handler(std::move(handler))
{
}

KeyPreview::~KeyPreview()
{
    if (m_wholeWindow)
        qApp->removeEventFilter(this);
}

void KeyPreview::watch(QWidget *widget)
{
    widget->installEventFilter(this);
}

void KeyPreview::watchWholeWindow(QWidget *window)
{
    m_wholeWindow = window;
    // On the application: the menu bar's Alt navigation and shortcuts are
    // decided before a window's own filters would see the key.
    qApp->installEventFilter(this);
}

bool KeyPreview::belongsToWholeWindow(QObject *watched) const
{
    const auto *widget = qobject_cast<const QWidget *>(watched);
    return m_wholeWindow && widget && widget->window() == m_wholeWindow;
}

bool KeyPreview::eventFilter(QObject *watched, QEvent *event)
{
    if (m_wholeWindow) {
        // The application's filter sees every object's events: only this window's keys are ours.
        if (!isKeyEvent(event) || !belongsToWholeWindow(watched))
            return false;
        // Accepting the override keeps shortcuts and the menu bar away.
        event->accept();
        if (event->type() == QEvent::KeyPress)
            m_handler(translateKeyEvent(*static_cast<QKeyEvent *>(event)));
        return true;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    return m_handler(translateKeyEvent(*static_cast<QKeyEvent *>(event)));
}

} // namespace hoshi
