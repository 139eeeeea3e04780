// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/editor_candidates.h"

#include "platform/linux/desktop_entry.h"

#include <QProcess>
#include <QStandardPaths>

namespace hoshi {

namespace {

constexpr int XdgMimeWaitMs = 3000;

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

} // namespace

QList<ProgramCommand> systemEditorCandidates()
{
    QList<ProgramCommand> candidates;
    if (const std::optional<ProgramCommand> desktopDefault =
            commandOfDesktopId(xdgMimeDefault(QStringLiteral("text/plain"))))
        candidates << *desktopDefault;
    // xdg-open is no use here: without a file it opens nothing.
    const char *const common[] = {"gnome-text-editor", "gedit", "kate", "kwrite", "mousepad",
                                  "pluma", "xed", "leafpad", "featherpad"};
    for (const char *name : common)
        candidates << ProgramCommand{QString::fromLatin1(name), {}};
    return candidates;
}

} // namespace hoshi
