// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/mode_windows.h"

#include "shell/mode_window.h"

namespace hoshi {

namespace {
bool validMode(int mode)
{
    return mode >= 1 && mode <= ModeWindows::Count;
}
} // namespace

ModeWindows::ModeWindows() = default;
ModeWindows::~ModeWindows() = default;

void ModeWindows::setFactory(int mode, Factory factory)
{
    if (validMode(mode))
        m_factories[mode - 1] = std::move(factory);
}

void ModeWindows::setEndProgram(std::function<void()> endProgram)
{
    m_endProgram = std::move(endProgram);
}

void ModeWindows::open(int mode)
{
    if (!validMode(mode))
        return;
    auto &window = m_windows[mode - 1];
    if (!window && m_factories[mode - 1]) {
        window = m_factories[mode - 1]();
        if (window) {
            QObject::connect(window.get(), &ModeWindow::endProgramRequested, window.get(), [this] {
                if (m_endProgram)
                    m_endProgram();
            });
        }
    }
    if (window)
        window->open();
}

ModeWindow *ModeWindows::window(int mode) const
{
    return validMode(mode) ? m_windows[mode - 1].get() : nullptr;
}

} // namespace hoshi
