#include "platform/app_services.h"

#include <QMetaObject>
#include <QTimer>

namespace hoshi {

namespace {
constexpr int ScreenReaderAnswerMs = 1500;
} // namespace

AppServices::AppServices(VoiceChoice voice)
    : m_readingVoice(std::make_unique<VoiceWorker>(std::make_unique<DeferredSpeechService>(m_media),
                                                   [this](const QString &text) { return readingThrough(m_media, text); }))
    , m_notifier([this](const QString &text) { return readingThrough(m_media, text); })
    , m_router(voice, m_readingVoice, m_notifier)
    , m_announcer(m_clipboard, m_router)
    , m_voiceChoice(voice)
    , m_cuePlayer(m_media)
    , m_voiceFactory(m_media)
{
    QObject::connect(&m_screenReaderWatch, &ScreenReaderWatch::screenReaderRunningChanged, &m_notifier,
                     [this](bool running) { m_router.setScreenReaderRunning(running); });
    m_media.setWhenLoaded([this] {
        QMetaObject::invokeMethod(&m_uiThread, [this] { moduleLoaded(); }, Qt::QueuedConnection);
    });
}

AppServices::~AppServices()
{
    // The loading thread hands back to m_uiThread: it ends first.
    m_media.waitForLoad();
}

void AppServices::startAfterFirstPaint()
{
    m_media.startLoading();
    m_screenReaderWatch.start();
    // A bus that never answers must not keep the voice waiting.
    QTimer::singleShot(ScreenReaderAnswerMs, &m_notifier, [this] {
        if (!m_router.knowsScreenReader())
            m_router.setScreenReaderRunning(false);
    });
    if (m_voiceChoice != VoiceChoice::Never) {
        m_readingVoice.warmUp([this] {
            if (const MediaModule *module = m_media.module())
                module->warmUpReading();
        });
    }
}

void AppServices::moduleLoaded()
{
    m_cuePlayer.prepare();
}

} // namespace hoshi
