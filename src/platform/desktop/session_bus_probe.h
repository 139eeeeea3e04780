// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include <chrono>

namespace hoshi {

/// What a session bus said when asked to begin talking.
enum class BusAnswer {
    Answered,   ///< it answered within the deadline
    Silent,     ///< it took the connection and said nothing in time
    Unreachable ///< nothing there, or an address this check does not know
};

/// Opens the bus at a D-Bus address ("unix:path=..." or "unix:abstract=...")
/// and waits at most `deadline` for its answer to the first words of the
/// protocol. Never waits longer, whatever the other end does.
BusAnswer probeBus(const QByteArray &address, std::chrono::milliseconds deadline);

/// Qt asks the session bus for menus, the screen reader and settings on the
/// user-interface thread and waits for each answer. A bus that takes the
/// connection and never answers would hold the first window back for good:
/// such a bus is not used for this run, and standard error says so once.
void avoidSilentSessionBus(std::chrono::milliseconds deadline = std::chrono::milliseconds(500));

/// The accessibility bus the desktop's bus launcher hands out on the session
/// bus, asked for within `deadline` (empty: no launcher running, or none answered).
QByteArray launchedAccessibilityBus(std::chrono::milliseconds deadline);

/// The same for the accessibility bus, named by AT_SPI_BUS_ADDRESS or handed
/// out by the launcher, which Qt joins on the user-interface thread, waiting
/// for its answer.
void avoidSilentAccessibilityBus(std::chrono::milliseconds deadline = std::chrono::milliseconds(500));

} // namespace hoshi
