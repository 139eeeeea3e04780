// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/records_chart.h"

#include "ui/fonts.h"

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

void RecordsChart::showDays(const std::vector<DayPoint> &days, bool typing)
{
    m_days = days;
    m_typing = typing;
    update();
}

void RecordsChart::drawSeries(QPainter &painter, const QRect &area, const std::vector<double> &values,
                              QColor colour) const
{
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
        painter.drawEllipse(point, 8, 8);
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(colour, 6));
    painter.drawPath(path);
    painter.setPen(colour);
    painter.drawText(area.adjusted(0, -48, 0, 0), Qt::AlignLeft | Qt::AlignTop, QString::number(*high, 'f', 0));
}

void RecordsChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Qt::black);
    painter.setFont(japaneseFont(FontFace::Proportional, 24));
    painter.setPen(Qt::white);
    if (m_days.empty()) {
        painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("グラフに する きろくが まだ ないよ"));
        return;
    }
    const QRect area = rect().adjusted(60, 70, -60, -70);
    painter.setPen(QPen(Qt::gray, 2));
    painter.drawLine(area.bottomLeft(), area.bottomRight());
    std::vector<double> first;
    std::vector<double> second;
    for (const DayPoint &day : m_days) {
        first.push_back(m_typing ? day.charsPerMinute : day.bestScore);
        second.push_back(day.accuracy * 100);
    }
    drawSeries(painter, area, first, QColor(255, 255, 0));
    if (m_typing)
        drawSeries(painter, area, second, Qt::white);
    painter.setPen(Qt::white);
    painter.drawText(rect().adjusted(60, 0, -60, -10), Qt::AlignBottom | Qt::AlignLeft,
                     m_days.front().day.toString(QStringLiteral("M/d")));
    painter.drawText(rect().adjusted(60, 0, -60, -10), Qt::AlignBottom | Qt::AlignRight,
                     m_days.back().day.toString(QStringLiteral("M/d")));
}

} // namespace hoshi
