// SPDX-License-Identifier: GPL-3.0-or-later
// The speech queue against a fake engine that, like Qt's, cuts short
// whatever it is saying when it is given a new text.
#include "platform/media/speech_engine.h"
#include "platform/media/tts_speaker.h"
#include "platform/media/tts_voice.h"

#include <QTest>

#include <map>
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
    FakeEngine(EngineLog &log, State initial) : m_log(log), m_state(initial) {}
    // Qt's engines stop speaking, and say so, when they are destroyed.
    ~FakeEngine() override
    {
        m_log.destroyed = true;
        set(State::Ready);
    }

    State state() const override { return m_state; }
    void say(const QString &text) override
    {
        if (m_state == State::Error)
            return;
        m_log.interrupted += m_state == State::Speaking;
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

    bool finishInsideSay = false;

private:
    EngineLog &m_log;
    State m_state;
};

} // namespace

class TestTtsSpeaker : public QObject {
    Q_OBJECT
private slots:
    void texts_are_said_one_after_another_data()
    {
        // A word is spoken; S, R, P, E: the engine speaks, is ready, pauses, fails;
        // I: from now on the engine reports start and end before say() returns.
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("said");
        QTest::addColumn<bool>("pending");
        QTest::newRow("quick succession") << "one two three" << QStringList{"one"} << true;
        QTest::newRow("each after the one before ends") << "one two three S R S R" << QStringList{"one", "two", "three"}
                                                        << false;
        QTest::newRow("a text while speaking waits for the end") << "a S b" << QStringList{"a"} << true;
        QTest::newRow("... and goes after it") << "a S b R" << QStringList{"a", "b"} << false;
        QTest::newRow("a Ready before speaking started is stale") << "a b R" << QStringList{"a"} << true;
        QTest::newRow("pause holds the next text") << "a b S P" << QStringList{"a"} << true;
        QTest::newRow("pause, then the end") << "a b S P S R" << QStringList{"a", "b"} << false;
        QTest::newRow("blank texts are skipped") << "_ __ SCORE" << QStringList{"SCORE"} << false;
        QTest::newRow("an error drops the queue and what comes while failed") << "a b c S E d" << QStringList{"a"}
                                                                              << false;
        QTest::newRow("after recovery the next text is said at once") << "a b S E R e" << QStringList{"a", "e"}
                                                                      << false;
        QTest::newRow("failing from the start says nothing") << "E a" << QStringList() << false;
        QTest::newRow("an engine done inside say() gets every text in order")
            << "I 1 2 3 4" << QStringList{"1", "2", "3", "4"} << false;
    }

    void texts_are_said_one_after_another()
    {
        // State: an idle engine. Action: the script. Expected: what the engine was given, none cut short.
        QFETCH(QString, script);
        EngineLog log;
        auto owned = std::make_unique<FakeEngine>(log, State::Ready);
        FakeEngine *engine = owned.get();
        TtsSpeaker speaker(std::move(owned));
        const std::map<QString, State> states{{"S", State::Speaking}, {"R", State::Ready}, {"P", State::Paused},
                                              {"E", State::Error}};
        for (const QString &step : script.split(u' ')) {
            if (step == "I")
                engine->finishInsideSay = true;
            else if (states.contains(step))
                engine->set(states.at(step));
            else
                speaker.speak(QString(step).replace(u'_', u' ')); // "_" stands for a blank
        }
        QTEST(log.said, "said");
        QTEST(speaker.pendingCount() > 0, "pending");
        QCOMPARE(log.interrupted, 0);
    }

    void destruction_with_a_pending_queue_is_safe()
    {
        // State: one text being said, two waiting. Action: the voice goes (the engine reports Ready as it stops).
        EngineLog log;
        auto owned = std::make_unique<FakeEngine>(log, State::Ready);
        FakeEngine *engine = owned.get();
        auto speaker = std::make_unique<TtsSpeaker>(std::move(owned));
        for (const char *text : {"a", "b", "c"})
            speaker->speak(QString::fromLatin1(text));
        engine->set(State::Speaking);
        speaker.reset();
        // Expected: the engine released, nothing more handed to it.
        QVERIFY(log.destroyed);
        QCOMPARE(log.said, QStringList{"a"});
    }

    void no_engine_installed_gives_no_voice()
    {
        hoshi::TtsVoiceFactory factory(QStringList{QStringLiteral("hoshi-no-such-engine")});
        QCOMPARE(factory.createVoice(), nullptr);
    }
};

QTEST_GUILESS_MAIN(TestTtsSpeaker)
#include "test_tts_speaker.moc"
