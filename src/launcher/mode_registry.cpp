// SPDX-License-Identifier: GPL-3.0-or-later
#include "launcher/mode_registry.h"

#include "ui/mode_window.h"

#include <algorithm>

namespace hoshi {

ModeRegistry::ModeRegistry(std::vector<Mode> modes)
    : m_modes(std::move(modes))
    , m_windows(m_modes.size())
{
}

ModeRegistry::~ModeRegistry() = default;

int ModeRegistry::indexOf(int number) const
{
    const auto found = std::find_if(m_modes.begin(), m_modes.end(),
                                    [number](const Mode &mode) { return mode.number == number; });
    return found == m_modes.end() ? -1 : static_cast<int>(found - m_modes.begin());
}

void ModeRegistry::setEndProgram(std::function<void()> endProgram)
{
    m_endProgram = std::move(endProgram);
}

void ModeRegistry::open(int number)
{
    const int index = indexOf(number);
    if (index < 0)
        return;
    auto &window = m_windows[static_cast<std::size_t>(index)];
    const Mode &mode = m_modes[static_cast<std::size_t>(index)];
    if (!window && mode.makeWindow) {
        window = mode.makeWindow();
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

ModeWindow *ModeRegistry::window(int number) const
{
    const int index = indexOf(number);
    return index < 0 ? nullptr : m_windows[static_cast<std::size_t>(index)].get();
}

} // namespace hoshi
