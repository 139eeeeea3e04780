// SPDX-License-Identifier: GPL-3.0-or-later
// The command line, the display it leads to, and the choices for one run it makes with the kept preferences.
#include "app/command_line.h"
#include "app/display_check.h"
#include "app/run_choices.h"

#include <QTest>

#include <cstdio>

using namespace hoshi;

Q_DECLARE_METATYPE(hoshi::VoiceChoice)
Q_DECLARE_METATYPE(hoshi::Preferences::Voice)

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void read_data()
    {
        QTest::addColumn<QString>("arguments"); // split at blanks
        QTest::addColumn<VoiceChoice>("voice");
        QTest::addColumn<QString>("platform");
        QTest::addColumn<QString>("error"); // before " (build/dev/bin/hoshinotamago --help)"; none: the program starts
        const auto row = [](const char *name, const char *arguments, VoiceChoice voice, const char *platform,
                            const char *error = "") {
            QTest::newRow(name) << QString::fromLatin1(arguments) << voice << QString::fromLatin1(platform)
                                << QString::fromUtf8(error);
        };
        const VoiceChoice automatic = VoiceChoice::Auto, always = VoiceChoice::Always, never = VoiceChoice::Never;
        row("nothing starts the launcher", "", automatic, "");
        row("--voice", "--voice", always, "");
        row("the last voice option counts", "--voice --no-voice", never, "");
        row("Qt's -platform with its value", "-platform offscreen --no-voice", never, "offscreen");
        row("Qt's flags and other value options", "-reverse -style fusion -display :3 -geometry 640x480", automatic, "");
        row("a Qt option's value is not taken for ours", "-name --voice", automatic, "");
        row("unknown option", "--bogus", automatic, "", "--bogus というオプションはありません / unknown option --bogus");
        row("a value our option does not take", "--voice=yes", automatic, "",
            "オプションの書き方が違います / Unexpected value after '--voice'.");
        row("Qt's option without its value", "-platform", automatic, "",
            "オプションの書き方が違います / Missing value after '-platform'.");
        row("an argument", "practice.txt", automatic, "",
            "practice.txt は使えません(引数はとりません) / unexpected argument practice.txt");
    }
    void read()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, error);
        const CommandLine result = parseCommandLine(QStringList{"build/dev/bin/hoshinotamago"}
                                                    + arguments.split(u' ', Qt::SkipEmptyParts));
        // A usage error ends with 2 and says how to ask for help.
        QCOMPARE(result.action, error.isEmpty() ? CommandLine::Action::Start : CommandLine::Action::Answer);
        QCOMPARE(result.exitCode, error.isEmpty() ? 0 : 2);
        QCOMPARE(result.error, error.isEmpty() ? error : "hoshinotamago: " + error + " (build/dev/bin/hoshinotamago --help)");
        QVERIFY(result.output.isEmpty());
        if (error.isEmpty()) {
            QTEST(result.voice.value_or(VoiceChoice::Auto), "voice");
            QTEST(result.platform, "platform");
        }
    }

    void answers()
    {
        // --help and --version answer on standard output and end with 0, whatever else is given.
        const CommandLine help = parseCommandLine({"hoshinotamago", "--no-voice", "--help"});
        const CommandLine version = parseCommandLine({"hoshinotamago", "--version"});
        for (const CommandLine &result : {help, version})
            QVERIFY(result.action == CommandLine::Action::Answer && result.exitCode == 0 && result.error.isEmpty());
        QVERIFY(help.output.startsWith(QStringLiteral("使い方: hoshinotamago [オプション] [Qt のオプション]\n")));
        // GNU style: the name and version, the copyright, the licence and the warranty.
        QVERIFY(version.output.startsWith(QStringLiteral("hoshinotamago (ほしのたまご) 2.0\nCopyright (C) 2026 ")));
        QVERIFY(version.output.contains(QStringLiteral("\nLicense GPLv3+: GNU GPL version 3 or later")));
        QVERIFY(version.output.contains(QStringLiteral("\nThere is NO WARRANTY, to the extent permitted by law.")));
    }

    void invocationForHints()
    {
        // Found on PATH; a space is quoted; a quote inside quotes.
        for (const auto &[argument0, expected] :
             {std::pair{"hoshinotamago", "hoshinotamago"},
              std::pair{"/home/a b/hoshinotamago", "'/home/a b/hoshinotamago'"},
              std::pair{"/tmp/it's/hoshinotamago", "'/tmp/it'\\''s/hoshinotamago'"}}) {
            QCOMPARE(invocationName(argument0), QString::fromUtf8(expected));
            // The hint for a missing display names the program as it was started.
            const DisplayChoice choice = chooseDisplay(parseCommandLine({"x"}), DisplayEnvironment{}, expected);
            QVERIFY2(choice.error.endsWith(QStringLiteral("xvfb-run -a -s '-screen 0 1280x1024x24' ") + expected),
                     qPrintable(choice.error));
        }
    }

    void writeErrorExitsOne()
    {
        std::FILE *full = std::fopen("/dev/full", "w");
        if (!full)
            QSKIP("no /dev/full here");
        std::FILE *err = std::tmpfile();
        QVERIFY(err);
        const int status = writeAnswer(parseCommandLine({"hoshinotamago", "--version"}), full, err);
        std::fclose(full);
        QCOMPARE(status, 1);
        std::rewind(err);
        char line[256] = {};
        QVERIFY(std::fgets(line, sizeof line, err));
        std::fclose(err);
        QVERIFY2(QString::fromUtf8(line).contains(QStringLiteral("cannot write to standard output")), line);
    }

    void displayChoice_data()
    {
        QTest::addColumn<QString>("environment"); // QT_QPA_PLATFORM|DISPLAY|WAYLAND_DISPLAY|socket|plugin
        QTest::addColumn<QString>("platform");
        QTest::addColumn<QString>("errorStart");
        const QString noDisplay = QStringLiteral("ほしのたまご: 画面(ディスプレイ)が見つかりません");
        const QString install = QStringLiteral("ほしのたまご: Wayland で表示する Qt の部品がありません");
        const auto row = [](const char *name, const char *environment, const char *platform, const QString &error) {
            QTest::newRow(name) << QString::fromLatin1(environment) << QString::fromLatin1(platform) << error;
        };
        row("X11 only: Qt's own choice", "|:0|||", "", {});
        row("Wayland with its plugin: Qt's own choice", "|:0|wayland-0|socket|plugin", "", {});
        row("Wayland without the plugin, X11 there: X11", "|:0|wayland-0|socket|", "xcb", {});
        row("a Wayland name without its socket, X11 there: X11", "|:0|wayland-9||plugin", "xcb", {});
        row("Wayland alone without the plugin: what to install", "||wayland-0|socket|", "", install);
        row("a Wayland name alone without its socket: no display", "||wayland-9||plugin", "", noDisplay);
        row("nothing at all: no display", "||||", "", noDisplay);
        row("QT_QPA_PLATFORM is the user's choice", "offscreen||||", "", {});
        row("-platform wayland without the plugin: what to install", "-platform wayland|:0|wayland-0|socket|", "",
            install);
    }
    void displayChoice()
    {
        QFETCH(QString, environment);
        QFETCH(QString, errorStart);
        const QStringList e = environment.split(u'|');
        const bool option = e[0].startsWith(u'-');
        const DisplayEnvironment display{option ? QString() : e[0], e[1], e[2], !e[3].isEmpty(), !e[4].isEmpty()};
        const QStringList arguments = option ? e[0].split(u' ') : QStringList();
        const DisplayChoice choice = chooseDisplay(parseCommandLine(QStringList{"./hoshinotamago"} + arguments),
                                                   display, QStringLiteral("./hoshinotamago"));
        QTEST(choice.platform, "platform");
        QVERIFY2(errorStart.isEmpty() ? choice.error.isEmpty() : choice.error.startsWith(errorStart),
                 qPrintable(choice.error));
    }

    void theCommandLineOverridesForOneRun_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Preferences::Voice>("keptVoice");
        QTest::addColumn<int>("keptContrast"); // -1 none kept, 0 off, 1 on
        QTest::addColumn<int>("desktop");      // -1 no answer, 0 off, 1 on
        QTest::addColumn<VoiceChoice>("voice");
        QTest::addColumn<bool>("highContrast");
        using V = Preferences::Voice;
        QTest::newRow("nothing chosen anywhere") << QStringList{} << V::Automatic << -1 << -1 << VoiceChoice::Auto << false;
        QTest::newRow("kept voice off") << QStringList{} << V::Off << -1 << 0 << VoiceChoice::Never << false;
        QTest::newRow("--voice over a kept off") << QStringList{"--voice"} << V::Off << -1 << 0 << VoiceChoice::Always << false;
        QTest::newRow("--no-voice over a kept on") << QStringList{"--no-voice"} << V::On << -1 << 0 << VoiceChoice::Never << false;
        QTest::newRow("the desktop asks for high contrast") << QStringList{} << V::Automatic << -1 << 1 << VoiceChoice::Auto << true;
        QTest::newRow("kept designed colours over the desktop") << QStringList{} << V::Automatic << 0 << 1 << VoiceChoice::Auto << false;
        QTest::newRow("--high-contrast over kept designed colours")
            << QStringList{"--high-contrast"} << V::Automatic << 0 << 0 << VoiceChoice::Auto << true;
    }

    void theCommandLineOverridesForOneRun()
    {
        QFETCH(QStringList, arguments);
        QFETCH(Preferences::Voice, keptVoice);
        QFETCH(int, keptContrast);
        QFETCH(int, desktop);
        arguments.prepend(QStringLiteral("hoshinotamago"));
        Preferences kept;
        kept.voice = keptVoice;
        if (keptContrast >= 0)
            kept.highContrast = keptContrast == 1;
        bool desktopAsked = false;
        const RunChoices run = runChoices(parseCommandLine(arguments), kept, [&desktopAsked, desktop] {
            desktopAsked = true;
            return desktop < 0 ? std::nullopt : std::optional<bool>(desktop == 1);
        });
        QTEST(run.voice, "voice");
        QTEST(run.highContrast, "highContrast");
        // The desktop is asked only when neither the command line nor the file decides.
        QCOMPARE(desktopAsked, keptContrast < 0 && !arguments.contains(QStringLiteral("--high-contrast")));
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "test_command_line.moc"
