// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/say_text.h"

class QWidget;

namespace hoshi {

/// The one version box behind every window's version menu entry; modal. Its
/// text is said once, just before it opens; once it is closed the title of
/// the window under it is hinted.
void showVersionBox(QWidget *parent, const SayText &say);

} // namespace hoshi
