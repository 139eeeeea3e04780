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
    void type(const QString &text) { exercise.inputChanged(text); }
    void typeShown() { type(exercise.state().display); }
    void runOut()
    {
        while (exercise.jikan() > 0)
            exercise.tick();
    }

    testing::RecordingServices services;
    testing::ScriptedRandom random;
    TypingExercise exercise;
};

enum class RunState { NoText, Ready, Running, Over, OverWithNewLimit };

} // namespace

class TypingExerciseTest : public QObject {
    Q_OBJECT

private:
    QString writeFile(const QString &name, const QByteArray &bytes);
    void loadPractice(Rig &rig);
    void bringTo(Rig &rig, RunState state);
    QTemporaryDir m_dir;
    QString m_practice;

private slots:
    void initTestCase();

    void enter_without_text_does_nothing();
    void start_press_counts_zero_and_draws_a_line();
    void typing_before_the_first_enter_is_a_wrong_try();
    void score_is_correct_lines_minus_wrong_tries_data();
    void score_is_correct_lines_minus_wrong_tries();
    void wrong_try_keeps_line_and_input();
    void empty_drawn_line_is_matched_by_an_empty_input();
    void comparison_is_exact();
    void ctrl_before_the_first_enter_says_entry_one();
    void ctrl_says_the_line_on_every_key_down();
    void time_up_locks_input_and_says_end_then_score();
    void enter_after_time_up_does_nothing();
    void time_limit_entries_data();
    void time_limit_entries();
    void time_limit_mid_run_goes_on_from_the_new_time();
    void time_limit_in_over_restarts_the_clock_with_input_locked();
    void esc_resets_from_every_state_data();
    void esc_resets_from_every_state();
    void close_and_reopen_keeps_text_and_resets_run();
    void load_while_running_leaves_the_run_and_empties_display();
    void cancelled_dialog_reloads_the_earlier_file();
    void cancelled_dialog_before_any_choice_keeps_nothing();
    void unreadable_file_keeps_the_earlier_text_and_run();
    void english_speaks_where_japanese_announces();
    void english_without_voice_still_runs();
};

QString TypingExerciseTest::writeFile(const QString &name, const QByteArray &bytes)
{
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void TypingExerciseTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_practice = writeFile(QStringLiteral("practice.txt"), FileLines.join(QStringLiteral("\r\n")).toUtf8());
}

void TypingExerciseTest::loadPractice(Rig &rig)
{
    const auto content = rig.exercise.loadChosenFile(m_practice);
    QVERIFY(content && content->ok());
}

void TypingExerciseTest::bringTo(Rig &rig, RunState state)
{
    if (state == RunState::NoText)
        return;
    loadPractice(rig);
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

void TypingExerciseTest::enter_without_text_does_nothing()
{
    Rig rig;
    rig.enter();
    QVERIFY(!rig.exercise.state().timerOn);
    QCOMPARE(rig.exercise.state().timeLabel, QStringLiteral("TIME 180"));
    QCOMPARE(rig.exercise.maru(), 0);
    QVERIFY(rig.services.log.empty());
}

void TypingExerciseTest::start_press_counts_zero_and_draws_a_line()
{
    // State: text loaded, empty input.
    Rig rig;
    loadPractice(rig);
    rig.random.push(2);
    // Action
    rig.enter();
    // Expected: timer on, Maru 1 shown as 0, line 3 drawn and announced.
    QVERIFY(rig.exercise.state().timerOn);
    QCOMPARE(rig.exercise.maru(), 1);
    QCOMPARE(rig.exercise.state().maruLabel, QStringLiteral("○ 0"));
    QCOMPARE(rig.exercise.state().display, QStringLiteral("three"));
    QCOMPARE(rig.services.log, (std::vector<Effect>{announced("three")}));
}

void TypingExerciseTest::typing_before_the_first_enter_is_a_wrong_try()
{
    Rig rig;
    loadPractice(rig);
    rig.type(QStringLiteral("abc"));
    rig.enter();
    QVERIFY(rig.exercise.state().timerOn);
    QCOMPARE(rig.exercise.batsu(), 1);
    QCOMPARE(rig.exercise.state().batsuLabel, QStringLiteral("× 1"));
    QCOMPARE(rig.exercise.state().display, QString());
    QCOMPARE(rig.services.log, (std::vector<Effect>{cue(Cue::Zannen)}));

    // Emptying the input and pressing Enter again draws the first line.
    rig.random.push(0);
    rig.type(QString());
    rig.enter();
    QCOMPARE(rig.exercise.maru(), 1);
    QCOMPARE(rig.exercise.state().display, QStringLiteral("one"));
    QCOMPARE(rig.services.announcements(), QStringList{"one"});
}

void TypingExerciseTest::score_is_correct_lines_minus_wrong_tries_data()
{
    QTest::addColumn<int>("correct");
    QTest::addColumn<int>("wrong");
    QTest::addColumn<QString>("maruLabel");
    QTest::addColumn<QString>("batsuLabel");
    QTest::addColumn<QString>("score");
    QTest::newRow("5 correct, 2 wrong") << 5 << 2 << "○ 5" << "× 2" << "得点 3";
    QTest::newRow("more wrong than correct") << 1 << 3 << "○ 1" << "× 3" << "得点 -2";
    QTest::newRow("only the start press") << 0 << 0 << "○ 0" << "× 0" << "得点 0";
}

void TypingExerciseTest::score_is_correct_lines_minus_wrong_tries()
{
    QFETCH(int, correct);
    QFETCH(int, wrong);
    QFETCH(QString, maruLabel);
    QFETCH(QString, batsuLabel);
    QFETCH(QString, score);
    // State: a run started; lines typed right and wrong tries in between.
    Rig rig;
    loadPractice(rig);
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
    // Action: time runs out.
    QCOMPARE(rig.exercise.maru(), correct + 1);
    rig.runOut();
    // Expected: the counts shown without the start press, and the score.
    QCOMPARE(rig.exercise.state().maruLabel, maruLabel);
    QCOMPARE(rig.exercise.state().batsuLabel, batsuLabel);
    QCOMPARE(rig.exercise.state().scoreLabel, score);
    QCOMPARE(rig.services.cueCount(Cue::Zannen), wrong);
}

void TypingExerciseTest::wrong_try_keeps_line_and_input()
{
    Rig rig;
    loadPractice(rig);
    rig.random.push(3);
    rig.enter();
    rig.type(QStringLiteral("fou"));
    rig.services.clear();
    rig.enter();
    rig.enter();
    QCOMPARE(rig.exercise.batsu(), 2);
    QCOMPARE(rig.exercise.state().display, QStringLiteral("four"));
    QCOMPARE(rig.exercise.state().input, QStringLiteral("fou"));
    QCOMPARE(rig.services.log, (std::vector<Effect>{cue(Cue::Zannen), cue(Cue::Zannen)}));
}

void TypingExerciseTest::empty_drawn_line_is_matched_by_an_empty_input()
{
    Rig rig;
    QVERIFY(rig.exercise.loadChosenFile(writeFile(QStringLiteral("gap.txt"), "a\r\n\r\nb"))->ok());
    rig.random.push(1);
    rig.random.push(1);
    rig.enter();
    QCOMPARE(rig.exercise.state().display, QString());
    rig.enter();
    QCOMPARE(rig.exercise.maru(), 2);
    QCOMPARE(rig.exercise.batsu(), 0);
    QCOMPARE(rig.services.announcements(), (QStringList{"", ""}));
}

void TypingExerciseTest::comparison_is_exact()
{
    Rig rig;
    QVERIFY(rig.exercise.loadChosenFile(writeFile(QStringLiteral("abc.txt"), "Abc"))->ok());
    rig.enter();
    for (const QString &attempt : {QStringLiteral("abc"), QStringLiteral("Abc "), QStringLiteral("Ａｂｃ")}) {
        rig.type(attempt);
        rig.enter();
    }
    QCOMPARE(rig.exercise.batsu(), 3);
    rig.type(QStringLiteral("Abc"));
    rig.enter();
    QCOMPARE(rig.exercise.maru(), 2);
    QCOMPARE(rig.exercise.state().input, QString());
}

void TypingExerciseTest::ctrl_before_the_first_enter_says_entry_one()
{
    Rig rig;
    loadPractice(rig);
    rig.exercise.keyDown(VkControl, CtrlBit);
    QCOMPARE(rig.exercise.state().display, QStringLiteral("two"));
    QCOMPARE(rig.services.log, (std::vector<Effect>{announced("two")}));
    QVERIFY(!rig.exercise.state().timerOn);
}

void TypingExerciseTest::ctrl_says_the_line_on_every_key_down()
{
    // State: a run showing "five".
    Rig rig;
    loadPractice(rig);
    rig.random.push(4);
    rig.enter();
    rig.services.clear();
    // Action: Ctrl held (three key-downs with repeat), and Ctrl as part of Ctrl+O.
    for (int i = 0; i < 3; ++i)
        rig.exercise.keyDown(VkControl, CtrlBit);
    // Expected: said each time; nothing else changes.
    QCOMPARE(rig.services.announcements(), (QStringList{"five", "five", "five"}));
    QCOMPARE(rig.exercise.maru(), 1);
    QCOMPARE(rig.exercise.batsu(), 0);
}

void TypingExerciseTest::time_up_locks_input_and_says_end_then_score()
{
    Rig rig;
    loadPractice(rig);
    rig.enter();
    rig.type(QStringLiteral("half typed"));
    for (int i = 0; i < 179; ++i)
        rig.exercise.tick();
    QCOMPARE(rig.exercise.state().timeLabel, QStringLiteral("TIME 1"));
    rig.services.clear();

    rig.exercise.tick();

    const TypingState &s = rig.exercise.state();
    QCOMPARE(s.timeLabel, QStringLiteral("TIME 0"));
    QVERIFY(!s.timerOn);
    QVERIFY(s.inputLocked);
    QCOMPARE(s.input, QStringLiteral("half typed"));
    QCOMPARE(s.display, QStringLiteral("おしまい  RESET!"));
    QVERIFY(s.scoreVisible);
    QCOMPARE(s.scoreLabel, QStringLiteral("得点 0"));
    QCOMPARE(s.barShare, 0.0);
    QCOMPARE(rig.services.log, (std::vector<Effect>{announced("おしまい  RESET!"), announced("得点 0")}));
    // A locked input takes no typing.
    rig.type(QStringLiteral("more"));
    QCOMPARE(rig.exercise.state().input, QStringLiteral("half typed"));
}

void TypingExerciseTest::enter_after_time_up_does_nothing()
{
    Rig rig;
    bringTo(rig, RunState::Over);
    rig.services.clear();
    rig.enter();
    QVERIFY(!rig.exercise.state().timerOn);
    QCOMPARE(rig.exercise.batsu(), 0);
    QVERIFY(rig.services.log.empty());
}

void TypingExerciseTest::time_limit_entries_data()
{
    QTest::addColumn<TimeLimitChoice>("choice");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<Rgb>("colour");
    QTest::addColumn<QString>("japanese");
    QTest::addColumn<QString>("english");
    QTest::newRow("1") << TimeLimitChoice::OneMinute << 60 << Rgb{255, 0, 0}
                       << QStringLiteral("応用日本語入力　１分") << QStringLiteral("ENGLISH One Minute");
    QTest::newRow("3") << TimeLimitChoice::ThreeMinutes << 180 << Rgb{0, 0, 255}
                       << QStringLiteral("応用日本語入力　３分") << QStringLiteral("ENGLISH Three Minutes");
    QTest::newRow("5") << TimeLimitChoice::FiveMinutes << 300 << Rgb{0, 255, 0}
                       << QStringLiteral("応用日本語入力　５分") << QStringLiteral("ENGLISH Five Minutes");
}

void TypingExerciseTest::time_limit_entries()
{
    QFETCH(TimeLimitChoice, choice);
    QFETCH(int, seconds);
    QFETCH(Rgb, colour);
    QFETCH(QString, japanese);
    QFETCH(QString, english);
    Rig jp;
    Rig en(TypingProfile::english());
    jp.exercise.chooseTimeLimit(choice);
    en.exercise.chooseTimeLimit(choice);
    QCOMPARE(jp.exercise.jikan(), seconds);
    QCOMPARE(jp.exercise.timeLimit(), seconds);
    QCOMPARE(jp.exercise.state().timeLabel, QStringLiteral("TIME %1").arg(seconds));
    QCOMPARE(jp.exercise.state().barColour, colour);
    QCOMPARE(jp.exercise.state().caption, japanese);
    QCOMPARE(en.exercise.state().caption, english);
    QVERIFY(!jp.exercise.state().timerOn);
}

void TypingExerciseTest::time_limit_mid_run_goes_on_from_the_new_time()
{
    // State: a three-minute run at Jikan 100.
    Rig rig;
    loadPractice(rig);
    rig.enter();
    for (int i = 0; i < 80; ++i)
        rig.exercise.tick();
    const double shareBefore = rig.exercise.state().barShare;
    // Action
    rig.exercise.chooseTimeLimit(TimeLimitChoice::OneMinute);
    // Expected: 60 at once, run goes on, bar unchanged until the next tick.
    QCOMPARE(rig.exercise.jikan(), 60);
    QCOMPARE(rig.exercise.timeLimit(), 60);
    QCOMPARE(rig.exercise.state().timeLabel, QStringLiteral("TIME 60"));
    QVERIFY(rig.exercise.state().timerOn);
    QCOMPARE(rig.exercise.state().barShare, shareBefore);
    QCOMPARE(rig.exercise.maru(), 1);
    rig.exercise.tick();
    QCOMPARE(rig.exercise.state().barShare, 59.0 / 60.0);
}

void TypingExerciseTest::time_limit_in_over_restarts_the_clock_with_input_locked()
{
    Rig rig;
    bringTo(rig, RunState::OverWithNewLimit);
    QCOMPARE(rig.exercise.jikan(), 60);
    QVERIFY(rig.exercise.state().inputLocked);
    QVERIFY(rig.exercise.state().scoreVisible);
    QVERIFY(!rig.exercise.state().timerOn);
    // The next Enter runs the clock and compares the locked input as usual.
    rig.services.clear();
    rig.enter();
    QVERIFY(rig.exercise.state().timerOn);
    QCOMPARE(rig.exercise.batsu(), 1);
    QCOMPARE(rig.services.log, (std::vector<Effect>{cue(Cue::Zannen)}));
    QVERIFY(rig.exercise.state().inputLocked);
}

void TypingExerciseTest::esc_resets_from_every_state_data()
{
    QTest::addColumn<RunState>("from");
    QTest::newRow("no text") << RunState::NoText;
    QTest::newRow("ready") << RunState::Ready;
    QTest::newRow("running") << RunState::Running;
    QTest::newRow("over") << RunState::Over;
    QTest::newRow("over with a new limit") << RunState::OverWithNewLimit;
}

void TypingExerciseTest::esc_resets_from_every_state()
{
    QFETCH(RunState, from);
    Rig rig;
    rig.exercise.chooseTimeLimit(TimeLimitChoice::FiveMinutes);
    bringTo(rig, from);
    if (from == RunState::Running) {
        for (int i = 0; i < 10; ++i)
            rig.exercise.tick();
    }
    const int limit = rig.exercise.timeLimit();
    rig.services.clear();

    rig.exercise.keyDown(VkEscape, 0);

    const TypingState &s = rig.exercise.state();
    QCOMPARE(rig.exercise.maru(), 0);
    QCOMPARE(rig.exercise.batsu(), 0);
    QCOMPARE(rig.exercise.jikan(), limit);
    QCOMPARE(s.timeLabel, QStringLiteral("TIME %1").arg(limit));
    QCOMPARE(s.maruLabel, QStringLiteral("○ 0"));
    QCOMPARE(s.batsuLabel, QStringLiteral("× 0"));
    QCOMPARE(s.display, QString());
    QCOMPARE(s.input, QString());
    QVERIFY(!s.inputLocked);
    QVERIFY(!s.scoreVisible);
    QVERIFY(!s.timerOn);
    QCOMPARE(s.barShare, 1.0);
    QVERIFY(rig.services.log.empty());
    QCOMPARE(rig.exercise.text().isLoaded(), from != RunState::NoText);
}

void TypingExerciseTest::close_and_reopen_keeps_text_and_resets_run()
{
    Rig rig;
    loadPractice(rig);
    rig.exercise.chooseTimeLimit(TimeLimitChoice::OneMinute);
    rig.enter();
    rig.exercise.tick();

    rig.exercise.close();
    QVERIFY(!rig.exercise.state().timerOn);
    rig.exercise.open();

    const TypingState &s = rig.exercise.state();
    QCOMPARE(s.timeLabel, QStringLiteral("TIME 180"));
    QCOMPARE(s.maruLabel, QStringLiteral("○ 0"));
    QCOMPARE(s.batsuLabel, QStringLiteral("× 0"));
    QCOMPARE(s.keyGuide, QStringLiteral("Esc:RESET\r\nCtrl:REPEAT"));
    QVERIFY(!s.scoreVisible);
    QCOMPARE(s.barShare, 1.0);
    QCOMPARE(s.caption, QStringLiteral("応用日本語入力　３分"));
    QCOMPARE(s.barColour, (Rgb{0, 0, 255}));
    QCOMPARE(s.display, QString());
    QVERIFY(rig.exercise.text().isLoaded());
    rig.enter();
    QVERIFY(rig.exercise.state().timerOn);
    QVERIFY(FileLines.contains(rig.exercise.state().display));
}

void TypingExerciseTest::load_while_running_leaves_the_run_and_empties_display()
{
    Rig rig;
    loadPractice(rig);
    rig.enter();
    rig.exercise.tick();
    rig.type(QStringLiteral("on"));

    QVERIFY(rig.exercise.loadChosenFile(writeFile(QStringLiteral("other.txt"), "x\ny"))->ok());

    QCOMPARE(rig.exercise.state().display, QString());
    QCOMPARE(rig.exercise.state().input, QStringLiteral("on"));
    QVERIFY(rig.exercise.state().timerOn);
    QCOMPARE(rig.exercise.jikan(), 179);
    QCOMPARE(rig.exercise.maru(), 1);
    QCOMPARE(rig.exercise.text().currentLine(), QStringLiteral("y"));
}

void TypingExerciseTest::cancelled_dialog_reloads_the_earlier_file()
{
    Rig rig;
    const QString path = writeFile(QStringLiteral("changing.txt"), "old 1\nold 2\n");
    QVERIFY(rig.exercise.loadChosenFile(path)->ok());
    rig.exercise.keyDown(VkControl, CtrlBit);
    writeFile(QStringLiteral("changing.txt"), "new 1\nnew 2\nnew 3\n");

    const auto content = rig.exercise.loadChosenFile(QString());

    QVERIFY(content && content->ok());
    QCOMPARE(rig.exercise.text().practiceFile(), path);
    QCOMPARE(rig.exercise.text().lastLineNo(), 2);
    QCOMPARE(rig.exercise.text().currentLine(), QStringLiteral("new 2"));
    QCOMPARE(rig.exercise.state().display, QString());
}

void TypingExerciseTest::cancelled_dialog_before_any_choice_keeps_nothing()
{
    Rig rig;
    QVERIFY(!rig.exercise.loadChosenFile(QString()));
    QVERIFY(!rig.exercise.text().isLoaded());
    rig.enter();
    QVERIFY(!rig.exercise.state().timerOn);
}

void TypingExerciseTest::unreadable_file_keeps_the_earlier_text_and_run()
{
    Rig rig;
    loadPractice(rig);
    rig.random.push(0);
    rig.enter();

    const auto content = rig.exercise.loadChosenFile(m_dir.filePath(QStringLiteral("nowhere.txt")));

    QVERIFY(content && !content->ok());
    QCOMPARE(rig.exercise.text().practiceFile(), m_practice);
    QCOMPARE(rig.exercise.state().display, QStringLiteral("one"));
    QCOMPARE(rig.exercise.profile().loadMessages(*content), QStringList{"ファイルが見つかりません。"});
    rig.type(QStringLiteral("one"));
    rig.enter();
    QCOMPARE(rig.exercise.maru(), 2);
}

void TypingExerciseTest::english_speaks_where_japanese_announces()
{
    // State: the English exercise with a voice, a run with one wrong try.
    Rig rig(TypingProfile::english());
    rig.exercise.setSpeaker(&rig.services);
    loadPractice(rig);
    rig.random.push(0);
    rig.enter();
    rig.type(QStringLiteral("on"));
    rig.enter();
    rig.exercise.keyDown(VkControl, CtrlBit);
    // Action: time runs out.
    rig.runOut();
    // Expected: the same moments, spoken, Boo on the wrong try, the English texts.
    QCOMPARE(rig.services.log, (std::vector<Effect>{spoken("one"), cue(Cue::Boo), spoken("one"),
                                                    spoken("GAME OVER.  RESET!"), spoken("SCORE -1")}));
    QCOMPARE(rig.exercise.state().display, QStringLiteral("GAME OVER.  RESET!"));
    QVERIFY(rig.services.announcements().isEmpty());
}

void TypingExerciseTest::english_without_voice_still_runs()
{
    Rig rig(TypingProfile::english());
    rig.exercise.setSpeaker(nullptr);
    loadPractice(rig);
    rig.random.push(1);
    rig.enter();
    QCOMPARE(rig.exercise.state().display, QStringLiteral("two"));
    rig.typeShown();
    rig.enter();
    rig.runOut();
    QCOMPARE(rig.exercise.state().scoreLabel, QStringLiteral("SCORE 1"));
    QVERIFY(rig.services.log.empty());
}

QTEST_GUILESS_MAIN(TypingExerciseTest)
#include "test_typing_exercise.moc"
