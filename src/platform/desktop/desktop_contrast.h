// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether the desktop asks for high contrast: GNOME's accessibility setting,
// read through GSettings. GIO is loaded only when asked, and where it or the
// setting's schema is missing there is no answer.

#include <chrono>
#include <functional>
#include <future>
#include <optional>

namespace hoshi {

std::optional<bool> desktopHighContrast();

/// Asks on a thread of its own from construction, so that loading GIO and
/// reading the setting overlap the program's start; a desktop that has not
/// answered in time (a stuck settings service) counts as no answer.
class DesktopContrastQuery {
public:
    explicit DesktopContrastQuery(std::function<std::optional<bool>()> ask = desktopHighContrast);
    /// The answer, waiting at most `most` for it.
    std::optional<bool> answer(std::chrono::milliseconds most) const;

private:
    std::shared_future<std::optional<bool>> m_answer;
};

} // namespace hoshi
