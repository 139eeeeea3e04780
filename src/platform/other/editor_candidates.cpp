// SPDX-License-Identifier: GPL-3.0-or-later
// Where no freedesktop entries exist: the system's own editor.
#include "platform/desktop/editor_candidates.h"

namespace hoshi {

QList<ProgramCommand> systemEditorCandidates()
{
#if defined(Q_OS_MACOS)
    return {{QStringLiteral("open"), {QStringLiteral("-a"), QStringLiteral("TextEdit")}}};
#else
    return {{QStringLiteral("notepad.exe"), {}}};
#endif
}

} // namespace hoshi
