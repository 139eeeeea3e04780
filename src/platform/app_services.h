#pragma once

#include "platform/clipboard_announcer.h"
#include "platform/editor_launcher.h"
#include "platform/file_picker.h"
#include "platform/sound_cue_player.h"
#include "platform/tts_voice.h"

namespace hoshi {

/// The real platform services of one run of the program, made in main().
class AppServices {
public:
    Announcer &announcer() { return m_announcer; }
    CuePlayer &cuePlayer() { return m_cuePlayer; }
    VoiceFactory &voiceFactory() { return m_voiceFactory; }
    FilePicker &filePicker() { return m_filePicker; }
    EditorLauncher &editorLauncher() { return m_editorLauncher; }
    void preloadSounds() { m_cuePlayer.preload(); }

private:
    ClipboardAnnouncer m_announcer;
    SoundCuePlayer m_cuePlayer;
    TtsVoiceFactory m_voiceFactory;
    DialogFilePicker m_filePicker;
    DesktopEditorLauncher m_editorLauncher;
};

} // namespace hoshi
