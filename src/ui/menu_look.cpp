// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/menu_look.h"

#include "ui/fonts.h"
#include "ui/text_fit.h"
#include "ui/widget_look.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetricsF>
#include <QIcon>
#include <QMenuBar>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>

#include <cmath>

namespace hoshi {

namespace {

constexpr double MenuPoints = 16;
constexpr int EdgeWidth = 2; // of an open menu in high contrast
// The style draws an entry's check column this share of its height wide, but
// sizes the entry as if the column kept a small fixed width.
constexpr double CheckColumnShare = 0.79;

/// The application's own style, with menu entries that never shorten their captions.
class MenuLook final : public QProxyStyle {
public:
    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                           const QWidget *widget) const override
    {
        QSize sized = QProxyStyle::sizeFromContents(type, option, size, widget);
        const auto *entry = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
        if (type == CT_MenuItem && entry && entry->menuItemType != QStyleOptionMenuItem::Separator)
            sized.rwidth() += missingWidth(*entry, size.width()) + std::ceil(CheckColumnShare * sized.height());
        return sized;
    }

    // The menu bar's overflow button (every window is as wide as the screen)
    // takes the style's own picture: the icon theme's first lookup would read
    // every icon folder of the desktop before the first paint.
    QIcon standardIcon(StandardPixmap icon, const QStyleOption *option, const QWidget *widget) const override
    {
        if (icon == SP_ToolBarHorizontalExtensionButton || icon == SP_ToolBarVerticalExtensionButton)
            return QIcon(QProxyStyle::standardPixmap(icon, option, widget));
        return QProxyStyle::standardIcon(icon, option, widget);
    }

    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        const int value = QProxyStyle::pixelMetric(metric, option, widget);
        return metric == PM_MenuPanelWidth ? std::max(value, EdgeWidth) : value;
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override
    {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        if (element == PE_FrameMenu && currentContrast() == Contrast::High)
            drawEdge(option->rect, option->palette.color(QPalette::Highlight), painter);
    }

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override
    {
        const auto *entry = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
        if (element == CE_MenuItem && entry && entry->menuItemType == QStyleOptionMenuItem::Separator
            && currentContrast() == Contrast::High) {
            const int middle = option->rect.center().y();
            painter->fillRect(QRect(option->rect.left() + 4, middle, option->rect.width() - 8, 2),
                              option->palette.color(QPalette::WindowText));
            return;
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }

private:
    // The width the style's shortening counts for the caption beyond what the
    // menu measured: it counts the access-key marker as a character.
    static int missingWidth(const QStyleOptionMenuItem &entry, int measured)
    {
        QFont font = entry.font;
        font.setPointSizeF(QFontInfo(entry.font).pointSizeF());
        const QFontMetricsF metrics(font);
        const int flags = Qt::TextShowMnemonic | Qt::TextSingleLine;
        const QString caption = entry.text.section(QLatin1Char('\t'), 0, 0);
        int needed = measured;
        while (metrics.elidedText(caption, Qt::ElideMiddle, needed + 0.5, flags) != caption)
            needed += 1 + (needed - measured) / 4;
        return needed - measured;
    }

    static void drawEdge(QRect rect, QColor colour, QPainter *painter)
    {
        painter->save();
        QPen pen(colour, EdgeWidth);
        pen.setJoinStyle(Qt::MiterJoin);
        painter->setPen(pen);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(QRectF(rect).adjusted(EdgeWidth / 2.0, EdgeWidth / 2.0, -EdgeWidth / 2.0, -EdgeWidth / 2.0));
        painter->restore();
    }
};

/// Refits its menu bar once its entries or its width changed.
class MenuBarFitter final : public QObject {
public:
    explicit MenuBarFitter(QMenuBar *bar)
        : QObject(bar)
        , m_bar(bar)
    {
        setObjectName(QStringLiteral("hoshiMenuBarFitter"));
        bar->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::Resize:
        case QEvent::ActionAdded:
        case QEvent::ActionChanged:
        case QEvent::ActionRemoved:
            if (watched == m_bar && !m_pending) {
                m_pending = true;
                QMetaObject::invokeMethod(this, &MenuBarFitter::refit, Qt::QueuedConnection);
            }
            break;
        default: break;
        }
        return false;
    }

private:
    void refit()
    {
        const int width = m_bar->width();
        const double points = largestFittingPoints(MenuPoints, [this, width](double candidate) {
            m_bar->setFont(japaneseFont(FontFace::Proportional, candidate));
            return m_bar->sizeHint().width() <= width;
        });
        m_bar->setFont(japaneseFont(FontFace::Proportional, points));
        // The new font's own resize and change events come before this.
        m_pending = false;
    }

    QMenuBar *m_bar;
    bool m_pending = false;
};

} // namespace

void keepMenuBarInside(QMenuBar *bar)
{
    if (!bar->findChild<MenuBarFitter *>(QStringLiteral("hoshiMenuBarFitter"), Qt::FindDirectChildrenOnly))
        new MenuBarFitter(bar);
}

void useLargeMenus()
{
    // The style first: setting a style sets the fonts of its widget classes again.
    QApplication::setStyle(new MenuLook);
    QApplication::setFont(japaneseFont(FontFace::Proportional, MenuPoints), "QMenuBar");
    QApplication::setFont(japaneseFont(FontFace::Proportional, MenuPoints), "QMenu");
}

} // namespace hoshi
