// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/app_identity.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QIcon>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace hoshi {

namespace {

const QString appId = QStringLiteral(HOSHI_APP_ID);

void setThemeIcon()
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

class FirstPaintWatch final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, qApp, setThemeIcon);
            deleteLater();
        }
        return false;
    }
};

} // namespace

void setDesktopIdentity()
{
    QGuiApplication::setDesktopFileName(appId);
}

void setWindowIconAfterFirstPaint(QWidget &window)
{
    window.installEventFilter(new FirstPaintWatch(&window));
}

} // namespace hoshi
