// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/speech/readable_menu_item.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>

namespace hoshi {

namespace {

QRect actionGeometry(QWidget *owner, QAction *action)
{
    if (auto *menu = qobject_cast<QMenu *>(owner))
        return menu->actionGeometry(action);
    if (auto *bar = qobject_cast<QMenuBar *>(owner))
        return bar->actionGeometry(action);
    return {};
}

QAction *activeAction(QWidget *owner)
{
    if (auto *menu = qobject_cast<QMenu *>(owner))
        return menu->activeAction();
    if (auto *bar = qobject_cast<QMenuBar *>(owner))
        return bar->activeAction();
    return nullptr;
}

} // namespace

ReadableMenuItem::ReadableMenuItem(QAction *action, NameOf nameOf)
    : m_action(action)
    , m_nameOf(std::move(nameOf))
{
}

QWidget *ReadableMenuItem::owner() const
{
    if (!m_action)
        return nullptr;
    QWidget *first = nullptr;
    for (QObject *object : m_action->associatedObjects()) {
        auto *widget = qobject_cast<QWidget *>(object);
        if (!qobject_cast<QMenu *>(widget) && !qobject_cast<QMenuBar *>(widget))
            continue;
        if (widget->isVisible())
            return widget;
        if (!first)
            first = widget;
    }
    return first;
}

bool ReadableMenuItem::isValid() const
{
    return m_action && owner();
}

QObject *ReadableMenuItem::object() const
{
    return m_action;
}

QAccessibleInterface *ReadableMenuItem::parent() const
{
    return QAccessible::queryAccessibleInterface(owner());
}

QAccessibleInterface *ReadableMenuItem::child(int index) const
{
    return index == 0 && m_action->menu() ? QAccessible::queryAccessibleInterface(m_action->menu()) : nullptr;
}

int ReadableMenuItem::childCount() const
{
    return m_action->menu() ? 1 : 0;
}

int ReadableMenuItem::indexOfChild(const QAccessibleInterface *child) const
{
    return child && m_action->menu() && child->object() == m_action->menu() ? 0 : -1;
}

QAccessibleInterface *ReadableMenuItem::childAt(int x, int y) const
{
    QAccessibleInterface *submenu = child(0);
    return submenu && submenu->rect().contains(x, y) ? submenu : nullptr;
}

QString ReadableMenuItem::text(QAccessible::Text kind) const
{
    if (kind == QAccessible::Name)
        return m_nameOf(m_action->text());
    if (kind == QAccessible::Accelerator)
        return m_action->shortcut().toString(QKeySequence::NativeText);
    return {};
}

QRect ReadableMenuItem::rect() const
{
    QWidget *shownIn = owner();
    if (!shownIn)
        return {};
    return actionGeometry(shownIn, m_action).translated(shownIn->mapToGlobal(QPoint(0, 0)));
}

QAccessible::Role ReadableMenuItem::role() const
{
    return m_action->isSeparator() ? QAccessible::Separator : QAccessible::MenuItem;
}

QAccessible::State ReadableMenuItem::state() const
{
    QAccessible::State state;
    QWidget *shownIn = owner();
    state.invisible = !shownIn || !shownIn->isVisible() || !m_action->isVisible();
    state.focused = shownIn && activeAction(shownIn) == m_action;
    state.hotTracked = shownIn && shownIn->style()->styleHint(QStyle::SH_Menu_MouseTracking);
    state.disabled = m_action->isSeparator() || !m_action->isEnabled();
    state.checkable = m_action->isCheckable();
    state.checked = m_action->isChecked();
    return state;
}

void *ReadableMenuItem::interface_cast(QAccessible::InterfaceType type)
{
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
}

QStringList ReadableMenuItem::actionNames() const
{
    if (!m_action || m_action->isSeparator())
        return {};
    return {m_action->menu() ? showMenuAction() : pressAction()};
}

void ReadableMenuItem::doAction(const QString &actionName)
{
    if (!m_action || !m_action->isEnabled())
        return;
    if (actionName == pressAction()) {
        m_action->trigger();
        return;
    }
    if (actionName != showMenuAction() || !m_action->menu())
        return;
    if (m_action->menu()->isVisible()) {
        m_action->menu()->hide();
    } else if (auto *bar = qobject_cast<QMenuBar *>(owner())) {
        bar->setActiveAction(m_action);
    } else if (auto *menu = qobject_cast<QMenu *>(owner())) {
        menu->setActiveAction(m_action);
    }
}

} // namespace hoshi
