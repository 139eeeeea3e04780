// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/api/interfaces.h"
#include "platform/desktop/program_command.h"

#include <QList>

#include <functional>

namespace hoshi {

/// Starts a text editor without a file and never waits for it: the
/// desktop's default first, else the first of a candidate list that can be
/// found and started, detached and without a shell.
class DesktopEditorLauncher final : public EditorLauncher {
public:
    /// Starts the desktop's default editor; false when there is none or it failed.
    using DefaultStarter = std::function<bool()>;
    using CandidateSource = std::function<QList<ProgramCommand>()>;

    /// GIO's default for text/plain, then systemEditorCandidates(), looked up
    /// afresh at every start.
    DesktopEditorLauncher();
    DesktopEditorLauncher(DefaultStarter desktopDefault, CandidateSource candidates);

    bool startEditor() override;

private:
    DefaultStarter m_desktopDefault;
    CandidateSource m_candidates;
};

} // namespace hoshi
