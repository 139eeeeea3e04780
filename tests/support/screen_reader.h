// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a screen reader finds in the windows: their accessible trees, and the modal boxes as they open.

#include "support/fakes.h"

#include <QAccessible>
#include <QAction>
#include <QAccessibleInterface>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <vector>

namespace hoshi::testing {

inline QAccessibleInterface *accessible(QObject *object)
{
    return QAccessible::queryAccessibleInterface(object);
}

/// Object names of what a screen reader takes for a window inside `window`: a border (QFrame) or a window.
inline QStringList windowsInside(QWidget &window)
{
    QStringList found;
    const std::function<void(QAccessibleInterface *)> visit = [&](QAccessibleInterface *root) {
        for (int i = 0; root && i < root->childCount(); ++i) {
            if (QAccessibleInterface *child = root->child(i)) {
                if (child->role() == QAccessible::Border || child->role() == QAccessible::Window)
                    found << child->object()->objectName();
                visit(child);
            }
        }
    };
    visit(accessible(&window));
    return found;
}

/// The whole text of a text interface; an empty string where there is none.
inline QString textOf(QAccessibleInterface *iface)
{
    QAccessibleTextInterface *text = iface ? iface->textInterface() : nullptr;
    return text ? text->text(0, text->characterCount()) : QString();
}

/// "announce TEXT" and "speak TEXT" for each text the services were given.
inline QStringList saidTexts(const RecordingServices &services)
{
    QStringList out;
    for (const Effect &effect : services.log)
        if (effect.kind == Effect::Announce || effect.kind == Effect::Speak)
            out << (effect.kind == Effect::Announce ? QStringLiteral("announce ") : QStringLiteral("speak ")) + effect.text;
    return out;
}

/// Closes every modal message box once up, keeping its text, what a screen reader reads and what was said.
class BoxCatcher {
public:
    struct Box {
        QString text;
        QString accessibleText; ///< the box's accessible value
        QStringList saidBefore; ///< saidTexts() when it was up
        QMessageBox::Icon icon{};
        double points = 0; ///< the point size of its text
    };

    explicit BoxCatcher(const RecordingServices &services) : m_services(services)
    {
        QObject::connect(&m_poll, &QTimer::timeout, [this] { catchBox(); });
        m_poll.start(5);
    }

    QStringList texts() const
    {
        QStringList out;
        for (const Box &box : boxes)
            out << box.text;
        return out;
    }

    std::vector<Box> boxes;

private:
    void catchBox()
    {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            boxes.push_back({box->text(), accessible(box)->text(QAccessible::Value), saidTexts(m_services),
                             box->icon(), box->font().pointSizeF()});
            box->reject();
        }
    }

    const RecordingServices &m_services;
    QTimer m_poll;
};

/// Chooses the window's version entry (services cleared first): the one box it opened, else an empty one.
inline BoxCatcher::Box versionBoxOf(QWidget &window, RecordingServices &services)
{
    services.clear();
    BoxCatcher catcher(services);
    window.findChild<QAction *>(QStringLiteral("mnuVersion"))->trigger();
    return catcher.boxes.size() == 1 ? catcher.boxes.front() : BoxCatcher::Box{};
}

} // namespace hoshi::testing
