// SPDX-License-Identifier: GPL-3.0-or-later
#include "launcher/settings_menu.h"

#include "ui/menu_voice.h"
#include "ui/menus.h"
#include "ui/widget_look.h"

#include <QAction>
#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>
#include <QTimer>

#include <array>

namespace hoshi {

namespace {

struct VoiceEntry {
    const char *name;
    QString caption;
    Preferences::Voice voice;
};

struct RateEntry {
    const char *name;
    QString caption;
    std::optional<int> rate; ///< none: the user's own
};

QAction *addChoice(QMenu *menu, QActionGroup *group, const QString &name, const QString &caption, bool checked,
                   std::function<void()> onChosen)
{
    QAction *entry = saysItsChoice(addEntry(menu, name, caption, std::move(onChosen)));
    entry->setCheckable(true);
    entry->setChecked(checked);
    group->addAction(entry);
    return entry;
}

void addVoiceChoices(QMenu *menu, QMainWindow *window, const LauncherSettings &settings)
{
    PreferenceKeeper *preferences = settings.preferences;
    const std::array<VoiceEntry, 3> voices{{
        {"mnuVoiceAuto", QStringLiteral("声: スクリーンリーダーが無いとき(&A)"), Preferences::Voice::Automatic},
        {"mnuVoiceOn", QStringLiteral("声: いつも出す(&O)"), Preferences::Voice::On},
        {"mnuVoiceOff", QStringLiteral("声: 出さない(&N)"), Preferences::Voice::Off},
    }};
    auto *group = new QActionGroup(menu);
    for (const VoiceEntry &entry : voices) {
        addChoice(menu, group, QString::fromLatin1(entry.name), entry.caption,
                  preferences->preferences().voice == entry.voice,
                  [preferences, window, voice = entry.voice, chosen = settings.voiceChosen] {
                      preferences->change([voice](Preferences &kept) { kept.voice = voice; });
                      // After the menu has said the choice in the voice it had.
                      QTimer::singleShot(0, window, [chosen, voice] {
                          if (chosen)
                              chosen(voice);
                      });
                  });
    }
}

void addRateChoices(QMenu *menu, const LauncherSettings &settings)
{
    PreferenceKeeper *preferences = settings.preferences;
    const std::array<RateEntry, 5> rates{{
        {"mnuRateSlowest", QStringLiteral("声のはやさ: とても ゆっくり(&1)"), -50},
        {"mnuRateSlow", QStringLiteral("声のはやさ: ゆっくり(&2)"), -25},
        {"mnuRateOwn", QStringLiteral("声のはやさ: ふつう(&3)"), std::nullopt},
        {"mnuRateFast", QStringLiteral("声のはやさ: はやい(&4)"), 25},
        {"mnuRateFastest", QStringLiteral("声のはやさ: とても はやい(&5)"), 50},
    }};
    auto *group = new QActionGroup(menu);
    for (const RateEntry &entry : rates) {
        addChoice(menu, group, QString::fromLatin1(entry.name), entry.caption,
                  preferences->preferences().speechRate == entry.rate,
                  [preferences, rate = entry.rate, chosen = settings.rateChosen] {
                      preferences->change([rate](Preferences &kept) { kept.speechRate = rate; });
                      // At once: the menu then says the choice at the new rate.
                      if (chosen)
                          chosen(rate);
                  });
    }
}

void addColourChoices(QMenu *menu, const LauncherSettings &settings)
{
    PreferenceKeeper *preferences = settings.preferences;
    auto *group = new QActionGroup(menu);
    const auto colours = [preferences](bool high) {
        return [preferences, high] {
            preferences->change([high](Preferences &kept) { kept.highContrast = high; });
            useContrast(high ? Contrast::High : Contrast::Designed);
        };
    };
    addChoice(menu, group, QStringLiteral("mnuHighContrast"), QStringLiteral("はっきりした色(&H)"),
              settings.highContrastOn, colours(true));
    addChoice(menu, group, QStringLiteral("mnuDesignedColours"), QStringLiteral("いつもの色(&D)"),
              !settings.highContrastOn, colours(false));
}

} // namespace

void buildSettingsMenu(QMainWindow *window, const LauncherSettings &settings)
{
    if (!settings.preferences)
        return;
    QMenu *menu = addMenu(window, QStringLiteral("mnuSettei"), QStringLiteral("設定(&S)"));
    addVoiceChoices(menu, window, settings);
    menu->addSeparator();
    addRateChoices(menu, settings);
    menu->addSeparator();
    addColourChoices(menu, settings);
}

} // namespace hoshi
