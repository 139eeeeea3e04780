// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every window's labels are made one way: named for tests and the screen
// reader, never focused, in a Japanese face that shrinks where its text would
// not fit.

#include "ui/fonts.h"
#include "ui/text_fit.h"
#include "ui/widget_look.h"

#include <QColor>

#include <optional>

class QLabel;
class QString;
class QWidget;

namespace hoshi {

struct LabelStyle {
    FontFace face = FontFace::Proportional;
    /// Points of the designed size, kept inside `room`; none: the
    /// application's font as it is (labels that are never seen).
    std::optional<double> pointSize = {};
    TextRoom room = TextRoom::Box;
    QColor text = {};                      ///< invalid: the palette's own
    std::optional<QColor> background = {}; ///< none: whatever lies behind shows through
    Qt::Alignment alignment = {};          ///< none: QLabel's own
    bool plainText = false;                ///< never read as rich text
    Area area = Area::Plain;               ///< how high contrast colours it
};

QLabel *makeLabel(QWidget *parent, const QString &name, const LabelStyle &style);

} // namespace hoshi
