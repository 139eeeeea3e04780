// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/speech/readable_names.h"

#include "platform/speech/readable_menu_item.h"

#include <QAbstractButton>
#include <QAction>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace hoshi {

namespace {

ReadingOf &currentReading()
{
    static ReadingOf reading;
    return reading;
}

bool hasJapanese(const QString &text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() > 0x7f; });
}

// The English window's texts are read as English.
QString readableText(const QString &shown)
{
    return screenReaderText(hasJapanese(shown) ? currentReading() : ReadingOf(), shown);
}

QString withoutMnemonic(QString text)
{
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return text;
}

/// What the widget shows, or the name set for it.
QString shownText(QWidget *widget)
{
    if (!widget->accessibleName().isEmpty())
        return widget->accessibleName();
    if (widget->isWindow())
        return widget->windowTitle();
    if (auto *label = qobject_cast<QLabel *>(widget))
        return label->text();
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        return withoutMnemonic(button->text());
    return {};
}

/// A widget whose name a screen reader gets as its reading.
class ReadableWidget : public QAccessibleWidget {
public:
    ReadableWidget(QWidget *widget, QAccessible::Role role)
        : QAccessibleWidget(widget, role)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name)
            return readableName(widget());
        return QAccessibleWidget::text(kind);
    }
};

/// A push button keeps what a screen reader does with it: press it.
class ReadableButton final : public ReadableWidget {
public:
    explicit ReadableButton(QAbstractButton *button)
        : ReadableWidget(button, QAccessible::Button)
    {
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        auto *button = static_cast<QAbstractButton *>(widget());
        state.pressed = button->isDown();
        if (auto *push = qobject_cast<QPushButton *>(button))
            state.defaultButton = push->isDefault();
        return state;
    }

    QStringList actionNames() const override
    {
        return QStringList(pressAction()) + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &action) override
    {
        if (action == pressAction())
            static_cast<QAbstractButton *>(widget())->animateClick();
        else
            QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface *readableFactory(const QString &, QObject *object)
{
    if (!currentReading())
        return nullptr;
    if (auto *action = qobject_cast<QAction *>(object))
        return new ReadableMenuItem(action, [](const QString &text) { return readableText(withoutMnemonic(text)); });
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget)
        return nullptr;
    if (widget->isWindow()) {
        const Qt::WindowType type = widget->windowType();
        if (type != Qt::Window && type != Qt::Dialog)
            return nullptr; // menus, tool tips and pop-ups keep their own
        return new ReadableWidget(widget, qobject_cast<QDialog *>(widget) ? QAccessible::Dialog : QAccessible::Window);
    }
    if (auto *button = qobject_cast<QPushButton *>(widget))
        return new ReadableButton(button);
    if (qobject_cast<QLabel *>(widget))
        return new ReadableWidget(widget, QAccessible::StaticText);
    return nullptr;
}

} // namespace

QString withoutControlCharacters(const QString &text)
{
    QString kept;
    kept.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QLatin1Char('\t'))
            kept += QLatin1Char(' ');
        else if (c.category() != QChar::Other_Control)
            kept += c;
    }
    return kept;
}

QString screenReaderText(const ReadingOf &readingOf, const QString &text)
{
    const QString kept = withoutControlCharacters(text);
    QString reading = readingOf ? readingOf(kept) : kept;
    for (const QChar pause : {QChar(0x3001), QChar(0x3002), QChar(0xff0c)}) // 、 。 ，
        reading.replace(pause, QLatin1Char(' '));
    return reading.simplified();
}

void installReadableNames(ReadingOf readingOf)
{
    static const bool installed = [] {
        QAccessible::installFactory(readableFactory);
        return true;
    }();
    (void)installed;
    currentReading() = std::move(readingOf);
}

QString readableName(QWidget *widget)
{
    return readableText(shownText(widget));
}

} // namespace hoshi
