// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

class QWidget;

namespace hoshi {

/// Paints a widget's background and text in fixed colours.
void setColours(QWidget *widget, QColor background, QColor text);

/// Text in the given colour on whatever lies behind the widget.
void setTextColour(QWidget *widget, QColor text);

} // namespace hoshi
