#pragma once
// Reading the freedesktop files that name the desktop's default applications.

#include <QString>
#include <QStringList>

#include <optional>

namespace hoshi {

/// A program to start and its arguments; started directly, never by a shell.
struct ProgramCommand {
    QString program;
    QStringList arguments;

    bool operator==(const ProgramCommand &) const = default;
};

/// The command line of a desktop entry (the text of a .desktop file), for
/// starting the application without a file: quoting undone, field codes such
/// as %F dropped. None when the entry is hidden, runs in a terminal, is not
/// an application or has no usable Exec line.
std::optional<ProgramCommand> commandOfDesktopEntry(const QString &entryText);

/// The application ids a mimeapps.list text names as defaults for a type.
QStringList defaultsInMimeApps(const QString &listText, const QString &mimeType);

/// The commands of the desktop's default applications for a type, most
/// important first, from the mimeapps.list files in the standard folders.
QList<ProgramCommand> desktopDefaultCommands(const QString &mimeType);

} // namespace hoshi
