// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace hoshi {

class AppServices;
class ModeRegistry;
class ModeWindow;
class RunRecorder;

/// What every mode window gets beyond its platform services: the recorder of
/// its finished runs (none with --no-records), and what the app adds to it
/// once made (the records entries of its menu bar).
struct ModeExtras {
    RunRecorder *recorder = nullptr;
    std::function<void(ModeWindow &window, int number)> decorate;
};

/// One row of the program's table of modes.
struct ModeEntry {
    int number;
    QString caption;
    std::unique_ptr<ModeWindow> (*makeWindow)(AppServices &services, RunRecorder *recorder);
};

/// The six modes, in the launcher's order.
const std::vector<ModeEntry> &modeTable();

/// The launcher's registry of the table's modes, made with these services.
std::unique_ptr<ModeRegistry> makeModeRegistry(AppServices &services, ModeExtras extras = {});

} // namespace hoshi
