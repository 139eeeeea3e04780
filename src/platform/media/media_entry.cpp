// The module's entry points: the only symbols it exports.
#include "platform/media_module.h"

#include "platform/media/kana_reading.h"
#include "platform/media/sound_check.h"
#include "platform/media/sound_cue_player.h"
#include "platform/media/speechd_service.h"
#include "platform/media/tts_voice.h"

#include <QtGlobal>

#include <cstring>

// The version this module answers to; a test builds it as another one.
#ifndef HOSHI_MODULE_VERSION
#define HOSHI_MODULE_VERSION HOSHI_VERSION
#endif

namespace hoshi {
namespace {

class MediaServices final : public MediaModule {
public:
    std::unique_ptr<CuePlayer> createCuePlayer() const override
    {
        auto player = std::make_unique<SoundCuePlayer>();
        player->preload();
        return player;
    }

    std::unique_ptr<VoiceFactory> createVoiceFactory() const override
    {
        return std::make_unique<TtsVoiceFactory>();
    }

    std::unique_ptr<SpeechService> createSpeechService() const override
    {
        return std::make_unique<SpeechdService>();
    }

    QString reading(const QString &text) const override { return m_reader.reading(text); }
    void warmUpReading() const override { m_reader.warmUp(); }

    bool checkCueFiles(QTextStream &out) const override
    {
        return hoshi::checkCueFiles(out, SoundCuePlayer::defaultSearchFolders());
    }

private:
    KanaReader m_reader;
};

} // namespace
} // namespace hoshi

extern "C" Q_DECL_EXPORT int hoshi_media_abi()
{
    return hoshi::MediaModuleAbi;
}

extern "C" Q_DECL_EXPORT const hoshi::MediaModule *hoshi_media_module(const char *version)
{
    if (!version || std::strcmp(version, HOSHI_MODULE_VERSION) != 0)
        return nullptr;
    static const hoshi::MediaServices services;
    return &services;
}
