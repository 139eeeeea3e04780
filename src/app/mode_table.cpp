// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mode_table.h"

#include "fingers/drill_window.h"
#include "fingers/finger_guide_window.h"
#include "keyguide/key_guide_window.h"
#include "platform/api/random_source.h"
#include "platform/api/run_records.h"
#include "platform/modules/app_services.h"
#include "launcher/mode_registry.h"
#include "typing/typing_window.h"

namespace hoshi {

namespace {

std::unique_ptr<ModeWindow> keyGuide(AppServices &services, RunRecorder *)
{
    return std::make_unique<KeyGuideWindow>(services.announcer());
}

std::unique_ptr<ModeWindow> fingerGuide(AppServices &services, RunRecorder *recorder)
{
    return std::make_unique<FingerGuideWindow>(services.announcer(), services.cuePlayer(), recorder,
                                               services.preferences());
}

std::unique_ptr<ModeWindow> drill(const DrillProfile &profile, AppServices &services, RunRecorder *recorder)
{
    return std::make_unique<DrillWindow>(profile, services.announcer(), services.cuePlayer(),
                                         std::make_unique<SeededRandom>(), recorder, services.preferences());
}

std::unique_ptr<ModeWindow> typing(TypingLanguage language, AppServices &services, RunRecorder *recorder)
{
    return std::make_unique<TypingWindow>(
        language, TypingDevices{services.announcer(), services.cuePlayer(), services.voiceFactory(),
                                services.filePicker(), services.editorLauncher(), recorder,
                                services.preferences()});
}

} // namespace

const std::vector<ModeEntry> &modeTable()
{
    static const std::vector<ModeEntry> table{
        {1, QStringLiteral("押せばわかる"), keyGuide},
        {2, QStringLiteral("どの指使うの"), fingerGuide},
        {3, QStringLiteral("ｱﾙﾌｧﾍﾞｯﾄに挑戦"), [](AppServices &s, RunRecorder *r) { return drill(alphabetDrillProfile(), s, r); }},
        {4, QStringLiteral("記号と数字も登場"), [](AppServices &s, RunRecorder *r) { return drill(numbersAndSymbolsDrillProfile(), s, r); }},
        {5, QStringLiteral("応用日本語入力"), [](AppServices &s, RunRecorder *r) { return typing(TypingLanguage::Japanese, s, r); }},
        {6, QStringLiteral("応用英語入力"), [](AppServices &s, RunRecorder *r) { return typing(TypingLanguage::English, s, r); }},
    };
    return table;
}

std::unique_ptr<ModeRegistry> makeModeRegistry(AppServices &services, ModeExtras extras)
{
    std::vector<Mode> modes;
    for (const ModeEntry &entry : modeTable()) {
        modes.push_back({entry.number, entry.caption, [&services, &entry, extras] {
                             std::unique_ptr<ModeWindow> window = entry.makeWindow(services, extras.recorder);
                             if (extras.decorate)
                                 extras.decorate(*window, entry.number);
                             return window;
                         }});
    }
    return std::make_unique<ModeRegistry>(std::move(modes));
}

} // namespace hoshi
