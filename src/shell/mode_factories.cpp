#include "shell/mode_factories.h"

#include "keyguide/key_guide_window.h"
#include "platform/app_services.h"
#include "shell/mode_window.h"
#include "shell/mode_windows.h"

namespace hoshi {

void registerModeWindows(ModeWindows &modes, AppServices &services)
{
    (void)services;
    (void)modes;
    modes.setFactory(1, [&services] { return std::make_unique<KeyGuideWindow>(services.announcer()); });
    // mode 2: finger guide
    // mode 3: alphabet drill
    // mode 4: numbers-and-symbols drill
    // mode 5: Japanese typing
    // mode 6: English typing
}

} // namespace hoshi
