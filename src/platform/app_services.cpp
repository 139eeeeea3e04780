#include "platform/app_services.h"

#include "platform/speechd_service.h"

#include <QTimer>

namespace hoshi {

namespace {
constexpr int ScreenReaderAnswerMs = 1500;
} // namespace

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
    // A bus that never answers must not keep the voice waiting.
    QTimer::singleShot(ScreenReaderAnswerMs, &m_notifier, [this] {
        if (!m_router.knowsScreenReader())
            m_router.setScreenReaderRunning(false);
    });
    if (m_voiceChoice != VoiceChoice::Never)
        m_readingVoice.warmUp([this] { m_reader.warmUp(); });
}

} // namespace hoshi
