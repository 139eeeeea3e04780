// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <memory>
#include <vector>

namespace hoshi {

class AppServices;
class ModeRegistry;
class ModeWindow;

/// One row of the program's table of modes.
struct ModeEntry {
    int number;
    QString caption;
    std::unique_ptr<ModeWindow> (*makeWindow)(AppServices &services);
};

/// The six modes, in the launcher's order.
const std::vector<ModeEntry> &modeTable();

/// The launcher's registry of the table's modes, made with these services.
std::unique_ptr<ModeRegistry> makeModeRegistry(AppServices &services);

} // namespace hoshi
