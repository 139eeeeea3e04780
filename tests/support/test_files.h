// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Files the tests write for themselves in a temporary folder.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

namespace hoshi::testing {

/// Writes bytes to path, making its folders; executable for a program.
inline void writeFileAt(const QString &path, const QByteArray &bytes, bool executable = false)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    file.close();
    if (executable)
        file.setPermissions(file.permissions() | QFile::ExeOwner | QFile::ExeUser);
}

/// Writes bytes to name in folder and returns the path; a test cannot go on without it.
inline QString writeTestFile(const QTemporaryDir &folder, const QString &name, const QByteArray &bytes)
{
    writeFileAt(folder.filePath(name), bytes);
    return folder.filePath(name);
}

} // namespace hoshi::testing
