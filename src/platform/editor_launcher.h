#pragma once

#include "platform/desktop_entry.h"
#include "platform/services.h"

#include <QList>

#include <functional>

namespace hoshi {

/// Starts the first text editor of a candidate list that can be found and
/// started: detached, without a shell, without a file, never waiting for it.
class DesktopEditorLauncher final : public EditorLauncher {
public:
    using CandidateSource = std::function<QList<ProgramCommand>()>;

    /// Tries systemEditorCandidates(), looked up afresh at every start.
    DesktopEditorLauncher();
    explicit DesktopEditorLauncher(CandidateSource candidates);

    bool startEditor() override;

    /// Notepad on Windows; on Linux the desktop's default text editor, then
    /// the common graphical editors by name.
    static QList<ProgramCommand> systemEditorCandidates();

private:
    CandidateSource m_candidates;
};

} // namespace hoshi
