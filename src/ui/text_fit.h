// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// No text is ever cut off: where a text does not fit its room at its designed
// size (a small screen, a large scale factor) it is drawn smaller, just
// enough to fit; where it fits, the designed size stays.

#include <QFont>
#include <QSizeF>

#include <functional>

class QLabel;
class QPaintDevice;
class QString;

namespace hoshi {

/// Below this a text is not shrunk further, fit or not.
inline constexpr double MinimumFitPoints = 6;

/// The largest size up to the designed one, in quarter points down to the
/// minimum, at which `fits` holds; the minimum when none does.
double largestFittingPoints(double designedPoints, const std::function<bool(double points)> &fits);

/// The room a text has when drawn in a font: a label's indent is a share of its font.
using RoomFor = std::function<QSizeF(const QFont &)>;

/// The point size at which the text, drawn with the Qt::AlignmentFlag and
/// Qt::TextFlag `flags` on `device`, fits its room: the designed font's where
/// it fits, else the largest quarter point below it that does.
double fittingPointSize(const QFont &designed, const QString &text, const RoomFor &room, int flags,
                        const QPaintDevice *device);

enum class TextRoom {
    Box,         ///< the label's own rectangle, set by the layout
    ToParentEdge ///< a label sized to its text: from its corner to its parent's far edges
};

/// From now on the label draws its text at the largest size up to its font at
/// this call (or the one a window sets later) at which the text fits.
void keepTextInside(QLabel *label, TextRoom room = TextRoom::Box);

} // namespace hoshi
