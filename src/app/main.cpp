// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/modules/app_services.h"
#include "platform/modules/deferred_media.h"
#include "platform/desktop/desktop_contrast.h"
#include "platform/desktop/qt_translations.h"
#include "platform/desktop/session_bus_probe.h"
#include "app/app_identity.h"
#include "app/app_records.h"
#include "app/command_line.h"
#include "app/display_check.h"
#include "app/first_paint.h"
#include "app/mode_table.h"
#include "app/run_choices.h"
#include "launcher/launcher_window.h"
#include "launcher/mode_registry.h"
#include "records/record_keeper.h"
#include "records/records_csv.h"
#include "settings/settings_file.h"
#include "ui/fonts.h"
#include "ui/menu_look.h"
#include "ui/mode_window.h"
#include "ui/version_info.h"
#include "ui/widget_look.h"

#include <QApplication>
#include <QTextStream>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

// How long the first paint waits for the desktop's contrast setting.
constexpr std::chrono::milliseconds DesktopAnswerWait{300};

// --check-sounds: where each cue file is found; fails when one would beep.
int checkSounds(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const auto sound = hoshi::AppServices::soundModule();
    const hoshi::SoundModule *module = sound->get();
    return module && module->checkCueFiles(out) ? 0 : 1;
}

// --export-records FILE: every run kept, as CSV, without a window.
int exportRecords(int argc, char **argv, const QString &file)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("hoshinotamago"));
    QString error;
    const int status = hoshi::exportRecords(hoshi::RecordKeeper::defaultPath(), file, error);
    if (status != 0)
        std::fprintf(stderr, "%s\n", error.toUtf8().constData());
    return status;
}

// The launcher and the mode windows, until the program is ended.
int runWindows(int argc, char **argv, const hoshi::CommandLine &commandLine)
{
    // Register on the accessibility bus even when no screen reader runs yet,
    // so one started later finds the program.
    if (!qEnvironmentVariableIsSet("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"))
        qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    hoshi::avoidSilentSessionBus();
    hoshi::avoidSilentAccessibilityBus();
    const hoshi::DesktopContrastQuery desktopContrast;
    // The menu bar stays in the window: a desktop's global menu is reached over
    // the session bus, and the window would wait for it.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    // A display that is named but does not open ends here with status 2.
    const std::unique_ptr<QApplication> app = hoshi::openApplication(argc, argv, commandLine);
    hoshi::installQtJapanese(*app);
    QApplication::setApplicationName(QStringLiteral("hoshinotamago"));
    QApplication::setApplicationVersion(hoshi::versionNumber());
    hoshi::setDesktopIdentity();
    // Menus large enough for a low-vision helper to read, in a Japanese face.
    hoshi::useLargeMenus();

    // A settings file that cannot be used is said once: at once on standard
    // error, and in the voice once the launcher is heard.
    hoshi::Announcer *heard = nullptr;
    QStringList untold;
    hoshi::SettingsFile settings(hoshi::SettingsFile::standardPath(),
                                 [&heard, &untold](const hoshi::SettingsTrouble &trouble) {
                                     std::fprintf(stderr, "hoshinotamago: %s / %s\n", trouble.japanese.toUtf8().constData(),
                                                  trouble.english.toUtf8().constData());
                                     if (heard)
                                         heard->hint(trouble.japanese);
                                     else
                                         untold << trouble.japanese;
                                 });
    const hoshi::RunChoices run = hoshi::runChoices(commandLine, settings.preferences(), [&desktopContrast] {
        return desktopContrast.answer(DesktopAnswerWait);
    });
    if (run.highContrast)
        hoshi::useContrast(hoshi::Contrast::High);

    hoshi::AppServices services(run.voice);
    services.setPreferences(&settings);
    hoshi::AppRecords records(commandLine.records, services.announcer());
    const std::unique_ptr<hoshi::ModeRegistry> modes = hoshi::makeModeRegistry(
        services, {records.recorder(), [&records](hoshi::ModeWindow &window, int number) {
                       records.addEntries(window, number);
                   }});
    modes->setEndProgram([] { QCoreApplication::exit(0); });

    services.setSpeechRate(settings.preferences().speechRate);
    const hoshi::LauncherSettings launcherSettings{
        .preferences = &settings,
        .voiceChosen = [&services](hoshi::Preferences::Voice voice) { services.setVoiceChoice(hoshi::voiceChoiceOf(voice)); },
        .rateChosen = [&services](std::optional<int> rate) { services.setSpeechRate(rate); },
        .highContrastOn = run.highContrast};
    hoshi::LauncherWindow launcher(*modes, services.announcer(), launcherSettings);
    records.addEntries(launcher, 0);
    QObject::connect(&launcher, &hoshi::LauncherWindow::endProgramRequested, app.get(),
                     [] { QCoreApplication::exit(0); });
    QObject::connect(&launcher, &hoshi::LauncherWindow::recordsRequested, app.get(),
                     [&records] { records.openWindow(); });
    // The icon theme, sound, speech, the dictionary and the records are slow to start: after the first paint.
    hoshi::runAfterFirstPaint(launcher, [&services, &records, &heard, &untold] {
        hoshi::setWindowIconFromTheme();
        services.startAfterFirstPaint();
        records.start();
        heard = &services.announcer();
        for (const QString &trouble : std::exchange(untold, {}))
            heard->hint(trouble);
    });
    launcher.show();
    return QApplication::exec();
}

} // namespace

int main(int argc, char **argv)
{
    const hoshi::CommandLine commandLine = hoshi::parseCommandLine(hoshi::argumentsOf(argc, argv));
    if (commandLine.action == hoshi::CommandLine::Action::Answer)
        return hoshi::writeAnswer(commandLine, stdout, stderr);
    if (commandLine.action == hoshi::CommandLine::Action::CheckSounds)
        return checkSounds(argc, argv);
    if (commandLine.action == hoshi::CommandLine::Action::ExportRecords)
        return exportRecords(argc, argv, commandLine.exportFile);
    if (!hoshi::prepareDisplay(commandLine, QString::fromLocal8Bit(argv[0])))
        return 2;

    const int status = runWindows(argc, argv, commandLine);
    // A cue thread stuck on a sound server holds a lock that the sound
    // library's clean-up at exit would wait for: end without it.
    if (hoshi::DeferredCuePlayer::leftBehind()) {
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}
