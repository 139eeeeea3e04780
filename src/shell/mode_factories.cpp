#include "shell/mode_factories.h"

#include "platform/app_services.h"
#include "shell/mode_window.h"
#include "shell/mode_windows.h"
#include "typing/typing_window.h"

namespace hoshi {

void registerModeWindows(ModeWindows &modes, AppServices &services)
{
    (void)services;
    (void)modes;
    // mode 1: key guide
    // mode 2: finger guide
    // mode 3: alphabet drill
    // mode 4: numbers-and-symbols drill
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
