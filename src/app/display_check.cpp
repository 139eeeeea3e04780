// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/display_check.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QtGlobal>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

#include <unistd.h>

namespace hoshi {

namespace {

// `japaneseWhy` and `englishWhy`, when given, say what could not be opened.
QString noDisplayMessage(const QString &program, const QString &japaneseWhy = {}, const QString &englishWhy = {})
{
    return QStringLiteral(
               "ほしのたまご: 画面(ディスプレイ)が見つかりません%1。デスクトップから起動してください。\n"
               "hoshinotamago: no display found%2. Start it from a desktop session, or run it under\n"
               "a virtual X server:  xvfb-run -a -s '-screen 0 1280x1024x24' %3")
        .arg(japaneseWhy.isEmpty() ? QString() : QStringLiteral("(%1)").arg(japaneseWhy),
             englishWhy.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(englishWhy), program);
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

// What the message handler below needs while QApplication is being made.
struct Opening {
    // A message Qt wrote while opening: held back, so that a failure shows
    // ours alone, and handed on in order once the display is open.
    struct Held {
        QtMsgType type;
        QByteArray file, function, category;
        int line;
        QString text;
    };
    QtMessageHandler previous = nullptr;
    QByteArray failure; // the whole message, with its newline
    std::mutex mutex;   // guards held: a message may come from another thread
    std::vector<Held> held;
};
Opening opening;

void handOn(QtMessageHandler handler, const Opening::Held &message)
{
    const QMessageLogContext context(message.file.constData(), message.line, message.function.constData(),
                                     message.category.constData());
    handler(message.type, context, message.text);
}

void handOnHeld()
{
    std::lock_guard lock(opening.mutex);
    for (const Opening::Held &message : opening.held)
        handOn(opening.previous, message);
    opening.held.clear();
}

void whileOpening(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    // Qt names its platform only once the platform integration is made: a
    // fatal message before that is the display (or its plugin) failing.
    if (type == QtFatalMsg && QGuiApplication::platformName().isEmpty()) {
        std::fflush(stderr);
        const char *bytes = opening.failure.constData();
        for (qsizetype left = opening.failure.size(); left > 0;) {
            const ssize_t written = ::write(STDERR_FILENO, bytes, static_cast<size_t>(left));
            if (written <= 0)
                break;
            bytes += written;
            left -= written;
        }
        // At once: Qt is half made, nothing of the program needs ending.
        ::_exit(2);
    }
    if (type == QtFatalMsg) {
        handOnHeld();
        opening.previous(type, context, text);
        return;
    }
    std::lock_guard lock(opening.mutex);
    opening.held.push_back({type, QByteArray(context.file), QByteArray(context.function),
                             QByteArray(context.category), context.line, text});
}

} // namespace

QString unopenedDisplayMessage(const CommandLine &commandLine, const DisplayEnvironment &environment,
                               const QString &program)
{
    const QString chosen = commandLine.platform.isEmpty() ? environment.qpaPlatform : commandLine.platform;
    QStringList platforms;
    for (const QString &entry : chosen.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        platforms << entry.section(QLatin1Char(':'), 0, 0); // "offscreen:configfile=…" is offscreen
    if (platforms.isEmpty()) // Qt's own pick: whichever display is named
        platforms = {QStringLiteral("xcb"), QStringLiteral("wayland")};
    const QString x11 = commandLine.display.isEmpty() ? environment.x11Display : commandLine.display;
    QStringList japanese;
    QStringList english;
    for (const QString &platform : platforms) {
        if (platform == QLatin1String("xcb")) {
            if (x11.isEmpty())
                continue;
            japanese << QStringLiteral("X の画面 %1 を開けません").arg(x11);
            english << QStringLiteral("cannot open X display %1").arg(x11);
        } else if (platform.startsWith(QLatin1String("wayland"))) {
            if (environment.waylandDisplay.isEmpty() && chosen.isEmpty())
                continue;
            // The Wayland client library's own default when none is named.
            const QString wayland = environment.waylandDisplay.isEmpty() ? QStringLiteral("wayland-0")
                                                                         : environment.waylandDisplay;
            japanese << QStringLiteral("Wayland の画面 %1 を開けません").arg(wayland);
            english << QStringLiteral("cannot open Wayland display %1").arg(wayland);
        } else {
            japanese << QStringLiteral("Qt の表示部品 %1 が使えません").arg(platform);
            english << QStringLiteral("cannot start Qt's platform plugin %1").arg(platform);
        }
    }
    japanese.removeDuplicates();
    english.removeDuplicates();
    return noDisplayMessage(program, japanese.join(QStringLiteral("、")), english.join(QStringLiteral("; ")));
}

std::unique_ptr<QApplication> openApplication(int &argc, char **argv, const CommandLine &commandLine)
{
    opening.failure = unopenedDisplayMessage(commandLine, currentDisplayEnvironment(),
                                             invocationName(QString::fromLocal8Bit(argv[0])))
                          .toUtf8()
                      + '\n';
    opening.previous = qInstallMessageHandler(whileOpening);
    auto app = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(opening.previous);
    handOnHeld();
    return app;
}

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
    // A plain prefix test: a name filter would start the regular-expression
    // engine, and its library, on every start.
    for (const QString &folder : pluginFolders) {
        const QStringList plugins = QDir(folder + QStringLiteral("/platforms")).entryList(QDir::Files);
        if (std::any_of(plugins.cbegin(), plugins.cend(),
                        [](const QString &name) { return name.startsWith(QLatin1String("libqwayland")); }))
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
