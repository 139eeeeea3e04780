// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/labels.h"

#include "ui/widget_look.h"

#include <QLabel>

namespace hoshi {

QLabel *makeLabel(QWidget *parent, const QString &name, const LabelStyle &style)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setFocusPolicy(Qt::NoFocus);
    if (style.plainText)
        label->setTextFormat(Qt::PlainText);
    if (style.alignment)
        label->setAlignment(style.alignment);
    if (style.background)
        setColours(label, *style.background, style.text, style.area);
    else if (style.text.isValid())
        setTextColour(label, style.text, style.area);
    if (style.pointSize) {
        label->setFont(japaneseFont(style.face, *style.pointSize));
        keepTextInside(label, style.room);
    }
    return label;
}

} // namespace hoshi
