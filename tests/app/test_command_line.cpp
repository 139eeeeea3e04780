// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"
#include "app/display_check.h"

#include <QTest>

#include <cstdio>

using namespace hoshi;

Q_DECLARE_METATYPE(hoshi::CommandLine::Action)
Q_DECLARE_METATYPE(hoshi::VoiceChoice)

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void accepted_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<CommandLine::Action>("action");
        QTest::addColumn<VoiceChoice>("voice");
        QTest::addColumn<QString>("platform");
        using A = CommandLine::Action;
        QTest::newRow("nothing starts the launcher") << QStringList{} << A::Start << VoiceChoice::Auto << QString();
        QTest::newRow("--no-voice") << QStringList{"--no-voice"} << A::Start << VoiceChoice::Never << QString();
        QTest::newRow("the last voice option counts")
            << QStringList{"--no-voice", "--voice"} << A::Start << VoiceChoice::Always << QString();
        QTest::newRow("Qt's -platform with its value")
            << QStringList{"-platform", "offscreen", "--no-voice"} << A::Start << VoiceChoice::Never
            << QStringLiteral("offscreen");
        QTest::newRow("Qt's flags and other value options")
            << QStringList{"-reverse", "-style", "fusion", "-display", ":3", "-geometry", "640x480"} << A::Start
            << VoiceChoice::Auto << QString();
        QTest::newRow("a Qt option's value is not taken for ours")
            << QStringList{"-name", "--voice"} << A::Start << VoiceChoice::Auto << QString();
    }
    void accepted()
    {
        QFETCH(QStringList, arguments);
        const CommandLine result = parseCommandLine(QStringList{"hoshinotamago"} + arguments);
        QTEST(result.action, "action");
        QTEST(result.voice.value_or(VoiceChoice::Auto), "voice");
        QTEST(result.platform, "platform");
        QVERIFY(result.error.isEmpty());
    }

    void answers_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("firstLine");
        QTest::newRow("--version") << "--version" << "hoshinotamago (ほしのたまご) 2.0";
        QTest::newRow("--help") << "--help" << "使い方: hoshinotamago [オプション] [Qt のオプション]";
    }
    void answers()
    {
        QFETCH(QString, option);
        const CommandLine result = parseCommandLine({"hoshinotamago", "--no-voice", option});
        QCOMPARE(result.action, CommandLine::Action::Answer);
        QCOMPARE(result.exitCode, 0);
        QTEST(result.output.section(QLatin1Char('\n'), 0, 0), "firstLine");
        QVERIFY(result.error.isEmpty());
        if (option != QLatin1String("--version"))
            return;
        // GNU style: the copyright, the licence and the warranty.
        const QStringList lines = result.output.split(QLatin1Char('\n'));
        QVERIFY(lines.value(1).startsWith(QStringLiteral("Copyright (C) 2026 ")));
        QVERIFY(lines.value(2).startsWith(QStringLiteral("License GPLv3+: GNU GPL version 3 or later")));
        QVERIFY(lines.contains(QStringLiteral("There is NO WARRANTY, to the extent permitted by law.")));
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("error");
        QTest::newRow("unknown option") << QStringList{"--bogus"}
            << "hoshinotamago: --bogus というオプションはありません / unknown option --bogus (build/dev/bin/hoshinotamago --help)";
        QTest::newRow("a value our option does not take") << QStringList{"--voice=yes"}
            << "hoshinotamago: オプションの書き方が違います / Unexpected value after '--voice'. (build/dev/bin/hoshinotamago --help)";
        QTest::newRow("Qt's option without its value") << QStringList{"-platform"}
            << "hoshinotamago: オプションの書き方が違います / Missing value after '-platform'. (build/dev/bin/hoshinotamago --help)";
        QTest::newRow("an argument") << QStringList{"practice.txt"}
            << "hoshinotamago: practice.txt は使えません(引数はとりません) / unexpected argument practice.txt (build/dev/bin/hoshinotamago --help)";
    }
    void usageErrors()
    {
        QFETCH(QStringList, arguments);
        const CommandLine result = parseCommandLine(QStringList{"build/dev/bin/hoshinotamago"} + arguments);
        QCOMPARE(result.action, CommandLine::Action::Answer);
        QCOMPARE(result.exitCode, 2);
        QTEST(result.error, "error");
        QVERIFY(result.output.isEmpty());
    }

    void invocationForHints_data()
    {
        QTest::addColumn<QString>("argument0");
        QTest::addColumn<QString>("expected");
        QTest::newRow("found on PATH") << "hoshinotamago" << "hoshinotamago";
        QTest::newRow("a space is quoted") << "/home/a b/hoshinotamago" << "'/home/a b/hoshinotamago'";
        QTest::newRow("a quote inside quotes") << "/tmp/it's/hoshinotamago" << "'/tmp/it'\\''s/hoshinotamago'";
    }
    void invocationForHints()
    {
        QFETCH(QString, argument0);
        QFETCH(QString, expected);
        QCOMPARE(invocationName(argument0), expected);
        // The hint for a missing display names the program as it was started.
        const DisplayChoice choice = chooseDisplay(parseCommandLine({"x"}), DisplayEnvironment{}, expected);
        QVERIFY2(choice.error.endsWith(QStringLiteral("xvfb-run -a -s '-screen 0 1280x1024x24' ") + expected),
                 qPrintable(choice.error));
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
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("qpaPlatform");
        QTest::addColumn<QString>("x11");
        QTest::addColumn<QString>("wayland");
        QTest::addColumn<bool>("socket");
        QTest::addColumn<bool>("plugin");
        QTest::addColumn<QString>("platform");
        QTest::addColumn<QString>("errorStart");
        const QString noDisplay = QStringLiteral("ほしのたまご: 画面(ディスプレイ)が見つかりません");
        const QString install = QStringLiteral("ほしのたまご: Wayland で表示する Qt の部品がありません");
        QTest::newRow("X11 only: Qt's own choice") << QStringList{} << "" << ":0" << "" << false << false << "" << "";
        QTest::newRow("Wayland with its plugin: Qt's own choice")
            << QStringList{} << "" << ":0" << "wayland-0" << true << true << "" << "";
        QTest::newRow("Wayland without the plugin, X11 there: X11")
            << QStringList{} << "" << ":0" << "wayland-0" << true << false << "xcb" << "";
        QTest::newRow("a Wayland name without its socket, X11 there: X11")
            << QStringList{} << "" << ":0" << "wayland-9" << false << true << "xcb" << "";
        QTest::newRow("Wayland alone without the plugin: what to install")
            << QStringList{} << "" << "" << "wayland-0" << true << false << "" << install;
        QTest::newRow("a Wayland name alone without its socket: no display")
            << QStringList{} << "" << "" << "wayland-9" << false << true << "" << noDisplay;
        QTest::newRow("nothing at all: no display") << QStringList{} << "" << "" << "" << false << false << "" << noDisplay;
        QTest::newRow("QT_QPA_PLATFORM is the user's choice")
            << QStringList{} << "offscreen" << "" << "" << false << false << "" << "";
        QTest::newRow("-platform wayland without the plugin: what to install")
            << QStringList{"-platform", "wayland"} << "" << ":0" << "wayland-0" << true << false << "" << install;
    }
    void displayChoice()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, errorStart);
        QFETCH(QString, qpaPlatform);
        QFETCH(QString, x11);
        QFETCH(QString, wayland);
        QFETCH(bool, socket);
        QFETCH(bool, plugin);
        const DisplayEnvironment environment{qpaPlatform, x11, wayland, socket, plugin};
        const DisplayChoice choice = chooseDisplay(parseCommandLine(QStringList{"./hoshinotamago"} + arguments),
                                                   environment, QStringLiteral("./hoshinotamago"));
        QTEST(choice.platform, "platform");
        if (errorStart.isEmpty())
            QCOMPARE(choice.error, QString());
        else
            QVERIFY2(choice.error.startsWith(errorStart), qPrintable(choice.error));
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "test_command_line.moc"
