#include "platform/app_services.h"

#include "platform/speechd_service.h"

namespace hoshi {

AppServices::AppServices(VoiceChoice voice)
    : m_readingVoice(std::make_unique<VoiceWorker>(std::make_unique<SpeechdService>(),
                                                   [this](const QString &text) { return m_reader.reading(text); }))
    , m_notifier([this](const QString &text) { return m_reader.reading(text); })
    , m_router(voice, m_readingVoice, m_notifier)
    , m_announcer(m_clipboard, m_router)
    , m_voiceChoice(voice)
{
    QObject::connect(&m_screenReaderWatch, &ScreenReaderWatch::screenReaderRunningChanged, &m_notifier,
                     [this](bool running) { m_router.setScreenReaderRunning(running); });
}

void AppServices::startAfterFirstPaint()
{
    m_cuePlayer.preload();
    m_screenReaderWatch.start();
    if (m_voiceChoice != VoiceChoice::Never)
        m_readingVoice.warmUp([this] { m_reader.warmUp(); });
}

} // namespace hoshi
