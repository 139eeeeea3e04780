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

namespace hoshi {

namespace {

struct VoiceEntry {
    const char *name;
    QString caption;
    Preferences::Voice voice;
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

} // namespace

void buildSettingsMenu(QMainWindow *window, const LauncherSettings &settings)
{
    PreferenceKeeper *preferences = settings.preferences;
    if (!preferences)
        return;
    QMenu *menu = addMenu(window, QStringLiteral("mnuSettei"), QStringLiteral("設定(&S)"));
    const std::array<VoiceEntry, 3> voices{{
        {"mnuVoiceAuto", QStringLiteral("声: スクリーンリーダーが無いとき(&A)"), Preferences::Voice::Automatic},
        {"mnuVoiceOn", QStringLiteral("声: いつも出す(&O)"), Preferences::Voice::On},
        {"mnuVoiceOff", QStringLiteral("声: 出さない(&N)"), Preferences::Voice::Off},
    }};
    auto *voiceGroup = new QActionGroup(menu);
    for (const VoiceEntry &entry : voices) {
        addChoice(menu, voiceGroup, QString::fromLatin1(entry.name), entry.caption,
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
    menu->addSeparator();
    auto *colourGroup = new QActionGroup(menu);
    const auto colours = [preferences](bool high) {
        return [preferences, high] {
            preferences->change([high](Preferences &kept) { kept.highContrast = high; });
            useContrast(high ? Contrast::High : Contrast::Designed);
        };
    };
    addChoice(menu, colourGroup, QStringLiteral("mnuHighContrast"), QStringLiteral("はっきりした色(&H)"),
              settings.highContrastOn, colours(true));
    addChoice(menu, colourGroup, QStringLiteral("mnuDesignedColours"), QStringLiteral("いつもの色(&D)"),
              !settings.highContrastOn, colours(false));
}

} // namespace hoshi
