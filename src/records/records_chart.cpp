// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/records_chart.h"

#include "ui/fonts.h"
#include "ui/text_fit.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace hoshi {

RecordsChart::RecordsChart(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("recordsChart"));
    setAccessibleName(QStringLiteral("きろくの グラフ"));
    setFocusPolicy(Qt::NoFocus);
}

// 24 points where there is room; smaller in a small chart, so that the
// plot keeps most of it: at least ten lines high and four dates wide.
QFont RecordsChart::fittingFont() const
{
    constexpr double Designed = 24;
    const QFont designed = japaneseFont(FontFace::Proportional, Designed);
    const QFontMetricsF metrics(designed, this);
    const double byHeight = Designed * height() / (10 * metrics.height());
    const double byWidth = Designed * width() / (4 * metrics.horizontalAdvance(QStringLiteral("00/00")));
    return japaneseFont(FontFace::Proportional, std::clamp(std::min(byHeight, byWidth), MinimumFitPoints, Designed));
}

void RecordsChart::showDays(const std::vector<DayPoint> &days, bool typing)
{
    m_days = days;
    m_typing = typing;
    update();
}

// Lines, dots and margins in proportion to the chart's text, so that the
// chart reads the same at any scale.
void RecordsChart::drawSeries(QPainter &painter, const QRect &area, const std::vector<double> &values,
                              QColor colour, Qt::Alignment side) const
{
    const int line = painter.fontMetrics().height();
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    const double bottom = std::min(0.0, *low);
    const double span = std::max(*high - bottom, 1.0);
    const double step = values.size() > 1 ? double(area.width()) / double(values.size() - 1) : 0;
    QPainterPath path;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const QPointF point(area.left() + step * double(i), area.bottom() - (values[i] - bottom) / span * area.height());
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
        painter.setBrush(colour);
        painter.drawEllipse(point, line / 4.0, line / 4.0);
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(colour, std::max(2, line / 6)));
    painter.drawPath(path);
    painter.setPen(colour);
    painter.drawText(area.adjusted(0, -line - line / 4, 0, 0), side | Qt::AlignTop, QString::number(*high, 'f', 0));
}

void RecordsChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Qt::black);
    painter.setFont(fittingFont());
    painter.setPen(Qt::white);
    if (m_days.empty()) {
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, QStringLiteral("グラフに する きろくが まだ ないよ"));
        return;
    }
    const int line = painter.fontMetrics().height();
    const int side = painter.fontMetrics().horizontalAdvance(QStringLiteral("00/00")) / 2 + line / 2;
    const QRect area = rect().adjusted(side, line * 2, -side, -line * 2);
    painter.setPen(QPen(Qt::gray, std::max(1, line / 16)));
    painter.drawLine(area.bottomLeft(), area.bottomRight());
    std::vector<double> first;
    std::vector<double> second;
    for (const DayPoint &day : m_days) {
        first.push_back(m_typing ? day.charsPerMinute : day.bestScore);
        second.push_back(day.accuracy * 100);
    }
    // Each series' highest value written above it, one on the left, one on the right.
    drawSeries(painter, area, first, QColor(255, 255, 0), Qt::AlignLeft);
    if (m_typing)
        drawSeries(painter, area, second, Qt::white, Qt::AlignRight);
    painter.setPen(Qt::white);
    const QRect dates = rect().adjusted(line / 2, 0, -line / 2, -line / 4);
    painter.drawText(dates, Qt::AlignBottom | Qt::AlignLeft, m_days.front().day.toString(QStringLiteral("M/d")));
    painter.drawText(dates, Qt::AlignBottom | Qt::AlignRight, m_days.back().day.toString(QStringLiteral("M/d")));
}

} // namespace hoshi
