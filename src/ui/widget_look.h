// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every widget's colours are set here, so that one switch can give the whole
// program its high-contrast palette: black grounds, white or yellow texts and
// yellow marks. The designed colours are kept on each widget and come back
// when the switch is turned off.

#include "platform/api/colour.h"

#include <QColor>

class QWidget;

namespace hoshi {

/// The colour a behaviour class named, for a widget to draw.
inline QColor toQColor(Rgb rgb)
{
    return {rgb.red, rgb.green, rgb.blue};
}

enum class Contrast { Designed, High };

/// What a coloured area is for, which decides its high-contrast colours.
enum class Area {
    Plain,   ///< black ground; a text too dark on black becomes white
    Focused, ///< the entry with the focus: black on yellow
    Fill,    ///< a mark that means something by its size (a time bar): yellow
    Unseen   ///< written for the ear alone: stays as dark as its ground
};

/// Paints a widget's background and text in fixed colours.
void setColours(QWidget *widget, QColor background, QColor text, Area area = Area::Plain);

/// Text in the given colour on whatever lies behind the widget.
void setTextColour(QWidget *widget, QColor text, Area area = Area::Plain);

/// A list's rows, and its selected row in a pair of its own. In high contrast
/// the rows are white on black and the selected row black on yellow.
void setListColours(QWidget *list, QColor ground, QColor text, QColor selectedGround, QColor selectedText);

/// A push button's face; its text keeps the style's colour.
void setButtonFace(QWidget *button, QColor face);

/// Turns the whole program's colours, every window made so far and later.
void useContrast(Contrast contrast);
Contrast currentContrast();

/// The contrast ratio of two colours as WCAG 2 defines it, 1 to 21.
double contrastRatio(QColor first, QColor second);

} // namespace hoshi
