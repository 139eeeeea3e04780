// SPDX-License-Identifier: GPL-3.0-or-later
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
Q_DECLARE_METATYPE(Rate)

// The launcher's 設定 menu: each entry keeps its choice, hands it on, and the
// entry of what is kept is the one checked when the menu is built again.
class SettingsMenuTest : public QObject {
    Q_OBJECT
private slots:
    void rate_entries_keep_their_rate_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<Rate>("rate");
        QTest::addColumn<QString>("heard");
        QTest::newRow("very slow") << "mnuRateSlowest" << Rate(-50) << "声のはやさ: とても ゆっくり に したよ";
        QTest::newRow("slow") << "mnuRateSlow" << Rate(-25) << "声のはやさ: ゆっくり に したよ";
        QTest::newRow("the user's own") << "mnuRateOwn" << Rate() << "声のはやさ: ふつう に したよ";
        QTest::newRow("fast") << "mnuRateFast" << Rate(25) << "声のはやさ: はやい に したよ";
        QTest::newRow("very fast") << "mnuRateFastest" << Rate(50) << "声のはやさ: とても はやい に したよ";
    }
    void rate_entries_keep_their_rate()
    {
        QFETCH(QString, entry);
        QFETCH(Rate, rate);
        // State: a rate no entry offers kept.
        Preferences before;
        before.speechRate = 10;
        KeptPreferences kept(before);
        std::vector<Rate> handed;
        QMainWindow window;
        buildSettingsMenu(&window, settings(kept, [&handed](Rate r) { handed.push_back(r); }));
        QStringList heard;
        speakMenus(&window, [&heard](const QString &text) { heard << text; });
        // Action: the entry chosen. Expected: kept and handed on once, and what it became said.
        window.findChild<QAction *>(entry)->trigger();
        QCOMPARE(kept.preferences().speechRate, rate);
        QCOMPARE(handed, std::vector<Rate>{rate});
        QTEST(heard.join(u'|'), "heard");
        // Expected: built again from what is kept, that entry alone is checked.
        QMainWindow again;
        buildSettingsMenu(&again, settings(kept, {}));
        QCOMPARE(checkedRates(again), QStringList{entry});
    }

    void voice_and_colour_entries_keep_their_choice()
    {
        KeptPreferences kept;
        std::vector<Preferences::Voice> handed;
        QMainWindow window;
        LauncherSettings chosen = settings(kept, {});
        chosen.voiceChosen = [&handed](Preferences::Voice voice) { handed.push_back(voice); };
        buildSettingsMenu(&window, chosen);
        QVERIFY(window.findChild<QAction *>(QStringLiteral("mnuVoiceAuto"))->isChecked());
        QVERIFY(window.findChild<QAction *>(QStringLiteral("mnuDesignedColours"))->isChecked());
        window.findChild<QAction *>(QStringLiteral("mnuVoiceOff"))->trigger();
        QCOMPARE(kept.preferences().voice, Preferences::Voice::Off);
        // Handed on after the menu has said the choice in the voice it had.
        QVERIFY(handed.empty());
        QTRY_COMPARE(handed, std::vector<Preferences::Voice>{Preferences::Voice::Off});
        window.findChild<QAction *>(QStringLiteral("mnuHighContrast"))->trigger();
        QCOMPARE(kept.preferences().highContrast, std::optional<bool>(true));
        QCOMPARE(currentContrast(), Contrast::High);
        window.findChild<QAction *>(QStringLiteral("mnuDesignedColours"))->trigger();
        QCOMPARE(kept.preferences().highContrast, std::optional<bool>(false));
        QCOMPARE(currentContrast(), Contrast::Designed);
    }

private:
    static LauncherSettings settings(KeptPreferences &kept, std::function<void(Rate)> rateChosen)
    {
        LauncherSettings settings;
        settings.preferences = &kept;
        settings.rateChosen = std::move(rateChosen);
        return settings;
    }

    static QStringList checkedRates(const QMainWindow &window)
    {
        QStringList checked;
        for (const QAction *entry : window.findChildren<QAction *>()) {
            if (entry->objectName().startsWith(QLatin1String("mnuRate")) && entry->isChecked())
                checked << entry->objectName();
        }
        return checked;
    }
};

QTEST_MAIN(SettingsMenuTest)
#include "test_settings_menu.moc"
