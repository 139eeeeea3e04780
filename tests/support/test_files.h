// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Files the tests write for themselves in a temporary folder.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

namespace hoshi::testing {

/// Writes bytes to name in folder and returns the path; a test cannot go on without it.
inline QString writeTestFile(const QTemporaryDir &folder, const QString &name, const QByteArray &bytes)
{
    QFile file(folder.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(file.fileName()));
    return file.fileName();
}

} // namespace hoshi::testing
