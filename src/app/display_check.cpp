// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/display_check.h"

#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QtGlobal>

#include <cstdio>

namespace hoshi {

namespace {

QString noDisplayMessage(const QString &program)
{
    return QStringLiteral(
               "ほしのたまご: 画面(ディスプレイ)が見つかりません。デスクトップから起動してください。\n"
               "hoshinotamago: no display found. Start it from a desktop session, or run it under\n"
               "a virtual X server:  xvfb-run -a -s '-screen 0 1280x1024x24' %1")
        .arg(program);
}

QString waylandPluginMessage()
{
    return QStringLiteral(
        "ほしのたまご: Wayland で表示する Qt の部品がありません。root で apt-get install qt6-wayland を実行してください。\n"
        "hoshinotamago: Qt's Wayland platform plugin is not installed; run `apt-get install qt6-wayland`\n"
        "as root, or set DISPLAY to use an X server (Xwayland).");
}

bool namesWayland(const QString &platform)
{
    return platform.section(QLatin1Char(';'), 0, 0).startsWith(QLatin1String("wayland"));
}

} // namespace

DisplayChoice chooseDisplay(const CommandLine &commandLine, const DisplayEnvironment &environment,
                            const QString &program)
{
    const QString chosen = commandLine.platform.isEmpty() ? environment.qpaPlatform : commandLine.platform;
    if (!chosen.isEmpty()) {
        // The user named a platform: only a missing Wayland plugin is worth a word.
        if (namesWayland(chosen) && !environment.waylandPluginInstalled)
            return {QString(), waylandPluginMessage()};
        return {};
    }
    const bool x11 = !environment.x11Display.isEmpty() || !commandLine.display.isEmpty();
    const bool wayland = !environment.waylandDisplay.isEmpty() && environment.waylandSocketFound;
    if (wayland && environment.waylandPluginInstalled)
        return {};
    if (x11)
        return {environment.waylandDisplay.isEmpty() ? QString() : QStringLiteral("xcb"), QString()};
    if (wayland)
        return {QString(), waylandPluginMessage()};
    return {QString(), noDisplayMessage(program)};
}

DisplayEnvironment currentDisplayEnvironment()
{
    DisplayEnvironment environment;
    environment.qpaPlatform = qEnvironmentVariable("QT_QPA_PLATFORM");
    environment.x11Display = qEnvironmentVariable("DISPLAY");
    environment.waylandDisplay = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (!environment.waylandDisplay.isEmpty()) {
        const QString socket = QDir::isAbsolutePath(environment.waylandDisplay)
                                   ? environment.waylandDisplay
                                   : qEnvironmentVariable("XDG_RUNTIME_DIR") + QLatin1Char('/')
                                         + environment.waylandDisplay;
        environment.waylandSocketFound = QFileInfo::exists(socket);
    }
    QStringList pluginFolders = qEnvironmentVariable("QT_PLUGIN_PATH").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    pluginFolders << QLibraryInfo::path(QLibraryInfo::PluginsPath);
    for (const QString &folder : pluginFolders) {
        if (!QDir(folder + QStringLiteral("/platforms")).entryList({QStringLiteral("libqwayland*")}, QDir::Files).isEmpty())
            environment.waylandPluginInstalled = true;
    }
    return environment;
}

bool prepareDisplay(const CommandLine &commandLine, const QString &argument0)
{
#if defined(Q_OS_LINUX)
    const DisplayChoice choice = chooseDisplay(commandLine, currentDisplayEnvironment(), invocationName(argument0));
    if (!choice.error.isEmpty()) {
        std::fprintf(stderr, "%s\n", choice.error.toUtf8().constData());
        return false;
    }
    if (!choice.platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", choice.platform.toUtf8());
#else
    Q_UNUSED(commandLine)
    Q_UNUSED(argument0)
#endif
    return true;
}

} // namespace hoshi
