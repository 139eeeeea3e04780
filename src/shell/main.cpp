#include "platform/app_services.h"
#include "platform/qt_translations.h"
#include "shell/launcher_window.h"
#include "shell/mode_factories.h"
#include "shell/mode_windows.h"
#include "shell/first_paint.h"
#include "shell/version_info.h"
#include "shell/window_services.h"

#include <QApplication>
#include <QTextStream>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Answers --version and --help without opening a window; true if it did.
bool answerCommandLine(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("hoshinotamago (%s) %s\n", hoshi::productName().toUtf8().constData(),
                        hoshi::versionNumber().toUtf8().constData());
            return true;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::printf("使い方: hoshinotamago [Qt のオプション]\n"
                        "Usage: hoshinotamago [Qt options]\n\n"
                        "キーボード練習ソフト ほしのたまご。起動するとランチャーが開きます。\n"
                        "A keyboard typing tutor; it starts into its launcher.\n\n"
                        "  --version       バージョンを表示 / print the version\n"
                        "  --help          この説明を表示 / print this help\n"
                        "  --check-sounds  効果音ファイルの場所を確認 / show where the sound files are found\n"
                        "  --voice         スクリーンリーダーが動いていても読み上げる\n"
                        "                  / the built-in voice speaks even when a screen reader runs\n"
                        "  --no-voice      読み上げの声を出さない(クリップボードは使う)\n"
                        "                  / no built-in voice, for your own clipboard reader\n\n"
                        "読み上げは speech-dispatcher の日本語の声で行います。スクリーンリーダー(Orca)が\n"
                        "動いているときは、読み上げをスクリーンリーダーに渡します。\n"
                        "The built-in voice speaks Japanese through speech-dispatcher; when a screen\n"
                        "reader (Orca) runs, what is to be heard goes to the screen reader instead.\n");
            return true;
        }
    }
    return false;
}

bool hasArgument(int argc, char **argv, const char *name)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], name) == 0)
            return true;
    }
    return false;
}

hoshi::VoiceChoice voiceChoice(int argc, char **argv)
{
    hoshi::VoiceChoice choice = hoshi::VoiceChoice::Auto;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--voice") == 0)
            choice = hoshi::VoiceChoice::Always;
        else if (std::strcmp(argv[i], "--no-voice") == 0)
            choice = hoshi::VoiceChoice::Never;
    }
    return choice;
}

// On Linux a desktop program needs a display; say how to get one.
bool displayMissing(int argc, char **argv)
{
#if defined(Q_OS_LINUX)
    // Qt's own -platform and -display options name one.
    for (const char *option : {"-platform", "--platform", "-display", "--display"}) {
        if (hasArgument(argc, argv, option))
            return false;
    }
    const char *platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform)
        return false;
    const char *x11 = std::getenv("DISPLAY");
    const char *wayland = std::getenv("WAYLAND_DISPLAY");
    return !(x11 && *x11) && !(wayland && *wayland);
#else
    return false;
#endif
}

// --check-sounds: where each cue file is found; fails when one would beep.
int checkSounds(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const auto sound = hoshi::AppServices::soundModule();
    const hoshi::SoundModule *module = sound->get();
    return module && module->checkCueFiles(out) ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (answerCommandLine(argc, argv))
        return 0;
    if (hasArgument(argc, argv, "--check-sounds"))
        return checkSounds(argc, argv);
    if (displayMissing(argc, argv)) {
        std::fprintf(stderr,
                     "ほしのたまご: 画面(ディスプレイ)が見つかりません。デスクトップから起動してください。\n"
                     "hoshinotamago: no display found. Start it from a desktop session, or run it under\n"
                     "a virtual X server:  xvfb-run -a -s '-screen 0 1280x1024x24' hoshinotamago\n");
        return 2;
    }

    // Register on the accessibility bus even when no screen reader runs yet,
    // so one started later finds the program.
    if (!qEnvironmentVariableIsSet("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"))
        qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    QApplication app(argc, argv);
    hoshi::installQtJapanese(app);
    QApplication::setApplicationName(QStringLiteral("hoshinotamago"));
    QApplication::setApplicationVersion(hoshi::versionNumber());
    // Menus large enough for a low-vision helper to read, in a Japanese face.
    QApplication::setFont(hoshi::japaneseFont(hoshi::FontFace::Proportional, 16), "QMenuBar");

    hoshi::AppServices services(voiceChoice(argc, argv));
    hoshi::ModeWindows modes;
    hoshi::registerModeWindows(modes, services);
    modes.setEndProgram([] { QCoreApplication::exit(0); });

    hoshi::LauncherWindow launcher(modes, services.announcer());
    QObject::connect(&launcher, &hoshi::LauncherWindow::endProgramRequested, &app,
                     [] { QCoreApplication::exit(0); });
    // Sound, speech and the dictionary are slow to start: after the first paint.
    hoshi::runAfterFirstPaint(launcher, [&services] { services.startAfterFirstPaint(); });
    launcher.show();
    return QApplication::exec();
}
