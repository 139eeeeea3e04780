// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/text_fit.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QLabel>

#include <cmath>

namespace hoshi {

namespace {

constexpr double Slack = 0.01; // rounding in the metrics
constexpr double Huge = 1e6;

QFont withPoints(QFont font, double points)
{
    font.setPointSizeF(points);
    return font;
}

bool fits(const QFont &font, const QString &text, QSizeF room, int flags, const QPaintDevice *device)
{
    const QSizeF needed = QFontMetricsF(font, device).boundingRect(QRectF(QPointF(0, 0), room), flags, text).size();
    return needed.width() <= room.width() + Slack && needed.height() <= room.height() + Slack;
}

// Refits its label before each paint, once its text, room or designed font changed.
class LabelFitter final : public QObject {
public:
    LabelFitter(QLabel *label, TextRoom room)
        : QObject(label)
        , m_label(label)
        , m_room(room)
        , m_designed(label->font())
        , m_applied(label->font())
    {
        label->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::Paint:
        case QEvent::Resize:
        case QEvent::Move:
            if (watched == m_label)
                refit();
            break;
        default: break;
        }
        return false;
    }

private:
    QSizeF room() const
    {
        if (m_room == TextRoom::ToParentEdge && m_label->parentWidget()) {
            const QSize parent = m_label->parentWidget()->size();
            return QSizeF(parent.width() - m_label->x(), parent.height() - m_label->y());
        }
        const int margin = m_label->margin();
        QRect box = m_label->contentsRect().marginsRemoved(QMargins(margin, margin, margin, margin));
        // A box that reaches past its parent's edge shows only the part inside.
        if (const QWidget *parent = m_label->parentWidget())
            box &= QRect(m_label->mapFromParent(QPoint(0, 0)), parent->size());
        return box.size();
    }

    int flags() const
    {
        const int wrap = m_label->wordWrap() ? Qt::TextWordWrap : 0;
        // A label sized to its text is measured unwrapped, whatever its size now.
        return m_room == TextRoom::ToParentEdge ? 0 : int(m_label->alignment()) | wrap;
    }

    void refit()
    {
        // A font the window set itself is the new designed one.
        if (m_label->font() != m_applied)
            m_designed = m_label->font();
        const QSizeF available = room();
        if (m_label->text() == m_text && available == m_available && m_label->font() == m_applied)
            return;
        m_text = m_label->text();
        m_available = available;
        const double points = m_label->text().isEmpty()
                                  ? m_designed.pointSizeF()
                                  : fittingPointSize(m_designed, m_text, available, flags(), m_label);
        m_applied = withPoints(m_designed, points);
        if (m_label->font() == m_applied)
            return;
        m_label->setFont(m_applied);
        if (m_room == TextRoom::ToParentEdge)
            m_label->adjustSize();
    }

    QLabel *m_label;
    TextRoom m_room;
    QFont m_designed;
    QFont m_applied;
    QString m_text;
    QSizeF m_available;
};

} // namespace

double fittingPointSize(const QFont &designed, const QString &text, QSizeF room, int flags,
                        const QPaintDevice *device)
{
    const double points = designed.pointSizeF();
    if (fits(designed, text, room, flags, device) || points <= MinimumFitPoints)
        return points;
    // Quarter points from the minimum up to just below the designed size.
    int low = static_cast<int>(std::ceil(MinimumFitPoints * 4));
    int high = static_cast<int>(std::ceil(points * 4)) - 1;
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        if (fits(withPoints(designed, middle / 4.0), text, room, flags, device))
            low = middle;
        else
            high = middle - 1;
    }
    return low / 4.0;
}

void keepTextInside(QLabel *label, TextRoom room)
{
    new LabelFitter(label, room);
}

} // namespace hoshi
