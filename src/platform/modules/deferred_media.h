// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Stand-ins the program uses from its start: each reaches its module once it
// is loaded, and waits for it when needed sooner.

#include "platform/modules/module_loader.h"

#include <functional>
#include <memory>

namespace hoshi {

/// Plays cues through the sound module's player. A cue asked for before the
/// module is there waits for it, so the first cue is the real sound; without
/// the module every cue is the default beep.
class DeferredCuePlayer final : public CuePlayer {
public:
    explicit DeferredCuePlayer(SoundModuleLoader &sound, std::function<void()> beep = defaultBeep);
    ~DeferredCuePlayer() override;

    /// Makes the module's player now, with its files loaded (user-interface thread).
    void prepare();
    void playCue(Cue cue) override;

    static void defaultBeep();

private:
    SoundModuleLoader &m_sound;
    std::function<void()> m_beep;
    std::unique_ptr<CuePlayer> m_player;
    bool m_prepared = false;
};

/// Makes voices through the sound module; none without it.
class DeferredVoiceFactory final : public VoiceFactory {
public:
    explicit DeferredVoiceFactory(SoundModuleLoader &sound) : m_sound(sound) {}
    ~DeferredVoiceFactory() override;
    std::unique_ptr<Speaker> createVoice() override;

private:
    SoundModuleLoader &m_sound;
    std::unique_ptr<VoiceFactory> m_factory;
};

/// The speech module's service, made on the thread that opens it; without
/// the module it never opens.
class DeferredSpeechService final : public SpeechService {
public:
    explicit DeferredSpeechService(SpeechModuleLoader &speech) : m_speech(speech) {}
    ~DeferredSpeechService() override;
    bool open() override;
    void close() override;
    bool say(const QString &text) override;
    bool cancel() override;

private:
    SpeechModuleLoader &m_speech;
    std::unique_ptr<SpeechService> m_service;
};

/// The speech module's kana reading; the text as it is without the module.
QString readingThrough(SpeechModuleLoader &speech, const QString &text);

} // namespace hoshi
