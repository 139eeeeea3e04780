// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A menu entry as a screen reader sees it, named by its reading: Qt names
// a menu entry by its text, and a voice that cannot read kanji reads each
// of them as a word for "Chinese letter".

#include <QAccessibleActionInterface>
#include <QPointer>

#include <functional>

class QAction;
class QWidget;

namespace hoshi {

class ReadableMenuItem final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    /// Gives the name for the entry's text (with its & marks).
    using NameOf = std::function<QString(const QString &text)>;
    ReadableMenuItem(QAction *action, NameOf nameOf);

    bool isValid() const override;
    QObject *object() const override;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QString text(QAccessible::Text kind) const override;
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

    /// The menu or menu bar the entry is shown in now (the first one else).
    QWidget *owner() const;

private:
    QPointer<QAction> m_action;
    NameOf m_nameOf;
};

} // namespace hoshi
