// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class QWidget;

namespace hoshi {

/// Runs `task` once, when control returns to the event loop after the
/// window's first paint.
void runAfterFirstPaint(QWidget &window, std::function<void()> task);

} // namespace hoshi
