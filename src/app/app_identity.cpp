// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/app_identity.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>

namespace hoshi {

namespace {

const QString appId = QStringLiteral(HOSHI_APP_ID);

} // namespace

void setWindowIconFromTheme()
{
    // The installed tree's own icon first, wherever its prefix is (the build
    // tree mirrors that layout): opening one known file costs far less than a
    // theme lookup, which reads every icon folder of the desktop's themes.
    const QString own = QDir::cleanPath(QCoreApplication::applicationDirPath()
                                        + QStringLiteral("/../share/icons/hicolor/scalable/apps/") + appId
                                        + QStringLiteral(".svg"));
    const QIcon icon = QFileInfo::exists(own) ? QIcon(own) : QIcon::fromTheme(appId);
    if (!icon.isNull())
        QApplication::setWindowIcon(icon);
}

void setDesktopIdentity()
{
    QGuiApplication::setDesktopFileName(appId);
}

} // namespace hoshi
