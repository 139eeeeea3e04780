// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/records_summary.h"

#include <QWidget>

namespace hoshi {

/// A mode's days drawn large for a sighted teacher: the best score of each
/// day, or for typing the characters a minute (yellow) and the accuracy
/// (white, 0 to 100 %). Painted with QPainter; nothing here is focused.
class RecordsChart final : public QWidget {
public:
    explicit RecordsChart(QWidget *parent = nullptr);

    void showDays(const std::vector<DayPoint> &days, bool typing);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QFont fittingFont() const;
    void drawSeries(class QPainter &painter, const QRect &area, const std::vector<double> &values, QColor colour,
                    Qt::Alignment side) const;

    std::vector<DayPoint> m_days;
    bool m_typing = false;
};

} // namespace hoshi
