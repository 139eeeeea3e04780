// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How every dialog and message box looks: large type and a focus frame that a
// low-vision child can see.

#include <QFont>

class QWidget;

namespace hoshi {

/// Larger than the menus' 16 points.
inline constexpr double DialogPoints = 20;

/// The Japanese proportional face at DialogPoints.
QFont dialogFont();

/// Gives the dialog, and the boxes it opens itself, the large type, a thick
/// orange frame around the control that has the focus and a black-on-yellow
/// selection.
void applyDialogLook(QWidget *dialog);

} // namespace hoshi
