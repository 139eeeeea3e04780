// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/mode_factories.h"

#include "fingers/drill_window.h"
#include "fingers/finger_guide_window.h"
#include "keyguide/key_guide_window.h"
#include "platform/app_services.h"
#include "platform/random_source.h"
#include "shell/mode_window.h"
#include "shell/mode_windows.h"
#include "typing/typing_window.h"

namespace hoshi {

void registerModeWindows(ModeWindows &modes, AppServices &services)
{
    modes.setFactory(1, [&services] { return std::make_unique<KeyGuideWindow>(services.announcer()); });
    modes.setFactory(2, [&services] {
        return std::make_unique<FingerGuideWindow>(services.announcer(), services.cuePlayer());
    });
    modes.setFactory(3, [&services] {
        return std::make_unique<DrillWindow>(alphabetDrillProfile(), services.announcer(),
                                             services.cuePlayer(), std::make_unique<SeededRandom>());
    });
    modes.setFactory(4, [&services] {
        return std::make_unique<DrillWindow>(numbersAndSymbolsDrillProfile(), services.announcer(),
                                             services.cuePlayer(), std::make_unique<SeededRandom>());
    });
    const auto typingServices = [&services] {
        return TypingServices{services.announcer(), services.cuePlayer(), services.voiceFactory(),
                              services.filePicker(), services.editorLauncher()};
    };
    modes.setFactory(5, [typingServices] {
        return std::make_unique<TypingWindow>(TypingLanguage::Japanese, typingServices());
    });
    modes.setFactory(6, [typingServices] {
        return std::make_unique<TypingWindow>(TypingLanguage::English, typingServices());
    });
}

} // namespace hoshi
