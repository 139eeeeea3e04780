// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/editor_launcher.h"

#include "platform/desktop/editor_candidates.h"
#include "platform/desktop/gio_launch.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

#include <utility>

namespace hoshi {

namespace {

const QString PlainText = QStringLiteral("text/plain");

} // namespace

DesktopEditorLauncher::DesktopEditorLauncher()
    : DesktopEditorLauncher([] { return launchGioDefault(PlainText) == GioLaunch::Started; },
                            &systemEditorCandidates)
{
}

DesktopEditorLauncher::DesktopEditorLauncher(DefaultStarter desktopDefault, CandidateSource candidates)
    : m_desktopDefault(std::move(desktopDefault))
    , m_candidates(std::move(candidates))
{
}

bool DesktopEditorLauncher::startEditor()
{
    if (m_desktopDefault && m_desktopDefault())
        return true;
    const QList<ProgramCommand> candidates = m_candidates();
    for (const ProgramCommand &candidate : candidates) {
        const QString program = QStandardPaths::findExecutable(candidate.program);
        if (program.isEmpty())
            continue;
        // The home folder, so the editor's save dialog does not open wherever we were started.
        if (QProcess::startDetached(program, candidate.arguments, QDir::homePath()))
            return true;
    }
    return false;
}

} // namespace hoshi
