// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <functional>
#include <memory>

namespace hoshi {

class ModeWindow;

/// The six mode windows, each created on first use and kept until the end.
class ModeWindows {
public:
    static constexpr int Count = 6;
    using Factory = std::function<std::unique_ptr<ModeWindow>()>;

    ModeWindows();
    ~ModeWindows();

    /// mode is 1 to 6, as numbered in the launcher.
    void setFactory(int mode, Factory factory);
    /// What a mode window's request to end the whole program does.
    void setEndProgram(std::function<void()> endProgram);
    /// Opens the mode's window; a mode without a window yet opens nothing.
    void open(int mode);
    /// The window of a mode if it was created, for tests and the launcher.
    ModeWindow *window(int mode) const;

private:
    std::array<Factory, Count> m_factories;
    std::function<void()> m_endProgram;
    std::array<std::unique_ptr<ModeWindow>, Count> m_windows;
};

} // namespace hoshi
