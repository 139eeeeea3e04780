// SPDX-License-Identifier: GPL-3.0-or-later
#include "launcher/launcher_entry.h"

#include "platform/api/text_forms.h"
#include "ui/fonts.h"
#include "ui/text_fit.h"
#include "ui/widget_look.h"

#include <QFocusEvent>

namespace hoshi {

LauncherEntry::LauncherEntry(int number, const QString &caption, QWidget *parent)
    : QLabel(parent)
    , m_number(number)
    , m_announcement(fullWidthDigits(number) + QStringLiteral("\r\n") + caption)
{
    setObjectName(QStringLiteral("entry%1").arg(number));
    setText(fullWidthDigits(number) + QLatin1Char('\n') + caption);
    setAccessibleName(fullWidthDigits(number) + QLatin1Char(' ') + caption);
    setFont(japaneseFont(FontFace::Proportional, 39.75));
    keepTextInside(this);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::Box);
    showFocused(false);
}

void LauncherEntry::showFocused(bool focused)
{
    if (focused)
        setColours(this, Qt::black, Qt::white, Area::Focused);
    else
        setColours(this, QColor(0, 0, 255), QColor(255, 255, 0));
}

// A focusable QLabel builds a whole text document at polish and at focus to
// let its text be selected; these entries are never selected, and six
// documents would delay the launcher's first announcement.
bool LauncherEntry::event(QEvent *event)
{
    if (event->type() == QEvent::Polish)
        return QFrame::event(event);
    return QLabel::event(event);
}

void LauncherEntry::focusInEvent(QFocusEvent *event)
{
    QFrame::focusInEvent(event);
    showFocused(true);
    emit focusGained(this, event->reason());
}

void LauncherEntry::focusOutEvent(QFocusEvent *event)
{
    QFrame::focusOutEvent(event);
    showFocused(false);
}

} // namespace hoshi
