// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/modules/deferred_media.h"

#include <QApplication>

#include <utility>

namespace hoshi {

DeferredCuePlayer::DeferredCuePlayer(SoundModuleLoader &sound, std::function<void()> beep)
    : m_sound(sound)
    , m_beep(std::move(beep))
{
}

DeferredCuePlayer::~DeferredCuePlayer() = default;

void DeferredCuePlayer::defaultBeep()
{
    QApplication::beep();
}

void DeferredCuePlayer::prepare()
{
    if (m_prepared)
        return;
    m_prepared = true;
    if (const SoundModule *module = m_sound.get())
        m_player = module->createCuePlayer();
}

void DeferredCuePlayer::playCue(Cue cue)
{
    prepare();
    if (m_player)
        m_player->playCue(cue);
    else
        m_beep();
}

DeferredVoiceFactory::~DeferredVoiceFactory() = default;

std::unique_ptr<Speaker> DeferredVoiceFactory::createVoice()
{
    if (!m_factory) {
        const SoundModule *module = m_sound.get();
        if (!module)
            return nullptr;
        m_factory = module->createVoiceFactory();
    }
    return m_factory->createVoice();
}

DeferredSpeechService::~DeferredSpeechService() = default;

bool DeferredSpeechService::open()
{
    if (!m_service) {
        const SpeechModule *module = m_speech.get();
        if (!module)
            return false;
        m_service = module->createSpeechService();
    }
    return m_service->open();
}

void DeferredSpeechService::close()
{
    if (m_service)
        m_service->close();
}

bool DeferredSpeechService::say(const QString &text)
{
    return m_service && m_service->say(text);
}

bool DeferredSpeechService::cancel()
{
    return m_service && m_service->cancel();
}

QString readingThrough(SpeechModuleLoader &speech, const QString &text)
{
    const SpeechModule *module = speech.get();
    return module ? module->reading(text) : text;
}

} // namespace hoshi
