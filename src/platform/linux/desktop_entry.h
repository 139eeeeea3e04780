// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading the command of a freedesktop application entry.

#include "platform/desktop/program_command.h"

#include <optional>

namespace hoshi {

/// The command line of a desktop entry (the text of a .desktop file), for
/// starting the application without a file: quoting undone, field codes such
/// as %F dropped. None when the entry is hidden, runs in a terminal, is not
/// an application or has no usable Exec line.
std::optional<ProgramCommand> commandOfDesktopEntry(const QString &entryText);

/// The command of the installed desktop entry with that id (such as
/// "org.gnome.gedit.desktop"); none when there is no usable one.
std::optional<ProgramCommand> commandOfDesktopId(const QString &id);

} // namespace hoshi
