// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/command_line.h"

#include <QString>

#include <memory>

class QApplication;

namespace hoshi {

/// What decides which window system Qt can reach.
struct DisplayEnvironment {
    QString qpaPlatform;    ///< QT_QPA_PLATFORM
    QString x11Display;     ///< DISPLAY
    QString waylandDisplay; ///< WAYLAND_DISPLAY
    bool waylandSocketFound = false;
    bool waylandPluginInstalled = false;
};

struct DisplayChoice {
    /// Qt is to use this platform (QT_QPA_PLATFORM) instead of its own pick.
    QString platform;
    /// Why the program cannot start, for standard error; empty when it can.
    QString error;
};

/// Without Qt's Wayland plugin or a Wayland socket Qt would abort: use X11
/// where a DISPLAY exists, else say what is missing. `program` is the
/// invocation for the hint.
DisplayChoice chooseDisplay(const CommandLine &commandLine, const DisplayEnvironment &environment,
                            const QString &program);

DisplayEnvironment currentDisplayEnvironment();

/// Applies the choice before QApplication exists; false (the reason on
/// standard error) when there is no display to start on.
bool prepareDisplay(const CommandLine &commandLine, const QString &argument0);

/// The no-display message for a display that is named but cannot be opened:
/// it names the X display, the Wayland display or the platform plugin that
/// Qt was to use, as far as the command line and `environment` tell.
QString unopenedDisplayMessage(const CommandLine &commandLine, const DisplayEnvironment &environment,
                               const QString &program);

/// Makes the QApplication. Should Qt fail to make its platform integration
/// (no X server or compositor answers, a plugin is missing or broken), the
/// program ends there with unopenedDisplayMessage() on standard error and
/// status 2, where Qt itself would abort with its own text.
std::unique_ptr<QApplication> openApplication(int &argc, char **argv, const CommandLine &commandLine);

} // namespace hoshi
