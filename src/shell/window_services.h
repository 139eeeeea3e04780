// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every window does alike: fill the screen when it loads, lay its controls
// out in twips of its client area, pick Japanese faces, show the version box.

#include "shell/layout_units.h"

#include <QFont>
#include <QRect>

#include <functional>

class QString;
class QWidget;

namespace hoshi {

class Announcer;

/// A window's own reading channel: its announcer, or the English window's voice.
using SayText = std::function<void(const QString &text)>;

/// The channel that hands each text to the announcer.
SayText sayThrough(Announcer &announcer);

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

enum class FontFace {
    Proportional, ///< the "ＭＳ Ｐゴシック" look
    Fixed         ///< the "ＭＳ ゴシック" look
};

/// A font of the given face at a fixed point size, falling back to the
/// Japanese faces installed here.
QFont japaneseFont(FontFace face, double pointSize);

/// The one version box behind every window's version menu entry; modal. Its
/// text is said once, just before it opens.
void showVersionBox(QWidget *parent, const SayText &say);

} // namespace hoshi
