// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widget_look.h"

#include <QPalette>
#include <QWidget>

namespace hoshi {

void setColours(QWidget *widget, QColor background, QColor text)
{
    QPalette colours = widget->palette();
    colours.setColor(QPalette::Window, background);
    colours.setColor(QPalette::WindowText, text);
    widget->setPalette(colours);
    widget->setAutoFillBackground(true);
}

void setTextColour(QWidget *widget, QColor text)
{
    QPalette colours = widget->palette();
    colours.setColor(QPalette::WindowText, text);
    widget->setPalette(colours);
    widget->setAutoFillBackground(false);
}

} // namespace hoshi
