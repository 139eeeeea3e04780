#include "shell/mode_factories.h"

#include "fingers/drill_window.h"
#include "fingers/finger_guide_window.h"
#include "platform/app_services.h"
#include "platform/random_source.h"
#include "shell/mode_window.h"
#include "shell/mode_windows.h"
#include "typing/typing_window.h"

namespace hoshi {

void registerModeWindows(ModeWindows &modes, AppServices &services)
{
    (void)services;
    (void)modes;
    // mode 1: key guide
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
    modes.setFactory(5, [&services] {
        return std::make_unique<TypingWindow>(
            TypingLanguage::Japanese,
            TypingServices{services.announcer(), services.cuePlayer(), services.voiceFactory(),
                           services.filePicker(), services.editorLauncher()});
    });
    modes.setFactory(6, [&services] {
        return std::make_unique<TypingWindow>(
            TypingLanguage::English,
            TypingServices{services.announcer(), services.cuePlayer(), services.voiceFactory(),
                           services.filePicker(), services.editorLauncher()});
    });
}

} // namespace hoshi
