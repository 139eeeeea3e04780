// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every window fills the screen when it loads and lays its controls out in
// twips of its client area.

#include "ui/layout_units.h"

#include <QRect>

class QWidget;

namespace hoshi {

/// Top-left corner of the screen, the screen's full size, normal state.
void placeFillingScreen(QWidget *window);

/// Converts twips of one client area to its pixels, with the screen's logical DPI.
class TwipsLayout {
public:
    explicit TwipsLayout(const QWidget &client);
    TwipsLayout(QSize clientPixels, double dpiX, double dpiY);

    LayoutUnits units() const { return m_units; }
    int clientWidthTwips() const { return m_clientTwips.width(); }
    int clientHeightTwips() const { return m_clientTwips.height(); }

    /// A rectangle given in twips, in pixels of the client area.
    QRect rect(double left, double top, double width, double height) const;
    int toPixelsX(double twips) const;
    int toPixelsY(double twips) const;
    int toTwipsX(int pixels) const;

private:
    double m_dpiX;
    double m_dpiY;
    QSize m_clientTwips;
    LayoutUnits m_units;
};

} // namespace hoshi
