#pragma once

#include "platform/clipboard_announcer.h"
#include "platform/sound_cue_player.h"

namespace hoshi {

/// The real platform services of one run of the program, made in main().
class AppServices {
public:
    Announcer &announcer() { return m_announcer; }
    CuePlayer &cuePlayer() { return m_cuePlayer; }
    void preloadSounds() { m_cuePlayer.preload(); }

private:
    ClipboardAnnouncer m_announcer;
    SoundCuePlayer m_cuePlayer;
};

} // namespace hoshi
