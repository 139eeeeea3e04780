// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/app_identity.h"

#include <QApplication>
#include <QDir>
#include <QIcon>

namespace hoshi {

namespace {

const QString appId = QStringLiteral(HOSHI_APP_ID);

} // namespace

void setWindowIconFromTheme()
{
    // The installed tree's own icons first, wherever its prefix is; the
    // build tree mirrors that layout, so a build finds its icon as well.
    const QString own = QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/icons"));
    QStringList paths = QIcon::themeSearchPaths();
    if (!paths.contains(own)) {
        paths.prepend(own);
        QIcon::setThemeSearchPaths(paths);
    }
    const QIcon icon = QIcon::fromTheme(appId);
    if (!icon.isNull())
        QApplication::setWindowIcon(icon);
}

void setDesktopIdentity()
{
    QGuiApplication::setDesktopFileName(appId);
}

} // namespace hoshi
