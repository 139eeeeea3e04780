// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widget_look.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

#include <cmath>

namespace hoshi {

namespace {

// Dynamic properties: the designed colours of a widget, and the program's switch.
const char *const DesignedGround = "hoshiDesignedGround";
const char *const DesignedText = "hoshiDesignedText";
const char *const DesignedFace = "hoshiDesignedFace";
const char *const AreaOf = "hoshiArea";
const char *const HighContrastOn = "hoshiHighContrast";
const char *const DesignedPalette = "hoshiDesignedPalette";
const char *const DesignedSelection = "hoshiDesignedSelection";
const char *const DesignedSelectionText = "hoshiDesignedSelectionText";

const QColor HighGround(0, 0, 0);
const QColor HighText(255, 255, 255);
const QColor HighMark(255, 255, 0);
const QColor HighDisabled(192, 192, 192);
constexpr double TextRatio = 7.0;

struct Pair {
    QColor ground;
    QColor text;
};

Pair highContrastOf(QColor ground, QColor text, Area area)
{
    switch (area) {
    case Area::Focused: return {HighMark, HighGround};
    case Area::Fill: return {HighMark, HighMark};
    case Area::Unseen: return {HighGround, HighGround};
    case Area::Plain: break;
    }
    (void)ground;
    return {HighGround, contrastRatio(text, HighGround) >= TextRatio ? text : HighText};
}

// A list draws its rows in Base and Text, the selected one in Highlight, in
// every colour group: the window without the focus shows its selection too.
void paintRows(QPalette &colours, const Pair &rows, const QWidget *list)
{
    Pair selected{list->property(DesignedSelection).value<QColor>(),
                  list->property(DesignedSelectionText).value<QColor>()};
    if (currentContrast() == Contrast::High)
        selected = highContrastOf(selected.ground, selected.text, Area::Focused);
    colours.setColor(QPalette::Base, rows.ground);
    colours.setColor(QPalette::Text, rows.text);
    colours.setColor(QPalette::Highlight, selected.ground);
    colours.setColor(QPalette::HighlightedText, selected.text);
}

void paint(QWidget *widget)
{
    const QVariant ground = widget->property(DesignedGround);
    const QColor text = widget->property(DesignedText).value<QColor>();
    const auto area = static_cast<Area>(widget->property(AreaOf).toInt());
    Pair pair{ground.value<QColor>(), text};
    if (currentContrast() == Contrast::High)
        pair = highContrastOf(pair.ground, pair.text, area);
    QPalette colours = widget->palette();
    if (ground.isValid())
        colours.setColor(QPalette::Window, pair.ground);
    colours.setColor(QPalette::WindowText, pair.text);
    if (widget->property(DesignedSelection).isValid())
        paintRows(colours, pair, widget);
    widget->setPalette(colours);
    widget->setAutoFillBackground(ground.isValid());
}

void paintFace(QWidget *button)
{
    QPalette colours = button->palette();
    if (currentContrast() == Contrast::High) {
        colours.setColor(QPalette::Button, HighGround);
        colours.setColor(QPalette::ButtonText, HighText);
        colours.setColor(QPalette::Disabled, QPalette::ButtonText, HighDisabled);
    } else {
        colours = QApplication::palette(button);
        colours.setColor(QPalette::Button, button->property(DesignedFace).value<QColor>());
    }
    button->setPalette(colours);
}

// Menus, dialogs and boxes that the program does not colour itself.
QPalette highContrastPalette()
{
    QPalette colours;
    for (const QPalette::ColorRole ground : {QPalette::Window, QPalette::Base, QPalette::AlternateBase,
                                              QPalette::Button, QPalette::ToolTipBase})
        colours.setColor(ground, HighGround);
    for (const QPalette::ColorRole text : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText,
                                            QPalette::ToolTipText, QPalette::BrightText})
        colours.setColor(text, HighText);
    colours.setColor(QPalette::Highlight, HighMark);
    colours.setColor(QPalette::HighlightedText, HighGround);
    colours.setColor(QPalette::PlaceholderText, HighDisabled);
    for (const QPalette::ColorRole text : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        colours.setColor(QPalette::Disabled, text, HighDisabled);
    colours.setColor(QPalette::Disabled, QPalette::Highlight, HighDisabled);
    return colours;
}

double linear(double channel)
{
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(QColor colour)
{
    return 0.2126 * linear(colour.red()) + 0.7152 * linear(colour.green()) + 0.0722 * linear(colour.blue());
}

} // namespace

void setColours(QWidget *widget, QColor background, QColor text, Area area)
{
    widget->setProperty(DesignedGround, background);
    widget->setProperty(DesignedText, text);
    widget->setProperty(AreaOf, static_cast<int>(area));
    paint(widget);
}

void setTextColour(QWidget *widget, QColor text, Area area)
{
    widget->setProperty(DesignedGround, QVariant());
    widget->setProperty(DesignedText, text);
    widget->setProperty(AreaOf, static_cast<int>(area));
    paint(widget);
}

void setListColours(QWidget *list, QColor ground, QColor text, QColor selectedGround, QColor selectedText)
{
    list->setProperty(DesignedSelection, selectedGround);
    list->setProperty(DesignedSelectionText, selectedText);
    setColours(list, ground, text);
}

void setButtonFace(QWidget *button, QColor face)
{
    button->setProperty(DesignedFace, face);
    paintFace(button);
}

void useContrast(Contrast contrast)
{
    if (contrast == currentContrast())
        return;
    if (!qApp->property(DesignedPalette).isValid())
        qApp->setProperty(DesignedPalette, QApplication::palette());
    qApp->setProperty(HighContrastOn, contrast == Contrast::High);
    QApplication::setPalette(contrast == Contrast::High ? highContrastPalette()
                                                        : qApp->property(DesignedPalette).value<QPalette>());
    for (QWidget *widget : QApplication::allWidgets()) {
        if (widget->property(AreaOf).isValid())
            paint(widget);
        if (widget->property(DesignedFace).isValid())
            paintFace(widget);
    }
}

Contrast currentContrast()
{
    return qApp && qApp->property(HighContrastOn).toBool() ? Contrast::High : Contrast::Designed;
}

double contrastRatio(QColor first, QColor second)
{
    const double a = luminance(first);
    const double b = luminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

} // namespace hoshi
