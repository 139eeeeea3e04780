// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/twips_layout.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace hoshi {

namespace {
constexpr double TwipsPerInch = 1440.0;
}

void placeFillingScreen(QWidget *window)
{
    QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    window->setWindowState(window->windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
    window->setGeometry(QRect(QPoint(0, 0), screen->geometry().size()));
}

TwipsLayout::TwipsLayout(const QWidget &client)
    : TwipsLayout(client.contentsRect().size(), client.logicalDpiX(), client.logicalDpiY())
{
}

TwipsLayout::TwipsLayout(QSize clientPixels, double dpiX, double dpiY)
    : m_dpiX(dpiX > 0 ? dpiX : 96.0)
    , m_dpiY(dpiY > 0 ? dpiY : 96.0)
    , m_clientTwips(static_cast<int>(std::lround(clientPixels.width() * TwipsPerInch / m_dpiX)),
                    static_cast<int>(std::lround(clientPixels.height() * TwipsPerInch / m_dpiY)))
    , m_units(layoutUnits(m_clientTwips.width(), m_clientTwips.height()))
{
}

int TwipsLayout::toPixelsX(double twips) const
{
    return static_cast<int>(std::lround(twips * m_dpiX / TwipsPerInch));
}

int TwipsLayout::toPixelsY(double twips) const
{
    return static_cast<int>(std::lround(twips * m_dpiY / TwipsPerInch));
}

int TwipsLayout::toTwipsX(int pixels) const
{
    return static_cast<int>(std::lround(pixels * TwipsPerInch / m_dpiX));
}

QRect TwipsLayout::rect(double left, double top, double width, double height) const
{
    return {toPixelsX(left), toPixelsY(top), std::max(toPixelsX(width), 0), std::max(toPixelsY(height), 0)};
}

} // namespace hoshi
