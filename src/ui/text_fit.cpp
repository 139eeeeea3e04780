// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/text_fit.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QLabel>
#include <QStyle>

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

bool fits(const QFont &font, const QString &text, const RoomFor &roomFor, int flags, const QPaintDevice *device)
{
    const QSizeF room = roomFor(font);
    const QSizeF needed = QFontMetricsF(font, device).boundingRect(QRectF(QPointF(0, 0), room), flags, text).size();
    return needed.width() <= room.width() + Slack && needed.height() <= room.height() + Slack;
}

// QLabel's indent in `font`: a label with a frame and no indent of its own
// keeps half an x from the frame on the sides it is aligned to.
int indentIn(const QLabel &label, const QFont &font)
{
    if (label.indent() >= 0 || !label.frameWidth())
        return label.indent();
    return QFontMetrics(font, &label).horizontalAdvance(u'x') / 2 - label.margin();
}

// The inside of `box` where QLabel draws a text aligned to `alignment`, `indent` in from those sides.
QRect lessIndent(QRect box, Qt::Alignment alignment, int indent)
{
    if (indent <= 0)
        return box;
    return box.adjusted(alignment & Qt::AlignLeft ? indent : 0, alignment & Qt::AlignTop ? indent : 0,
                        alignment & Qt::AlignRight ? -indent : 0, alignment & Qt::AlignBottom ? -indent : 0);
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
    // The label's box as it stands (the text's room is then found for each font).
    QRect box() const
    {
        if (m_room == TextRoom::ToParentEdge && m_label->parentWidget()) {
            const QSize parent = m_label->parentWidget()->size();
            return QRect(0, 0, parent.width() - m_label->x(), parent.height() - m_label->y());
        }
        const int margin = m_label->margin();
        return m_label->contentsRect().marginsRemoved(QMargins(margin, margin, margin, margin));
    }

    QSizeF roomFor(const QFont &font, QRect box) const
    {
        if (m_room == TextRoom::ToParentEdge)
            return box.size();
        const Qt::Alignment alignment = QStyle::visualAlignment(m_label->layoutDirection(), m_label->alignment());
        box = lessIndent(box, alignment, indentIn(*m_label, font));
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
        const QRect available = box();
        const QSizeF designedRoom = roomFor(m_designed, available);
        if (m_label->text() == m_text && designedRoom == m_designedRoom && m_label->font() == m_applied)
            return;
        m_text = m_label->text();
        m_designedRoom = designedRoom;
        const auto roomIn = [this, available](const QFont &font) { return roomFor(font, available); };
        const double points = m_label->text().isEmpty()
                                  ? m_designed.pointSizeF()
                                  : fittingPointSize(m_designed, m_text, roomIn, flags(), m_label);
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
    QSizeF m_designedRoom;
};

} // namespace

double largestFittingPoints(double designedPoints, const std::function<bool(double points)> &fits)
{
    if (designedPoints <= MinimumFitPoints || fits(designedPoints))
        return designedPoints;
    // Quarter points from the minimum up to just below the designed size.
    int low = static_cast<int>(std::ceil(MinimumFitPoints * 4));
    int high = static_cast<int>(std::ceil(designedPoints * 4)) - 1;
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        if (fits(middle / 4.0))
            low = middle;
        else
            high = middle - 1;
    }
    return low / 4.0;
}

double fittingPointSize(const QFont &designed, const QString &text, const RoomFor &room, int flags,
                        const QPaintDevice *device)
{
    return largestFittingPoints(designed.pointSizeF(), [&](double points) {
        return fits(withPoints(designed, points), text, room, flags, device);
    });
}

void keepTextInside(QLabel *label, TextRoom room)
{
    new LabelFitter(label, room);
}

} // namespace hoshi
