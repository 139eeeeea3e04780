// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/desktop/program_command.h"

#include <QList>

namespace hoshi {

/// The editors to try, in order, looked up afresh at every call: Notepad on
/// Windows; on Linux the default that `xdg-mime` names for text/plain, then
/// the common graphical editors by name.
QList<ProgramCommand> systemEditorCandidates();

} // namespace hoshi
