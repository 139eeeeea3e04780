// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace hoshi {

class ModeWindow;

/// One mode as the launcher offers it.
struct Mode {
    int number = 0;  ///< its entry's number and digit key, 1 to 9
    QString caption; ///< its entry's caption
    std::function<std::unique_ptr<ModeWindow>()> makeWindow;
};

/// The launcher's modes, each window made on first use and kept until the end.
class ModeRegistry {
public:
    explicit ModeRegistry(std::vector<Mode> modes);
    ~ModeRegistry();

    const std::vector<Mode> &modes() const { return m_modes; }
    /// What a mode window's request to end the whole program does.
    void setEndProgram(std::function<void()> endProgram);
    /// Opens the mode's window; an unknown number opens nothing.
    void open(int number);
    /// The window of a mode if it was made, for tests and the launcher.
    ModeWindow *window(int number) const;

private:
    int indexOf(int number) const;

    std::vector<Mode> m_modes;
    std::function<void()> m_endProgram;
    std::vector<std::unique_ptr<ModeWindow>> m_windows;
};

} // namespace hoshi
