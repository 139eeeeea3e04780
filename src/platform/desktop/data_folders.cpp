// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/data_folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace hoshi {

QStringList programDataFolders()
{
    const QDir executableDir(QCoreApplication::applicationDirPath());
    return {executableDir.path(),
            QDir::cleanPath(executableDir.filePath(QStringLiteral("../") + QStringLiteral(HOSHI_DATA_SUBDIR)))};
}

QString sampleTextFolder(const QString &language)
{
    for (const QString &folder : programDataFolders()) {
        const QString texts = QDir(folder).filePath(QStringLiteral("texts/") + language);
        if (QFileInfo(texts).isDir())
            return QDir::cleanPath(texts);
    }
    return {};
}

} // namespace hoshi
