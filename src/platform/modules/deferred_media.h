// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Stand-ins the program uses from its start: each reaches its module once it
// is loaded. Whatever waits for a module, or for the service behind it, waits
// on a thread of its own, never on the user-interface thread.

#include "platform/modules/module_loader.h"
#include "platform/speech/readable_names.h"
#include "platform/speech/reading_voice.h"
#include "platform/speech/screen_reader_notifier.h"
#include "platform/speech/voice_router.h"

#include <functional>
#include <memory>

class QObject;
class QThread;

namespace hoshi {

/// Plays cues through the sound module's player, which lives on a thread of
/// its own: the module's load and the opening of the sound output (which
/// waits on the sound server) happen there. A cue asked for before the player
/// is ready waits there too, so the first cue is the real sound; without the
/// module every cue is the default beep, given on the user-interface thread.
class DeferredCuePlayer final : public CuePlayer {
public:
    explicit DeferredCuePlayer(SoundModuleLoader &sound, std::function<void()> beep = defaultBeep);
    ~DeferredCuePlayer() override;
    DeferredCuePlayer(const DeferredCuePlayer &) = delete;
    DeferredCuePlayer &operator=(const DeferredCuePlayer &) = delete;

    /// Makes the module's player now, with its files loaded, on its thread.
    void prepare();
    void playCue(Cue cue) override;

    static void defaultBeep();
    /// Whether a player's thread was left behind, stuck on the sound server:
    /// the program must then end without the library clean-ups that would
    /// wait for it.
    static bool leftBehind();

private:
    struct Player;
    void onPlayerThread(std::function<void(Player &)> task);

    SoundModuleLoader &m_sound;
    std::function<void()> m_beep;
    QObject *m_uiThread = nullptr;
    QThread *m_thread = nullptr;
    std::shared_ptr<Player> m_player;
};

/// The English window's voice: speech-dispatcher in English through the
/// speech module, a client of its own on a thread of its own, like the
/// reading voice. The texts of one event are said in turn; a new event cuts
/// short what an older one still says (its own, never another client's). Without
/// the module, or while the service does not answer, nothing is said and
/// the window goes on. While a screen reader runs the texts go to it instead,
/// as the Japanese windows' do (with --voice the English voice speaks anyway).
class DeferredVoiceFactory final : public VoiceFactory {
public:
    explicit DeferredVoiceFactory(SpeechModuleLoader &speech, VoiceChoice choice = VoiceChoice::Auto);
    ~DeferredVoiceFactory() override;
    std::unique_ptr<Speaker> createVoice() override;
    /// Follows the screen-reader watch, as the Japanese voice's router does.
    VoiceRouter &router() { return m_router; }
    /// The rate the user chose for the voices; none: the user's own.
    void setRate(std::optional<int> rate) { m_voice.setRate(rate); }

private:
    SpeechModuleLoader &m_speech;
    ReadingVoice m_voice; // one for the whole run
    ScreenReaderNotifier m_notifier;
    VoiceRouter m_router;
    bool m_warm = false;
};

/// The speech module's service in one language, made on the thread that
/// opens it; without the module it never opens.
class DeferredSpeechService final : public SpeechService {
public:
    explicit DeferredSpeechService(SpeechModuleLoader &speech, QByteArray language = "ja")
        : m_speech(speech)
        , m_language(std::move(language))
    {
    }
    ~DeferredSpeechService() override;
    bool open() override;
    void close() override;
    bool say(const QString &text) override;
    bool cancel() override;
    bool setRate(int rate) override;

private:
    SpeechModuleLoader &m_speech;
    QByteArray m_language;
    std::unique_ptr<SpeechService> m_service;
};

/// The speech module's kana reading; the text as it is without the module.
QString readingThrough(SpeechModuleLoader &speech, const QString &text);

} // namespace hoshi
