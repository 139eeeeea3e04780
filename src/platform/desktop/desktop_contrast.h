// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether the desktop asks for high contrast: GNOME's accessibility setting,
// read through GSettings. GIO is loaded only when asked, and where it or the
// setting's schema is missing there is no answer.

#include <optional>

namespace hoshi {

std::optional<bool> desktopHighContrast();

} // namespace hoshi
