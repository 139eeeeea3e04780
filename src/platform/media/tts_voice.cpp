// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/media/tts_voice.h"

#include "platform/media/speech_engine.h"
#include "platform/media/tts_speaker.h"

#include <QLocale>
#include <QTextToSpeech>

#include <algorithm>
#include <utility>

namespace hoshi {

namespace {

SpeechEngine::State toState(QTextToSpeech::State state)
{
    switch (state) {
    case QTextToSpeech::Ready: return SpeechEngine::State::Ready;
    case QTextToSpeech::Speaking: return SpeechEngine::State::Speaking;
    case QTextToSpeech::Paused: return SpeechEngine::State::Paused;
    case QTextToSpeech::Error: return SpeechEngine::State::Error;
    }
    return SpeechEngine::State::Error;
}

/// QTextToSpeech behind the engine interface of the speech queue.
class QtSpeechEngine final : public SpeechEngine {
public:
    explicit QtSpeechEngine(std::unique_ptr<QTextToSpeech> tts)
        : m_tts(std::move(tts))
    {
        QObject::connect(m_tts.get(), &QTextToSpeech::stateChanged, m_tts.get(),
                         [this](QTextToSpeech::State state) { reportState(toState(state)); });
    }
    ~QtSpeechEngine() override { QObject::disconnect(m_tts.get(), nullptr, nullptr, nullptr); }
    QtSpeechEngine(const QtSpeechEngine &) = delete;
    QtSpeechEngine &operator=(const QtSpeechEngine &) = delete;

    State state() const override { return toState(m_tts->state()); }
    void say(const QString &text) override { m_tts->say(text); }

private:
    std::unique_ptr<QTextToSpeech> m_tts;
};

// The voice reads English practice lines: an English voice, set explicitly,
// so that a Japanese desktop does not read them with its Japanese voice.
void chooseEnglish(QTextToSpeech &tts)
{
    const QList<QLocale> locales = tts.availableLocales();
    const auto english = [](const QLocale &locale) { return locale.language() == QLocale::English; };
    const auto us = std::find_if(locales.begin(), locales.end(), [&](const QLocale &locale) {
        return english(locale) && locale.territory() == QLocale::UnitedStates;
    });
    const auto any = std::find_if(locales.begin(), locales.end(), english);
    if (us != locales.end())
        tts.setLocale(*us);
    else if (any != locales.end())
        tts.setLocale(*any);
    else
        tts.setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
}

QStringList defaultEngineOrder()
{
    QStringList order{QStringLiteral("speechd"), QStringLiteral("flite")};
    for (const QString &engine : QTextToSpeech::availableEngines()) {
        if (!order.contains(engine))
            order << engine;
    }
    return order;
}

} // namespace

TtsVoiceFactory::TtsVoiceFactory(QStringList engineNames)
    : m_engineNames(std::move(engineNames))
{
}

std::unique_ptr<Speaker> TtsVoiceFactory::createVoice()
{
    const QStringList installed = QTextToSpeech::availableEngines();
    const QStringList order = m_engineNames ? *m_engineNames : defaultEngineOrder();
    for (const QString &name : order) {
        if (!installed.contains(name))
            continue;
        auto tts = std::make_unique<QTextToSpeech>(name);
        if (tts->state() == QTextToSpeech::Error)
            continue;
        tts->setVolume(1.0);
        chooseEnglish(*tts);
        return std::make_unique<TtsSpeaker>(std::make_unique<QtSpeechEngine>(std::move(tts)));
    }
    return nullptr;
}

} // namespace hoshi
