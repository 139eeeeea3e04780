// SPDX-License-Identifier: GPL-3.0-or-later
// The launcher's 設定 menu: each entry keeps its choice and hands it on, and the
// entry of what is kept is the one checked when the menu is built again.
#include "launcher/settings_menu.h"
#include "support/fakes.h"
#include "ui/menu_voice.h"
#include "ui/widget_look.h"

#include <QAction>
#include <QMainWindow>
#include <QTest>

using namespace hoshi;
using namespace hoshi::testing;
using Rate = std::optional<int>;

class SettingsMenuTest : public QObject {
    Q_OBJECT
private slots:
    void rate_entries_keep_their_rate()
    {
        const std::tuple<const char *, Rate, const char *> rows[]{
            {"mnuRateSlowest", -50, "とても ゆっくり"}, {"mnuRateSlow", -25, "ゆっくり"}, {"mnuRateOwn", {}, "ふつう"},
            {"mnuRateFast", 25, "はやい"}, {"mnuRateFastest", 50, "とても はやい"}};
        for (const auto &[entry, rate, name] : rows) {
            // State: a rate no entry offers kept. Action: the entry chosen.
            Preferences unoffered;
            unoffered.speechRate = 10;
            KeptPreferences kept(unoffered);
            std::vector<Rate> handed;
            QMainWindow window;
            buildSettingsMenu(&window, {.preferences = &kept, .voiceChosen = {}, .rateChosen = [&handed](Rate r) { handed.push_back(r); }});
            QStringList heard;
            speakMenus(&window, [&heard](const QString &text) { heard << text; });
            window.findChild<QAction *>(entry)->trigger();
            // Expected: kept and handed on once, and what it became said.
            QCOMPARE(kept.preferences().speechRate, rate);
            QCOMPARE(handed, std::vector<Rate>{rate});
            QCOMPARE(heard, QStringList{QStringLiteral("声のはやさ: %1 に したよ").arg(name)});
            // Expected: built again from what is kept, that entry alone is checked.
            QMainWindow again;
            buildSettingsMenu(&again, {.preferences = &kept, .voiceChosen = {}, .rateChosen = {}});
            QStringList checked;
            for (const QAction *action : again.findChildren<QAction *>())
                if (action->objectName().startsWith(QLatin1String("mnuRate")) && action->isChecked())
                    checked << action->objectName();
            QCOMPARE(checked, QStringList{entry});
        }
    }

    void voice_and_colour_entries_keep_their_choice()
    {
        KeptPreferences kept;
        std::vector<Preferences::Voice> handed;
        QMainWindow window;
        buildSettingsMenu(&window, {.preferences = &kept,
                                    .voiceChosen = [&handed](Preferences::Voice voice) { handed.push_back(voice); },
                                    .rateChosen = {}});
        const auto entry = [&window](const char *name) { return window.findChild<QAction *>(name); };
        QVERIFY(entry("mnuVoiceAuto")->isChecked());
        QVERIFY(entry("mnuDesignedColours")->isChecked());
        entry("mnuVoiceOff")->trigger();
        QCOMPARE(kept.preferences().voice, Preferences::Voice::Off);
        // Handed on after the menu has said the choice in the voice it had.
        QVERIFY(handed.empty());
        QTRY_COMPARE(handed, std::vector<Preferences::Voice>{Preferences::Voice::Off});
        entry("mnuHighContrast")->trigger();
        QCOMPARE(kept.preferences().highContrast, std::optional<bool>(true));
        QCOMPARE(currentContrast(), Contrast::High);
        entry("mnuDesignedColours")->trigger();
        QCOMPARE(kept.preferences().highContrast, std::optional<bool>(false));
        QCOMPARE(currentContrast(), Contrast::Designed);
    }
};

QTEST_MAIN(SettingsMenuTest)
#include "test_settings_menu.moc"
