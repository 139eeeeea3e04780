// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/api/preferences.h"
#include "platform/speech/clipboard_announcer.h"
#include "platform/modules/deferred_media.h"
#include "platform/desktop/editor_launcher.h"
#include "platform/files/file_picker.h"
#include "platform/modules/module_loader.h"
#include "platform/speech/reading_voice.h"
#include "platform/speech/screen_reader_notifier.h"
#include "platform/speech/screen_reader_watch.h"
#include "platform/speech/spoken_announcer.h"
#include "platform/speech/voice_router.h"

#include <QObject>

namespace hoshi {

/// The real platform services of one run of the program, made in main().
/// Announcements go to the clipboard and to the reading voice, or to the
/// screen reader when one runs. Speech and sound come from modules loaded
/// after the first paint.
class AppServices {
public:
    explicit AppServices(VoiceChoice voice = VoiceChoice::Auto);
    ~AppServices();

    Announcer &announcer() { return m_announcer; }
    /// Asked for by a window being made: the sound module starts loading,
    /// so that its first cue is not held up.
    CuePlayer &cuePlayer();
    /// The English voice; the speech module starts loading with the first one.
    VoiceFactory &voiceFactory();
    FilePicker &filePicker() { return m_filePicker; }
    /// The preferences the windows start from and keep their choices in.
    PreferenceKeeper *preferences() const { return m_preferences; }
    void setPreferences(PreferenceKeeper *preferences) { m_preferences = preferences; }
    /// The built-in voice chosen again, from the menus: speaks from the next text on.
    void setVoiceChoice(VoiceChoice voice);
    /// Both voices' rate, -100 to 100, from the next text on; none: the user's own.
    void setSpeechRate(std::optional<int> rate);
    EditorLauncher &editorLauncher() { return m_editorLauncher; }

    /// What is slow to start, after the first paint: the speech module (then
    /// the dictionary and the speech connection) and the screen-reader watch.
    void startAfterFirstPaint();

    /// The sound module alone, for --check-sounds.
    static std::unique_ptr<SoundModuleLoader> soundModule();

private:
    void startSpeech();

    SpeechModuleLoader m_speech;
    SoundModuleLoader m_sound;
    QObject m_uiThread; // receives what the loading threads hand back
    ClipboardAnnouncer m_clipboard;
    ReadingVoice m_readingVoice;
    ScreenReaderNotifier m_notifier;
    ScreenReaderWatch m_screenReaderWatch;
    VoiceRouter m_router;
    SpokenAnnouncer m_announcer;
    VoiceChoice m_voiceChoice;
    DeferredCuePlayer m_cuePlayer;
    DeferredVoiceFactory m_voiceFactory;
    DialogFilePicker m_filePicker;
    DesktopEditorLauncher m_editorLauncher;
    PreferenceKeeper *m_preferences = nullptr;
    bool m_started = false;
};

} // namespace hoshi
