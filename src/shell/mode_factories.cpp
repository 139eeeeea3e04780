#include "shell/mode_factories.h"

#include "platform/app_services.h"
#include "shell/mode_window.h"
#include "shell/mode_windows.h"

namespace hoshi {

void registerModeWindows(ModeWindows &modes, AppServices &services)
{
    (void)services;
    (void)modes;
    // mode 1: key guide
    // mode 2: finger guide
    // mode 3: alphabet drill
    // mode 4: numbers-and-symbols drill
    // mode 5: Japanese typing
    // mode 6: English typing
}

} // namespace hoshi
