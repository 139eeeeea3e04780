// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/modules/deferred_media.h"

#include "platform/speech/event_turns.h"

#include <QApplication>
#include <QMetaObject>
#include <QThread>

#include <atomic>
#include <utility>

namespace hoshi {

namespace {
// A sound server that hangs must not hold up the end of the program.
constexpr unsigned long StopWaitMs = 500;
std::atomic<bool> playerLeftBehind = false;

/// Hands the English window's texts to its voice: those of one event in
/// turn (a text repeated right away once), and the first of a new event
/// cuts short what an older one says.
class EventSpeaker final : public Speaker {
public:
    explicit EventSpeaker(VoiceOutput &voice) : m_voice(voice) {}
    void speak(const QString &text) override
    {
        const VoiceOutput::Turn turn = m_turns.next();
        if (turn == VoiceOutput::Turn::NewEvent || text != m_last)
            m_voice.say(text, turn);
        m_last = text;
    }

private:
    VoiceOutput &m_voice;
    EventTurns m_turns;
    QString m_last;
};
} // namespace

/// What lives on the cue thread: the module's player, once made.
struct DeferredCuePlayer::Player {
    QObject context; // its thread is the cue thread
    std::unique_ptr<CuePlayer> player;
    bool prepared = false;
};

DeferredCuePlayer::DeferredCuePlayer(SoundModuleLoader &sound, std::function<void()> beep)
    : m_sound(sound)
    , m_beep(std::move(beep))
    , m_uiThread(new QObject)
{
}

DeferredCuePlayer::~DeferredCuePlayer()
{
    if (m_thread) {
        // The player goes on its own thread, then the thread ends; one stuck
        // on the sound server is left behind rather than waited for.
        onPlayerThread([](Player &player) {
            player.player.reset();
            QThread::currentThread()->quit();
        });
        if (m_thread->wait(StopWaitMs))
            delete m_thread;
        else
            playerLeftBehind = true; // the stuck thread keeps its own player
    }
    delete m_uiThread;
}

bool DeferredCuePlayer::leftBehind()
{
    return playerLeftBehind;
}

void DeferredCuePlayer::defaultBeep()
{
    QApplication::beep();
}

void DeferredCuePlayer::onPlayerThread(std::function<void(Player &)> task)
{
    if (!m_thread) {
        m_player = std::make_shared<Player>();
        m_thread = new QThread;
        m_thread->setObjectName(QStringLiteral("cues"));
        m_player->context.moveToThread(m_thread);
        m_thread->start();
    }
    SoundModuleLoader *sound = &m_sound;
    QMetaObject::invokeMethod(
        &m_player->context,
        [player = m_player, sound, task = std::move(task)] {
            if (!player->prepared) {
                player->prepared = true;
                if (const SoundModule *module = sound->get())
                    player->player = module->createCuePlayer();
            }
            task(*player);
        },
        Qt::QueuedConnection);
}

void DeferredCuePlayer::prepare()
{
    onPlayerThread([](Player &) {});
}

void DeferredCuePlayer::playCue(Cue cue)
{
    QObject *uiThread = m_uiThread;
    onPlayerThread([cue, uiThread, beep = m_beep](Player &player) {
        if (player.player)
            player.player->playCue(cue);
        else
            QMetaObject::invokeMethod(uiThread, beep, Qt::QueuedConnection);
    });
}

DeferredVoiceFactory::DeferredVoiceFactory(SpeechModuleLoader &speech, VoiceChoice choice)
    : m_speech(speech)
    , m_voice(std::make_unique<VoiceWorker>(std::make_unique<DeferredSpeechService>(speech, "en"),
                                            withoutControlCharacters))
    , m_notifier(withoutControlCharacters)
    // --no-voice is for a clipboard reader, which the English window never feeds.
    , m_router(choice == VoiceChoice::Never ? VoiceChoice::Auto : choice, m_voice, m_notifier)
{
}

DeferredVoiceFactory::~DeferredVoiceFactory() = default;

std::unique_ptr<Speaker> DeferredVoiceFactory::createVoice()
{
    if (!m_warm) {
        m_warm = true;
        m_speech.startLoading();
        m_voice.warmUp({});
    }
    return std::make_unique<EventSpeaker>(m_router);
}

DeferredSpeechService::~DeferredSpeechService() = default;

bool DeferredSpeechService::open()
{
    if (!m_service) {
        const SpeechModule *module = m_speech.get();
        if (!module)
            return false;
        m_service = module->createSpeechService(m_language);
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

bool DeferredSpeechService::setRate(int rate)
{
    return m_service && m_service->setRate(rate);
}

QString readingThrough(SpeechModuleLoader &speech, const QString &text)
{
    const SpeechModule *module = speech.get();
    return module ? module->reading(text) : text;
}

} // namespace hoshi
