// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/editor_launcher.h"

#include "platform/gio_launch.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

#include <utility>

namespace hoshi {

namespace {

constexpr int XdgMimeWaitMs = 3000;
const QString PlainText = QStringLiteral("text/plain");

#if !defined(Q_OS_WIN) && !defined(Q_OS_MACOS)
// The desktop entry `xdg-mime query default` names for the type; empty if none.
QString xdgMimeDefault(const QString &mimeType)
{
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty())
        return {};
    QProcess query;
    query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), mimeType});
    if (!query.waitForFinished(XdgMimeWaitMs) || query.exitCode() != 0) {
        query.kill();
        query.waitForFinished();
        return {};
    }
    return QString::fromUtf8(query.readAllStandardOutput()).section(u'\n', 0, 0).trimmed();
}
#endif

} // namespace

DesktopEditorLauncher::DesktopEditorLauncher()
    : DesktopEditorLauncher([] { return launchGioDefault(PlainText) == GioLaunch::Started; },
                            &DesktopEditorLauncher::systemEditorCandidates)
{
}

DesktopEditorLauncher::DesktopEditorLauncher(DefaultStarter desktopDefault, CandidateSource candidates)
    : m_desktopDefault(std::move(desktopDefault))
    , m_candidates(std::move(candidates))
{
}

QList<ProgramCommand> DesktopEditorLauncher::systemEditorCandidates()
{
#if defined(Q_OS_WIN)
    return {{QStringLiteral("notepad.exe"), {}}};
#elif defined(Q_OS_MACOS)
    return {{QStringLiteral("open"), {QStringLiteral("-a"), QStringLiteral("TextEdit")}}};
#else
    QList<ProgramCommand> candidates;
    if (const std::optional<ProgramCommand> desktopDefault = commandOfDesktopId(xdgMimeDefault(PlainText)))
        candidates << *desktopDefault;
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
