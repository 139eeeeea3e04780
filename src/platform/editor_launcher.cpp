#include "platform/editor_launcher.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

#include <utility>

namespace hoshi {

DesktopEditorLauncher::DesktopEditorLauncher()
    : m_candidates(&DesktopEditorLauncher::systemEditorCandidates)
{
}

DesktopEditorLauncher::DesktopEditorLauncher(CandidateSource candidates)
    : m_candidates(std::move(candidates))
{
}

QList<ProgramCommand> DesktopEditorLauncher::systemEditorCandidates()
{
#if defined(Q_OS_WIN)
    return {{QStringLiteral("notepad.exe"), {}}};
#elif defined(Q_OS_MACOS)
    return {{QStringLiteral("open"), {QStringLiteral("-a"), QStringLiteral("TextEdit")}}};
#else
    QList<ProgramCommand> candidates = desktopDefaultCommands(QStringLiteral("text/plain"));
    // xdg-open is no use here: without a file it opens nothing.
    const char *const common[] = {"gnome-text-editor", "gedit", "kate", "kwrite", "mousepad",
                                  "pluma", "xed", "leafpad", "featherpad"};
    for (const char *name : common)
        candidates << ProgramCommand{QString::fromLatin1(name), {}};
    return candidates;
#endif
}

bool DesktopEditorLauncher::startEditor()
{
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
