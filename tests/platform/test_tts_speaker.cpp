// The speech queue against a fake engine that, like Qt's, cuts short
// whatever it is saying when it is given a new text.
#include "platform/speech_engine.h"
#include "platform/tts_speaker.h"
#include "platform/tts_voice.h"

#include <QTest>

#include <memory>

using hoshi::SpeechEngine;
using hoshi::TtsSpeaker;
using State = SpeechEngine::State;

namespace {

struct EngineLog {
    QStringList said;
    int interrupted = 0;
    bool destroyed = false;
};

class FakeEngine final : public SpeechEngine {
public:
    explicit FakeEngine(EngineLog &log) : m_log(log) {}
    // Qt's engines stop speaking, and say so, when they are destroyed.
    ~FakeEngine() override
    {
        m_log.destroyed = true;
        m_state = State::Ready;
        reportState(State::Ready);
    }

    State state() const override { return m_state; }
    void say(const QString &text) override
    {
        if (m_state == State::Error)
            return;
        if (m_state == State::Speaking)
            ++m_log.interrupted;
        m_log.said << text;
        if (finishInsideSay) {
            set(State::Speaking);
            set(State::Ready);
        }
    }

    void set(State state)
    {
        m_state = state;
        reportState(state);
    }
    // One text spoken from start to end.
    void speakOne()
    {
        set(State::Speaking);
        set(State::Ready);
    }

    bool finishInsideSay = false;

private:
    EngineLog &m_log;
    State m_state = State::Ready;
};

struct Voice {
    EngineLog log;
    FakeEngine *engine = nullptr;
    std::unique_ptr<TtsSpeaker> speaker;

    explicit Voice(State initial = State::Ready)
    {
        auto owned = std::make_unique<FakeEngine>(log);
        engine = owned.get();
        owned->set(initial);
        speaker = std::make_unique<TtsSpeaker>(std::move(owned));
    }
};

} // namespace

class TestTtsSpeaker : public QObject {
    Q_OBJECT
private slots:
    void texts_in_quick_succession_are_said_one_after_another()
    {
        // State: an idle engine.
        Voice voice;
        // Action: three texts at once, as a fast typist and Ctrl repeats make them.
        voice.speaker->speak(QStringLiteral("one"));
        voice.speaker->speak(QStringLiteral("two"));
        voice.speaker->speak(QStringLiteral("three"));
        // Expected: only the first is handed over; each next one after the engine is done.
        QCOMPARE(voice.log.said, QStringList{"one"});
        voice.engine->speakOne();
        QCOMPARE(voice.log.said, (QStringList{"one", "two"}));
        voice.engine->speakOne();
        voice.engine->speakOne();
        QCOMPARE(voice.log.said, (QStringList{"one", "two", "three"}));
        QCOMPARE(voice.log.interrupted, 0);
        QCOMPARE(voice.speaker->pendingCount(), std::size_t{0});
    }

    void a_text_while_speaking_waits_for_the_end()
    {
        // State: the engine is saying the first text.
        Voice voice;
        voice.speaker->speak(QStringLiteral("first line"));
        voice.engine->set(State::Speaking);
        // Action: a new line comes in the middle of it.
        voice.speaker->speak(QStringLiteral("next line"));
        // Expected: it waits until the engine is Ready again.
        QCOMPARE(voice.log.said, QStringList{"first line"});
        voice.engine->set(State::Ready);
        QCOMPARE(voice.log.said, (QStringList{"first line", "next line"}));
        QCOMPARE(voice.log.interrupted, 0);
    }

    void a_ready_before_speaking_started_is_not_the_end()
    {
        // State: a text handed over, the engine not yet started on it.
        Voice voice;
        voice.speaker->speak(QStringLiteral("a"));
        voice.speaker->speak(QStringLiteral("b"));
        // Action: a stale Ready arrives, then the text is really spoken.
        voice.engine->set(State::Ready);
        // Expected: b waits for the end of a.
        QCOMPARE(voice.log.said, QStringList{"a"});
        voice.engine->speakOne();
        QCOMPARE(voice.log.said, (QStringList{"a", "b"}));
    }

    void pause_does_not_release_the_next_text()
    {
        Voice voice;
        voice.speaker->speak(QStringLiteral("a"));
        voice.speaker->speak(QStringLiteral("b"));
        voice.engine->set(State::Speaking);
        voice.engine->set(State::Paused);
        QCOMPARE(voice.log.said, QStringList{"a"});
        voice.engine->set(State::Speaking);
        voice.engine->set(State::Ready);
        QCOMPARE(voice.log.said, (QStringList{"a", "b"}));
    }

    void an_engine_that_finishes_inside_say_gets_every_text_in_order()
    {
        // State: an engine that reports start and end before say() returns.
        Voice voice;
        voice.engine->finishInsideSay = true;
        // Action: several texts.
        for (const char *text : {"1", "2", "3", "4"})
            voice.speaker->speak(QString::fromLatin1(text));
        // Expected: all said, in order, none cut short.
        QCOMPARE(voice.log.said, (QStringList{"1", "2", "3", "4"}));
        QCOMPARE(voice.log.interrupted, 0);
    }

    void blank_texts_are_skipped_and_do_not_hold_up_the_queue()
    {
        Voice voice;
        voice.speaker->speak(QString());
        voice.speaker->speak(QStringLiteral("  "));
        voice.speaker->speak(QStringLiteral("SCORE 3"));
        QCOMPARE(voice.log.said, QStringList{"SCORE 3"});
    }

    void an_engine_in_error_drops_speech_without_blocking_later_calls()
    {
        // State: texts waiting behind one being spoken.
        Voice voice;
        voice.speaker->speak(QStringLiteral("a"));
        voice.speaker->speak(QStringLiteral("b"));
        voice.speaker->speak(QStringLiteral("c"));
        voice.engine->set(State::Speaking);
        // Action: the engine fails, and more texts come while it stays failed.
        voice.engine->set(State::Error);
        voice.speaker->speak(QStringLiteral("d"));
        // Expected: nothing more is handed over or kept.
        QCOMPARE(voice.log.said, QStringList{"a"});
        QCOMPARE(voice.speaker->pendingCount(), std::size_t{0});
        // Action: the engine recovers.
        voice.engine->set(State::Ready);
        voice.speaker->speak(QStringLiteral("e"));
        // Expected: the next text is said at once.
        QCOMPARE(voice.log.said, (QStringList{"a", "e"}));
    }

    void an_engine_failing_from_the_start_says_nothing()
    {
        Voice voice(State::Error);
        voice.speaker->speak(QStringLiteral("a"));
        QVERIFY(voice.log.said.isEmpty());
        QCOMPARE(voice.speaker->pendingCount(), std::size_t{0});
    }

    void destruction_with_a_pending_queue_is_safe()
    {
        // State: one text being said, two waiting.
        Voice voice;
        voice.speaker->speak(QStringLiteral("a"));
        voice.speaker->speak(QStringLiteral("b"));
        voice.speaker->speak(QStringLiteral("c"));
        voice.engine->set(State::Speaking);
        // Action: the voice goes away (the engine reports Ready as it stops).
        voice.speaker.reset();
        // Expected: the engine is released, nothing more was handed to it.
        QVERIFY(voice.log.destroyed);
        QCOMPARE(voice.log.said, QStringList{"a"});
    }

    void no_engine_installed_gives_no_voice()
    {
        hoshi::TtsVoiceFactory factory(QStringList{QStringLiteral("hoshi-no-such-engine")});
        QCOMPARE(factory.createVoice(), nullptr);
    }
};

QTEST_GUILESS_MAIN(TestTtsSpeaker)
#include "test_tts_speaker.moc"
