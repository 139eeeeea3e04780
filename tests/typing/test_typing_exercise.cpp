// The typing exercise without widgets: runs, checks, time-up, Esc, Ctrl,
// the time-limit entries and loading, with every announcement in order.
#include "platform/key_event.h"
#include "support/fakes.h"
#include "typing/typing_exercise.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace hoshi;
using hoshi::testing::Effect;
using Effects = std::vector<Effect>;

namespace {

const QStringList FileLines{"one", "two", "three", "four", "five"};

Effect announced(const QString &text)
{
    return {Effect::Announce, text};
}

Effect spoken(const QString &text)
{
    return {Effect::Speak, text};
}

Effect cue(Cue which)
{
    return {Effect::Cue, {}, which};
}

/// An exercise with recording services and scripted draws.
struct Rig {
    explicit Rig(const TypingProfile &profile = TypingProfile::japanese())
        : exercise(profile, services, services, random)
    {
    }

    void enter() { exercise.keyDown(VkReturn, 0); }
    void ctrl() { exercise.keyDown(VkControl, CtrlBit); }
    void type(const QString &text) { exercise.inputChanged(text); }
    void typeShown() { type(exercise.state().display); }
    void ticks(int count)
    {
        for (int i = 0; i < count; ++i)
            exercise.tick();
    }
    void runOut() { ticks(exercise.jikan()); }
    const TypingState &state() const { return exercise.state(); }

    testing::RecordingServices services;
    testing::ScriptedRandom random;
    TypingExercise exercise;
};

enum class RunState { NoText, Ready, Running, Over, OverWithNewLimit };

} // namespace

class TypingExerciseTest : public QObject {
    Q_OBJECT

private:
    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    // Loads the five-line practice file, then brings the run to the state.
    void bringTo(Rig &rig, RunState state)
    {
        if (state == RunState::NoText)
            return;
        QVERIFY(rig.exercise.loadChosenFile(m_practice)->ok());
        if (state == RunState::Ready)
            return;
        rig.enter();
        rig.type(QStringLiteral("typed"));
        if (state == RunState::Running)
            return;
        rig.runOut();
        if (state == RunState::OverWithNewLimit)
            rig.exercise.chooseTimeLimit(TimeLimitChoice::OneMinute);
    }

    QTemporaryDir m_dir;
    QString m_practice;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_practice = writeFile(QStringLiteral("practice.txt"), FileLines.join(QStringLiteral("\r\n")).toUtf8());
    }

    void enter_without_text_does_nothing()
    {
        // State: no file chosen; a cancelled dialog chooses none. Action: Enter.
        Rig rig;
        QVERIFY(!rig.exercise.loadChosenFile(QString()));
        rig.enter();
        // Expected: no run, nothing heard.
        QVERIFY(!rig.state().timerOn);
        QCOMPARE(rig.state().timeLabel, QStringLiteral("TIME 180"));
        QVERIFY(rig.services.log.empty());
    }

    void start_press_counts_zero_and_draws_a_line()
    {
        // State: text loaded, empty input. Action: Enter.
        Rig rig;
        bringTo(rig, RunState::Ready);
        rig.random.push(2);
        rig.enter();
        // Expected: timer on, Maru 1 shown as 0, line 3 drawn and announced.
        QVERIFY(rig.state().timerOn);
        QCOMPARE(rig.exercise.maru(), 1);
        QCOMPARE(rig.state().maruLabel, QStringLiteral("○ 0"));
        QCOMPARE(rig.state().display, QStringLiteral("three"));
        QCOMPARE(rig.services.log, Effects{announced("three")});
    }

    void typing_before_the_first_enter_is_a_wrong_try()
    {
        // State: text loaded, "abc" typed. Action: Enter.
        Rig rig;
        bringTo(rig, RunState::Ready);
        rig.type(QStringLiteral("abc"));
        rig.enter();
        // Expected: the clock runs, × 1 with the cue, no line.
        QVERIFY(rig.state().timerOn);
        QCOMPARE(rig.state().batsuLabel, QStringLiteral("× 1"));
        QCOMPARE(rig.state().display, QString());
        QCOMPARE(rig.services.log, Effects{cue(Cue::Zannen)});
        // Action: empty the input, Enter. Expected: the first line drawn.
        rig.random.push(0);
        rig.type(QString());
        rig.enter();
        QCOMPARE(rig.exercise.maru(), 1);
        QCOMPARE(rig.services.announcements(), QStringList{"one"});
    }

    void score_is_correct_lines_minus_wrong_tries_data()
    {
        QTest::addColumn<int>("correct");
        QTest::addColumn<int>("wrong");
        QTest::addColumn<QString>("labels");
        QTest::newRow("5 correct, 2 wrong") << 5 << 2 << "○ 5× 2得点 3";
        QTest::newRow("more wrong than correct") << 1 << 3 << "○ 1× 3得点 -2";
        QTest::newRow("only the start press") << 0 << 0 << "○ 0× 0得点 0";
    }

    void score_is_correct_lines_minus_wrong_tries()
    {
        // State: a run; lines typed right and wrong tries in between. Action: time runs out.
        QFETCH(int, correct);
        QFETCH(int, wrong);
        Rig rig;
        bringTo(rig, RunState::Ready);
        rig.enter();
        for (int i = 0; i < std::max(correct, wrong); ++i) {
            if (i < wrong) {
                rig.type(QStringLiteral("wrong"));
                rig.enter();
            }
            if (i < correct) {
                rig.typeShown();
                rig.enter();
            }
        }
        rig.runOut();
        // Expected: the counts without the start press, and the score.
        QTEST(rig.state().maruLabel + rig.state().batsuLabel + rig.state().scoreLabel, "labels");
        QCOMPARE(rig.services.cueCount(Cue::Zannen), wrong);
    }

    void only_the_exact_line_is_right()
    {
        // State: a run showing "Abc". Action: near misses, each with Enter, twice for the last.
        Rig rig;
        QVERIFY(rig.exercise.loadChosenFile(writeFile(QStringLiteral("abc.txt"), "Abc"))->ok());
        rig.enter();
        rig.services.clear();
        for (const QString &attempt : {QStringLiteral("abc"), QStringLiteral("Abc "), QStringLiteral("Ａｂｃ")}) {
            rig.type(attempt);
            rig.enter();
        }
        rig.enter();
        // Expected: four wrong tries, each with the cue; the line and the input stay.
        QCOMPARE(rig.exercise.batsu(), 4);
        QCOMPARE(rig.services.log, Effects(4, cue(Cue::Zannen)));
        QCOMPARE(rig.state().display, QStringLiteral("Abc"));
        QCOMPARE(rig.state().input, QStringLiteral("Ａｂｃ"));
        // Action: the exact line. Expected: right, the input emptied.
        rig.type(QStringLiteral("Abc"));
        rig.enter();
        QCOMPARE(rig.exercise.maru(), 2);
        QCOMPARE(rig.state().input, QString());
    }

    void empty_drawn_line_is_matched_by_an_empty_input()
    {
        // State: a file with an empty middle line, drawn twice. Action: Enter twice.
        Rig rig;
        QVERIFY(rig.exercise.loadChosenFile(writeFile(QStringLiteral("gap.txt"), "a\r\n\r\nb"))->ok());
        rig.random.push(1);
        rig.random.push(1);
        rig.enter();
        rig.enter();
        // Expected: the empty input matches; the empty line is announced each time.
        QCOMPARE(rig.exercise.maru(), 2);
        QCOMPARE(rig.exercise.batsu(), 0);
        QCOMPARE(rig.services.announcements(), (QStringList{"", ""}));
    }

    void ctrl_says_the_line_on_every_key_down()
    {
        // State: loaded, no run. Action: Ctrl. Expected: entry 1 shown and said; no run.
        Rig rig;
        bringTo(rig, RunState::Ready);
        rig.ctrl();
        QCOMPARE(rig.state().display, QStringLiteral("two"));
        QCOMPARE(rig.services.log, Effects{announced("two")});
        QVERIFY(!rig.state().timerOn);
        // State: a run showing "five" (the shown line typed to start). Action: Ctrl held (key-downs repeat).
        rig.typeShown();
        rig.random.push(4);
        rig.enter();
        rig.services.clear();
        rig.ctrl();
        rig.ctrl();
        // Expected: said each time; nothing counted.
        QCOMPARE(rig.services.announcements(), (QStringList{"five", "five"}));
        QCOMPARE(rig.exercise.maru(), 1);
        QCOMPARE(rig.exercise.batsu(), 0);
    }

    void time_up_locks_input_and_says_end_then_score()
    {
        // State: a run with a half-typed line at TIME 1. Action: the last tick.
        Rig rig;
        bringTo(rig, RunState::Ready);
        rig.enter();
        rig.type(QStringLiteral("half typed"));
        rig.ticks(179);
        QCOMPARE(rig.state().timeLabel, QStringLiteral("TIME 1"));
        rig.services.clear();
        rig.exercise.tick();
        // Expected: TIME 0, input locked and kept, the end text then the score said, an empty bar.
        const TypingState &s = rig.state();
        QCOMPARE(s.timeLabel, QStringLiteral("TIME 0"));
        QVERIFY(!s.timerOn && s.inputLocked && s.scoreVisible);
        QCOMPARE(s.display, QStringLiteral("おしまい  RESET!"));
        QCOMPARE(s.scoreLabel, QStringLiteral("得点 0"));
        QCOMPARE(s.barShare, 0.0);
        QCOMPARE(rig.services.log, (Effects{announced("おしまい  RESET!"), announced("得点 0")}));
        // Action: typing, Enter. Expected: the input unchanged, nothing counted or heard.
        rig.services.clear();
        rig.type(QStringLiteral("more"));
        rig.enter();
        QCOMPARE(s.input, QStringLiteral("half typed"));
        QVERIFY(!s.timerOn);
        QCOMPARE(rig.exercise.batsu(), 0);
        QVERIFY(rig.services.log.empty());
    }

    void time_limit_entries_data()
    {
        QTest::addColumn<TimeLimitChoice>("choice");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<Rgb>("colour");
        QTest::addColumn<QString>("japanese");
        QTest::addColumn<QString>("english");
        QTest::newRow("1") << TimeLimitChoice::OneMinute << 60 << Rgb{255, 0, 0} << "応用日本語入力　１分"
                           << "ENGLISH One Minute";
        QTest::newRow("3") << TimeLimitChoice::ThreeMinutes << 180 << Rgb{0, 0, 255} << "応用日本語入力　３分"
                           << "ENGLISH Three Minutes";
        QTest::newRow("5") << TimeLimitChoice::FiveMinutes << 300 << Rgb{0, 255, 0} << "応用日本語入力　５分"
                           << "ENGLISH Five Minutes";
    }

    void time_limit_entries()
    {
        // State: both exercises, no run. Action: the entry. Expected: its time, colour and captions.
        QFETCH(TimeLimitChoice, choice);
        QFETCH(int, seconds);
        Rig jp;
        Rig en(TypingProfile::english());
        jp.exercise.chooseTimeLimit(choice);
        en.exercise.chooseTimeLimit(choice);
        QCOMPARE(jp.exercise.jikan(), seconds);
        QCOMPARE(jp.state().timeLabel, QStringLiteral("TIME %1").arg(seconds));
        QTEST(jp.state().barColour, "colour");
        QTEST(jp.state().caption, "japanese");
        QTEST(en.state().caption, "english");
        QVERIFY(!jp.state().timerOn);
    }

    void time_limit_during_a_run_and_after_it()
    {
        // State: a three-minute run at Jikan 100. Action: one minute.
        Rig rig;
        bringTo(rig, RunState::Ready);
        rig.enter();
        rig.ticks(80);
        const double shareBefore = rig.state().barShare;
        rig.exercise.chooseTimeLimit(TimeLimitChoice::OneMinute);
        // Expected: TIME 60 at once, the run goes on, the bar unchanged until the next tick.
        QCOMPARE(rig.state().timeLabel, QStringLiteral("TIME 60"));
        QVERIFY(rig.state().timerOn);
        QCOMPARE(rig.state().barShare, shareBefore);
        rig.exercise.tick();
        QCOMPARE(rig.state().barShare, 59.0 / 60.0);
        // State: time-up, then one minute. Expected: 60 again; still locked, the score on show, no clock.
        rig.runOut();
        rig.exercise.chooseTimeLimit(TimeLimitChoice::OneMinute);
        QCOMPARE(rig.exercise.jikan(), 60);
        QVERIFY(rig.state().inputLocked && rig.state().scoreVisible && !rig.state().timerOn);
        // Action: Enter. Expected: the clock runs and compares the locked input as usual.
        rig.services.clear();
        rig.enter();
        QVERIFY(rig.state().timerOn && rig.state().inputLocked);
        QCOMPARE(rig.services.log, Effects{cue(Cue::Zannen)});
    }

    void esc_resets_from_every_state_data()
    {
        QTest::addColumn<RunState>("from");
        QTest::newRow("no text") << RunState::NoText;
        QTest::newRow("ready") << RunState::Ready;
        QTest::newRow("running") << RunState::Running;
        QTest::newRow("over") << RunState::Over;
        QTest::newRow("over with a new limit") << RunState::OverWithNewLimit;
    }

    void esc_resets_from_every_state()
    {
        // State: five minutes chosen, then the state (a run 10 seconds in). Action: Esc.
        QFETCH(RunState, from);
        Rig rig;
        rig.exercise.chooseTimeLimit(TimeLimitChoice::FiveMinutes);
        bringTo(rig, from);
        rig.ticks(from == RunState::Running ? 10 : 0);
        const int limit = rig.exercise.timeLimit();
        rig.services.clear();
        rig.exercise.keyDown(VkEscape, 0);
        // Expected: counts 0, the full chosen time, nothing shown or typed, unlocked, silent; the text kept.
        const TypingState &s = rig.state();
        QCOMPARE(rig.exercise.maru() + rig.exercise.batsu(), 0);
        QCOMPARE(s.timeLabel + s.maruLabel + s.batsuLabel, QStringLiteral("TIME %1○ 0× 0").arg(limit));
        QCOMPARE(s.display + s.input, QString());
        QVERIFY(!s.inputLocked && !s.scoreVisible && !s.timerOn);
        QCOMPARE(s.barShare, 1.0);
        QVERIFY(rig.services.log.empty());
        QCOMPARE(rig.exercise.text().isLoaded(), from != RunState::NoText);
    }

    void close_and_reopen_keeps_text_and_resets_run()
    {
        // State: a one-minute run a second in. Action: close, open.
        Rig rig;
        bringTo(rig, RunState::Ready);
        rig.exercise.chooseTimeLimit(TimeLimitChoice::OneMinute);
        rig.enter();
        rig.exercise.tick();
        rig.exercise.close();
        QVERIFY(!rig.state().timerOn);
        rig.exercise.open();
        // Expected: three minutes again, counts 0, the key help; the text still there.
        const TypingState &s = rig.state();
        QCOMPARE(s.timeLabel + s.maruLabel + s.batsuLabel, QStringLiteral("TIME 180○ 0× 0"));
        QCOMPARE(s.keyGuide, QStringLiteral("Esc:RESET\r\nCtrl:REPEAT"));
        QVERIFY(!s.scoreVisible);
        QCOMPARE(s.barShare, 1.0);
        QCOMPARE(s.caption, QStringLiteral("応用日本語入力　３分"));
        QCOMPARE(s.barColour, (Rgb{0, 0, 255}));
        QCOMPARE(s.display, QString());
        rig.enter();
        QVERIFY(FileLines.contains(rig.state().display));
    }

    void load_while_running_leaves_the_run_and_empties_display()
    {
        // State: a run a second in, "on" typed. Action: another file.
        Rig rig;
        bringTo(rig, RunState::Ready);
        rig.enter();
        rig.exercise.tick();
        rig.type(QStringLiteral("on"));
        QVERIFY(rig.exercise.loadChosenFile(writeFile(QStringLiteral("other.txt"), "x\ny"))->ok());
        // Expected: no line shown; the input, the clock and the counts go on; the new text.
        QCOMPARE(rig.state().display, QString());
        QCOMPARE(rig.state().input, QStringLiteral("on"));
        QVERIFY(rig.state().timerOn);
        QCOMPARE(rig.exercise.jikan(), 179);
        QCOMPARE(rig.exercise.maru(), 1);
        QCOMPARE(rig.exercise.text().currentLine(), QStringLiteral("y"));
    }

    void cancelled_dialog_reloads_the_earlier_file()
    {
        // State: a file loaded, then changed on disk. Action: the dialog cancelled.
        Rig rig;
        const QString path = writeFile(QStringLiteral("changing.txt"), "old 1\nold 2\n");
        QVERIFY(rig.exercise.loadChosenFile(path)->ok());
        rig.ctrl();
        writeFile(QStringLiteral("changing.txt"), "new 1\nnew 2\nnew 3\n");
        QVERIFY(rig.exercise.loadChosenFile(QString())->ok());
        // Expected: the same file read again, the display emptied.
        QCOMPARE(rig.exercise.text().practiceFile(), path);
        QCOMPARE(rig.exercise.text().lastLineNo(), 2);
        QCOMPARE(rig.exercise.text().currentLine(), QStringLiteral("new 2"));
        QCOMPARE(rig.state().display, QString());
    }

    void unreadable_file_keeps_the_earlier_text_and_run()
    {
        // State: a run showing "one". Action: a file that is not there.
        Rig rig;
        bringTo(rig, RunState::Ready);
        rig.random.push(0);
        rig.enter();
        const auto content = rig.exercise.loadChosenFile(m_dir.filePath(QStringLiteral("nowhere.txt")));
        // Expected: the user told; file, line and run as they were.
        QVERIFY(content && !content->ok());
        QCOMPARE(rig.exercise.profile().loadMessages(*content), QStringList{"ファイルが見つかりません。"});
        QCOMPARE(rig.exercise.text().practiceFile(), m_practice);
        QCOMPARE(rig.state().display, QStringLiteral("one"));
        rig.type(QStringLiteral("one"));
        rig.enter();
        QCOMPARE(rig.exercise.maru(), 2);
    }

    void english_speaks_where_japanese_announces()
    {
        // State: English with a voice; a run with a wrong try and Ctrl. Action: time runs out.
        Rig rig(TypingProfile::english());
        rig.exercise.setSpeaker(&rig.services);
        bringTo(rig, RunState::Ready);
        rig.random.push(0);
        rig.enter();
        rig.type(QStringLiteral("on"));
        rig.enter();
        rig.ctrl();
        rig.runOut();
        // Expected: the same moments spoken, Boo on the wrong try, the English texts.
        QCOMPARE(rig.services.log, (Effects{spoken("one"), cue(Cue::Boo), spoken("one"),
                                            spoken("GAME OVER.  RESET!"), spoken("SCORE -1")}));
        QCOMPARE(rig.state().display, QStringLiteral("GAME OVER.  RESET!"));
    }
};

QTEST_GUILESS_MAIN(TypingExerciseTest)
#include "test_typing_exercise.moc"
