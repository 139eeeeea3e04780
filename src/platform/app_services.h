#pragma once

#include "platform/clipboard_announcer.h"
#include "platform/editor_launcher.h"
#include "platform/file_picker.h"
#include "platform/kana_reading.h"
#include "platform/reading_voice.h"
#include "platform/screen_reader_notifier.h"
#include "platform/screen_reader_watch.h"
#include "platform/sound_cue_player.h"
#include "platform/spoken_announcer.h"
#include "platform/tts_voice.h"
#include "platform/voice_router.h"

namespace hoshi {

/// The real platform services of one run of the program, made in main().
/// Announcements go to the clipboard and to the reading voice, or to the
/// screen reader when one runs.
class AppServices {
public:
    explicit AppServices(VoiceChoice voice = VoiceChoice::Auto);

    Announcer &announcer() { return m_announcer; }
    CuePlayer &cuePlayer() { return m_cuePlayer; }
    VoiceFactory &voiceFactory() { return m_voiceFactory; }
    FilePicker &filePicker() { return m_filePicker; }
    EditorLauncher &editorLauncher() { return m_editorLauncher; }

    /// What is slow to start, after the first paint: the sound cues, the
    /// dictionary and the speech connection, the screen-reader watch.
    void startAfterFirstPaint();

private:
    ClipboardAnnouncer m_clipboard;
    KanaReader m_reader;
    ReadingVoice m_readingVoice;
    ScreenReaderNotifier m_notifier;
    ScreenReaderWatch m_screenReaderWatch;
    VoiceRouter m_router;
    SpokenAnnouncer m_announcer;
    VoiceChoice m_voiceChoice;
    SoundCuePlayer m_cuePlayer;
    TtsVoiceFactory m_voiceFactory;
    DialogFilePicker m_filePicker;
    DesktopEditorLauncher m_editorLauncher;
};

} // namespace hoshi
