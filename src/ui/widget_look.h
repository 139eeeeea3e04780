// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/api/colour.h"

#include <QColor>

class QWidget;

namespace hoshi {

/// The colour a behaviour class named, for a widget to draw.
inline QColor toQColor(Rgb rgb)
{
    return {rgb.red, rgb.green, rgb.blue};
}

/// Paints a widget's background and text in fixed colours.
void setColours(QWidget *widget, QColor background, QColor text);

/// Text in the given colour on whatever lies behind the widget.
void setTextColour(QWidget *widget, QColor text);

} // namespace hoshi
