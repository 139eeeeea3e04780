#include "shell/mode_factories.h"

#include "fingers/drill_window.h"
#include "fingers/finger_guide_window.h"
#include "platform/app_services.h"
#include "platform/random_source.h"
#include "shell/mode_window.h"
#include "shell/mode_windows.h"

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
    // mode 5: Japanese typing
    // mode 6: English typing
}

} // namespace hoshi
