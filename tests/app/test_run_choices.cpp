// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/run_choices.h"

#include <QTest>

using namespace hoshi;

Q_DECLARE_METATYPE(hoshi::VoiceChoice)
Q_DECLARE_METATYPE(hoshi::Preferences::Voice)

class RunChoicesTest : public QObject {
    Q_OBJECT
private slots:
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
        QFETCH(VoiceChoice, voice);
        QFETCH(bool, highContrast);
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
        QCOMPARE(run.voice, voice);
        QCOMPARE(run.highContrast, highContrast);
        // The desktop is asked only when neither the command line nor the file decides.
        QCOMPARE(desktopAsked, keptContrast < 0 && !arguments.contains(QStringLiteral("--high-contrast")));
    }
};

QTEST_GUILESS_MAIN(RunChoicesTest)
#include "test_run_choices.moc"
