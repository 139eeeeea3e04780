// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/modules/app_services.h"

#include "platform/speech/readable_names.h"

#include <QMetaObject>
#include <QTimer>

namespace hoshi {

namespace {
constexpr int ScreenReaderAnswerMs = 1500;

const QString NoSpeech = QStringLiteral("nothing is spoken");
const QString NoSound = QStringLiteral("cues beep");
} // namespace

AppServices::AppServices(VoiceChoice voice)
    : m_speech(QStringLiteral(HOSHI_SPEECH_MODULE_FILE), SpeechModule::Interface, NoSpeech)
    , m_sound(QStringLiteral(HOSHI_SOUND_MODULE_FILE), SoundModule::Interface, NoSound)
    , m_readingVoice(std::make_unique<VoiceWorker>(std::make_unique<DeferredSpeechService>(m_speech),
                                                   [this](const QString &text) { return readingThrough(m_speech, text); }))
    , m_notifier([this](const QString &text) { return readingThrough(m_speech, text); })
    , m_router(voice, m_readingVoice, m_notifier)
    , m_announcer(m_clipboard, m_router)
    , m_voiceChoice(voice)
    , m_cuePlayer(m_sound)
    , m_voiceFactory(m_speech, voice)
{
    QObject::connect(&m_screenReaderWatch, &ScreenReaderWatch::screenReaderRunningChanged, &m_notifier,
                     [this](bool running) {
                         m_router.setScreenReaderRunning(running);
                         m_voiceFactory.router().setScreenReaderRunning(running);
                     });
    installReadableNames([this](const QString &text) { return readingThrough(m_speech, text); });
    // The cue files load on the user-interface thread, once the module is in.
    m_sound.setWhenLoaded([this] {
        QMetaObject::invokeMethod(&m_uiThread, [this] { m_cuePlayer.prepare(); }, Qt::QueuedConnection);
    });
}

AppServices::~AppServices()
{
    installReadableNames({});
    // The loading threads hand back to m_uiThread: they end first.
    m_sound.waitForLoad();
    m_speech.waitForLoad();
}

CuePlayer &AppServices::cuePlayer()
{
    m_sound.startLoading();
    return m_cuePlayer;
}

VoiceFactory &AppServices::voiceFactory()
{
    return m_voiceFactory;
}

void AppServices::startAfterFirstPaint()
{
    m_screenReaderWatch.start();
    // A bus that never answers must not keep the voice waiting.
    QTimer::singleShot(ScreenReaderAnswerMs, &m_notifier, [this] {
        if (!m_router.knowsScreenReader())
            m_router.setScreenReaderRunning(false);
        if (!m_voiceFactory.router().knowsScreenReader())
            m_voiceFactory.router().setScreenReaderRunning(false);
    });
    m_started = true;
    if (m_voiceChoice != VoiceChoice::Never)
        startSpeech();
}

void AppServices::startSpeech()
{
    m_speech.startLoading();
    m_readingVoice.warmUp([this] {
        if (const SpeechModule *module = m_speech.get())
            module->warmUpReading();
    });
}

void AppServices::setVoiceChoice(VoiceChoice voice)
{
    const bool wasSilent = m_voiceChoice == VoiceChoice::Never;
    m_voiceChoice = voice;
    m_router.setChoice(voice);
    m_voiceFactory.router().setChoice(voice == VoiceChoice::Never ? VoiceChoice::Auto : voice);
    // A run started silent has not loaded the voice yet.
    if (wasSilent && voice != VoiceChoice::Never && m_started)
        startSpeech();
}

void AppServices::setSpeechRate(std::optional<int> rate)
{
    m_readingVoice.setRate(rate);
    m_voiceFactory.setRate(rate);
}

std::unique_ptr<SoundModuleLoader> AppServices::soundModule()
{
    return std::make_unique<SoundModuleLoader>(QStringLiteral(HOSHI_SOUND_MODULE_FILE), SoundModule::Interface,
                                               NoSound);
}

} // namespace hoshi
