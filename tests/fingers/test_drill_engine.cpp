// The timed drill engine with both profiles: runs, judging, score, time-up.
#include "fingers/drill_engine.h"
#include "fingers/drill_tables.h"
#include "platform/key_event.h"
#include "support/fakes.h"
#include "effect_text.h"

#include <QTest>

#include <cmath>
#include <deque>
#include <stdexcept>

using hoshi::Cue;
using hoshi::DrillEngine;
using hoshi::DrillPhase;
using hoshi::DrillProfile;
using hoshi::testing::announced;
using hoshi::testing::ding;
using hoshi::testing::effectTexts;
using hoshi::testing::RecordingServices;
using hoshi::testing::ScriptedRandom;

Q_DECLARE_METATYPE(const DrillProfile *)

namespace {

const DrillProfile *alphabet()
{
    return &hoshi::alphabetDrillProfile();
}

const DrillProfile *numbers()
{
    return &hoshi::numbersAndSymbolsDrillProfile();
}

void addProfileRows()
{
    QTest::addColumn<const DrillProfile *>("profile");
    QTest::newRow("alphabet") << alphabet();
    QTest::newRow("numbers and symbols") << numbers();
}

// An engine with its services and a scripted generator: row numbers are 0-based.
struct Drill {
    explicit Drill(const DrillProfile &profile, std::deque<int> rows = {})
        : random(std::move(rows))
        , engine(profile, services, services, random)
    {
    }

    void typeTarget() { engine.keyPress(engine.view().keyText.toLower().at(0).unicode()); }

    RecordingServices services;
    ScriptedRandom random;
    DrillEngine engine;
};

// Fails the hit branch when asked: the announcer throws once.
class FailingAnnouncer final : public hoshi::Announcer {
public:
    void announce(const QString &text) override
    {
        if (failNext) {
            failNext = false;
            throw std::runtime_error("clipboard busy");
        }
        texts << text;
    }
    bool failNext = false;
    QStringList texts;
};

class FailingRandom final : public hoshi::RandomSource {
public:
    int below(int) override
    {
        if (failNext)
            throw std::runtime_error("no numbers");
        return next;
    }
    bool failNext = false;
    int next = 0;
};

// Chi-square of the counts against equal shares.
double chiSquare(const std::vector<int> &counts, int draws)
{
    const double expected = static_cast<double>(draws) / static_cast<double>(counts.size());
    double sum = 0;
    for (int count : counts)
        sum += (count - expected) * (count - expected) / expected;
    return sum;
}

} // namespace

class TestDrillEngine : public QObject {
    Q_OBJECT

private slots:
    void load_gives_ready_state_data() { addProfileRows(); }
    void load_gives_ready_state();
    void start_shows_and_announces_first_target();
    void full_run_has_exactly_time_limit_ticks_data() { addProfileRows(); }
    void full_run_has_exactly_time_limit_ticks();
    void hit_counts_draws_and_announces_new_target();
    void miss_announces_target_counts_then_dings();
    void misses_of_the_alphabet_drill_data();
    void misses_of_the_alphabet_drill();
    void symbol_targets_judged_by_character_data();
    void symbol_targets_judged_by_character();
    void repeated_target_counts_and_is_announced_again();
    void eight_hits_eleven_misses_score_minus_three();
    void space_start_is_not_judged_as_a_miss();
    void space_during_run_is_a_miss();
    void space_after_time_up_starts_fresh_run();
    void typing_outside_a_run_changes_nothing();
    void escape_asks_to_close_in_every_state();
    void hidden_finger_names_return_at_next_start();
    void failure_in_hit_branch_ends_only_that_key();
    void failed_draw_keeps_the_old_target();
    void every_row_equally_likely_data() { addProfileRows(); }
    void every_row_equally_likely();
    void targets_repeat_and_differ_between_generators();
};

void TestDrillEngine::load_gives_ready_state()
{
    QFETCH(const DrillProfile *, profile);
    // State: a new engine. Action: load.
    Drill drill(*profile);
    drill.engine.load();
    // Expected: counts 0, full time, target drawn but hidden, nothing announced.
    const auto &view = drill.engine.view();
    QCOMPARE(drill.engine.phase(), DrillPhase::Ready);
    QCOMPARE(view.timeText, QStringLiteral("TIME ") + QString::number(profile->timeLimit));
    QCOMPARE(view.maruText, QStringLiteral("○ 0"));
    QCOMPARE(view.batsuText, QStringLiteral("× 0"));
    QCOMPARE(view.tokutenText, QStringLiteral("得点 0"));
    QCOMPARE(view.startCaption, QStringLiteral("START"));
    QVERIFY(view.startEnabled);
    QVERIFY(!view.keyVisible);
    QVERIFY(!view.fingerVisible);
    QVERIFY(!view.tokutenVisible);
    QCOMPARE(view.keyText.size(), 1);
    QVERIFY(!drill.engine.timerOn());
    QVERIFY(drill.services.log.empty());
}

void TestDrillEngine::start_shows_and_announces_first_target()
{
    // State: loaded; the first draw will be row 5 (T).
    Drill drill(*alphabet(), {4});
    drill.engine.load();
    // Action: start (load again: the next draw, row 13, D, is the target).
    drill.random.push(12);
    drill.engine.start();
    // Expected: D shown with its finger label and announced; timer runs.
    const auto &view = drill.engine.view();
    QCOMPARE(view.keyText, QStringLiteral("D"));
    QCOMPARE(view.fingerText, QStringLiteral("左手\u3000中指"));
    QVERIFY(view.keyVisible && view.fingerVisible);
    QVERIFY(!view.startEnabled);
    QVERIFY(drill.engine.timerOn());
    QCOMPARE(drill.engine.maru(), 0);
    QCOMPARE(effectTexts(drill.services), QStringList{announced(QStringLiteral("D"))});
}

void TestDrillEngine::full_run_has_exactly_time_limit_ticks()
{
    QFETCH(const DrillProfile *, profile);
    // State: a run has started; one hit.
    Drill drill(*profile);
    drill.engine.load();
    drill.engine.start();
    drill.typeTarget();
    const int limit = profile->timeLimit;
    const float box = 600.0f;
    QCOMPARE(drill.engine.barWidth(box), box);
    // Action: TimeLimit - 1 ticks.
    drill.engine.tick();
    QCOMPARE(drill.engine.view().timeText, QStringLiteral("TIME %1").arg(limit - 1));
    QCOMPARE(drill.engine.barWidth(box), box / static_cast<float>(limit) * static_cast<float>(limit - 1));
    for (int i = 2; i < limit; ++i)
        drill.engine.tick();
    // Expected: still running at TIME 1, no score yet.
    QCOMPARE(drill.engine.view().timeText, QStringLiteral("TIME 1"));
    QVERIFY(drill.engine.timerOn());
    QVERIFY(!drill.engine.view().tokutenVisible);
    drill.services.clear();
    // Action: the last tick.
    drill.engine.tick();
    // Expected: TIME 0, timer off, prompt, empty target, RETRY, score shown and announced, empty bar.
    const auto &view = drill.engine.view();
    QCOMPARE(view.timeText, QStringLiteral("TIME 0"));
    QCOMPARE(drill.engine.phase(), DrillPhase::TimeUp);
    QVERIFY(!drill.engine.timerOn());
    QCOMPARE(view.fingerText, QStringLiteral("Spaceでスタート"));
    QCOMPARE(view.keyText, QString());
    QVERIFY(view.startEnabled);
    QCOMPARE(view.startCaption, QStringLiteral("RETRY"));
    QVERIFY(view.tokutenVisible);
    QCOMPARE(view.tokutenText, QStringLiteral("得点 1"));
    QCOMPARE(effectTexts(drill.services), QStringList{announced(QStringLiteral("得点 1"))});
    QCOMPARE(drill.engine.barWidth(box), 0.0f);
    // Action: a stray tick after time-up. Expected: nothing moves.
    drill.engine.tick();
    QCOMPARE(drill.engine.view().timeText, QStringLiteral("TIME 0"));
    QCOMPARE(drill.services.log.size(), std::size_t{1});
}

void TestDrillEngine::hit_counts_draws_and_announces_new_target()
{
    // State: running with target F; the next draw is row 3 (V).
    Drill drill(*alphabet(), {0, 0, 2});
    drill.engine.load();
    drill.engine.start();
    drill.services.clear();
    // Action: type f.
    drill.engine.keyPress('f');
    // Expected: ○ 1, V shown and announced, no sound.
    QCOMPARE(drill.engine.view().maruText, QStringLiteral("○ 1"));
    QCOMPARE(drill.engine.view().keyText, QStringLiteral("V"));
    QCOMPARE(drill.engine.view().echoText, QStringLiteral("F"));
    QCOMPARE(drill.engine.keyNo(), 3);
    QCOMPARE(effectTexts(drill.services), QStringList{announced(QStringLiteral("V"))});
}

void TestDrillEngine::miss_announces_target_counts_then_dings()
{
    // State: running with target F.
    Drill drill(*alphabet(), {0, 0});
    drill.engine.load();
    drill.engine.start();
    drill.services.clear();
    // Action: type g.
    drill.engine.keyPress('g');
    // Expected: F announced again, × 1, then the wrong-key cue; target stays.
    QCOMPARE(effectTexts(drill.services), (QStringList{announced(QStringLiteral("F")), ding()}));
    QCOMPARE(drill.engine.view().batsuText, QStringLiteral("× 1"));
    QCOMPARE(drill.engine.view().keyText, QStringLiteral("F"));
    QCOMPARE(drill.engine.view().echoText, QStringLiteral("G"));
    QCOMPARE(drill.engine.maru(), 0);
}

void TestDrillEngine::misses_of_the_alphabet_drill_data()
{
    QTest::addColumn<int>("charCode");
    QTest::newRow("digit") << int('1');
    QTest::newRow("blank") << 32;
    QTest::newRow("enter") << 13;
    QTest::newRow("backspace") << 8;
    QTest::newRow("ctrl+f") << 6;
    QTest::newRow("full-width f") << 0xFF46;
    QTest::newRow("latin small e acute") << 0xE9;
}

void TestDrillEngine::misses_of_the_alphabet_drill()
{
    QFETCH(int, charCode);
    // State: running with target F.
    Drill drill(*alphabet(), {0, 0});
    drill.engine.load();
    drill.engine.start();
    drill.services.clear();
    // Action: a character that is not F after folding a to z.
    drill.engine.keyPress(charCode);
    // Expected: a miss.
    QCOMPARE(drill.engine.batsu(), 1);
    QCOMPARE(drill.services.cueCount(Cue::Ding), 1);
}

void TestDrillEngine::symbol_targets_judged_by_character_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("charCode");
    QTest::addColumn<bool>("hit");
    QTest::newRow("; hit") << 28 << int(';') << true;
    QTest::newRow("+ at ; miss") << 28 << int('+') << false;
    QTest::newRow(": hit") << 43 << int(':') << true;
    QTest::newRow("* at : miss") << 43 << int('*') << false;
    QTest::newRow("@ hit") << 41 << int('@') << true;
    QTest::newRow("- hit") << 42 << int('-') << true;
    QTest::newRow(", hit") << 18 << int(',') << true;
    QTest::newRow(". hit") << 24 << int('.') << true;
    QTest::newRow("/ hit") << 30 << int('/') << true;
    QTest::newRow("1 hit") << 31 << int('1') << true;
    QTest::newRow("! at 1 miss") << 31 << int('!') << false;
    QTest::newRow("0 hit") << 40 << int('0') << true;
    QTest::newRow("z at Z hit") << 27 << int('z') << true;
    QTest::newRow("Z at Z hit") << 27 << int('Z') << true;
}

void TestDrillEngine::symbol_targets_judged_by_character()
{
    QFETCH(int, row);
    QFETCH(int, charCode);
    QFETCH(bool, hit);
    // State: the numbers drill running with the given row as target.
    Drill drill(*numbers(), {0, row - 1});
    drill.engine.load();
    drill.engine.start();
    const QString target = drill.engine.view().keyText;
    // Expected: the target is announced as that one character.
    QCOMPARE(effectTexts(drill.services), QStringList{announced(target)});
    // Action: type the character.
    drill.engine.keyPress(charCode);
    // Expected: a hit or a miss.
    QCOMPARE(drill.engine.maru(), hit ? 1 : 0);
    QCOMPARE(drill.engine.batsu(), hit ? 0 : 1);
}

void TestDrillEngine::repeated_target_counts_and_is_announced_again()
{
    // State: running with target K; the next draw is K again.
    Drill drill(*alphabet(), {0, 15, 15});
    drill.engine.load();
    drill.engine.start();
    // Action: type k.
    drill.engine.keyPress('k');
    // Expected: a hit, and K announced once more.
    QCOMPARE(drill.engine.maru(), 1);
    QCOMPARE(drill.services.announcements(), (QStringList{"K", "K"}));
}

void TestDrillEngine::eight_hits_eleven_misses_score_minus_three()
{
    // State: a run of the alphabet drill.
    Drill drill(*alphabet());
    drill.engine.load();
    drill.engine.start();
    // Action: 8 hits and 11 misses (a digit never matches), then the time runs out.
    for (int i = 0; i < 8; ++i)
        drill.typeTarget();
    for (int i = 0; i < 11; ++i)
        drill.engine.keyPress('7');
    for (int i = 0; i < 30; ++i)
        drill.engine.tick();
    // Expected: counts with their own blank, the score without.
    QCOMPARE(drill.engine.view().maruText, QStringLiteral("○ 8"));
    QCOMPARE(drill.engine.view().batsuText, QStringLiteral("× 11"));
    QCOMPARE(drill.engine.view().tokutenText, QStringLiteral("得点 -3"));
    QCOMPARE(drill.services.announcements().last(), QStringLiteral("得点 -3"));
}

void TestDrillEngine::space_start_is_not_judged_as_a_miss()
{
    // State: ready.
    Drill drill(*alphabet(), {0, 5});
    drill.engine.load();
    // Action: Space, as its key-down then its character.
    QCOMPARE(drill.engine.keyDown(hoshi::VkSpace, 0), DrillEngine::KeyResult::Started);
    drill.engine.keyPress(' ');
    // Expected: running, counts 0, only the first target announced, no sound.
    QCOMPARE(drill.engine.phase(), DrillPhase::Running);
    QCOMPARE(drill.engine.batsu(), 0);
    QCOMPARE(drill.engine.view().batsuText, QStringLiteral("× 0"));
    QCOMPARE(effectTexts(drill.services), QStringList{announced(QStringLiteral("B"))});
}

void TestDrillEngine::space_during_run_is_a_miss()
{
    // State: started by Space; its character consumed.
    Drill drill(*alphabet(), {0, 0});
    drill.engine.load();
    drill.engine.keyDown(hoshi::VkSpace, 0);
    drill.engine.keyPress(' ');
    // Action: Space again during the run.
    QCOMPARE(drill.engine.keyDown(hoshi::VkSpace, 0), DrillEngine::KeyResult::None);
    drill.engine.keyPress(' ');
    // Expected: a miss, and the run goes on.
    QCOMPARE(drill.engine.batsu(), 1);
    QCOMPARE(drill.engine.phase(), DrillPhase::Running);
}

void TestDrillEngine::space_after_time_up_starts_fresh_run()
{
    // State: a run with hits and misses has ended.
    Drill drill(*alphabet());
    drill.engine.load();
    drill.engine.start();
    drill.typeTarget();
    drill.engine.keyPress('7');
    for (int i = 0; i < 30; ++i)
        drill.engine.tick();
    drill.services.clear();
    // Action: Space.
    QCOMPARE(drill.engine.keyDown(hoshi::VkSpace, 0), DrillEngine::KeyResult::Started);
    drill.engine.keyPress(' ');
    // Expected: counts 0, TIME 30, score hidden, the new target announced.
    const auto &view = drill.engine.view();
    QCOMPARE(view.maruText, QStringLiteral("○ 0"));
    QCOMPARE(view.batsuText, QStringLiteral("× 0"));
    QCOMPARE(view.timeText, QStringLiteral("TIME 30"));
    QVERIFY(!view.tokutenVisible);
    QVERIFY(view.fingerVisible);
    QVERIFY(view.fingerText != QStringLiteral("Spaceでスタート"));
    QCOMPARE(effectTexts(drill.services), QStringList{announced(view.keyText)});
    QCOMPARE(drill.engine.barWidth(300.0f), 300.0f);
}

void TestDrillEngine::typing_outside_a_run_changes_nothing()
{
    Drill drill(*alphabet(), {0});
    drill.engine.load();
    // Action (ready): the hidden target and other characters.
    for (int c : {int('f'), int('F'), 32, 13})
        drill.engine.keyPress(c);
    // Expected: nothing counted, shown or heard.
    QVERIFY(drill.services.log.empty());
    QCOMPARE(drill.engine.maru(), 0);
    QCOMPARE(drill.engine.view().echoText, QString());
    // State: after time-up. Action: typing.
    drill.engine.start();
    for (int i = 0; i < 30; ++i)
        drill.engine.tick();
    drill.services.clear();
    for (int c : {int('f'), int('7'), 32})
        drill.engine.keyPress(c);
    // Expected: frozen counts, no effect.
    QVERIFY(drill.services.log.empty());
    QCOMPARE(drill.engine.view().maruText, QStringLiteral("○ 0"));
    QCOMPARE(drill.engine.view().batsuText, QStringLiteral("× 0"));
}

void TestDrillEngine::escape_asks_to_close_in_every_state()
{
    Drill drill(*alphabet());
    drill.engine.load();
    QCOMPARE(drill.engine.keyDown(hoshi::VkEscape, 0), DrillEngine::KeyResult::Close);
    drill.engine.start();
    QCOMPARE(drill.engine.keyDown(hoshi::VkEscape, 0), DrillEngine::KeyResult::Close);
    // Key-downs other than Escape and Space do nothing.
    drill.services.clear();
    for (int code : {13, 37, 112, 16, 70})
        QCOMPARE(drill.engine.keyDown(code, 0), DrillEngine::KeyResult::None);
    QVERIFY(drill.services.log.empty());
    for (int i = 0; i < 30; ++i)
        drill.engine.tick();
    QCOMPARE(drill.engine.keyDown(hoshi::VkEscape, 0), DrillEngine::KeyResult::Close);
}

void TestDrillEngine::hidden_finger_names_return_at_next_start()
{
    // State: names hidden before the start.
    Drill drill(*alphabet());
    drill.engine.load();
    drill.engine.hideFingerNames();
    // Action: start. Expected: the finger label is shown again.
    drill.engine.start();
    QVERIFY(drill.engine.view().fingerVisible);
    // Action: hide during the run, hit, tick to time-up.
    drill.engine.hideFingerNames();
    drill.typeTarget();
    for (int i = 0; i < 30; ++i)
        drill.engine.tick();
    // Expected: hidden through the run, the prompt unseen; the next start shows it.
    QVERIFY(!drill.engine.view().fingerVisible);
    QCOMPARE(drill.engine.view().fingerText, QStringLiteral("Spaceでスタート"));
    drill.engine.keyDown(hoshi::VkSpace, 0);
    QVERIFY(drill.engine.view().fingerVisible);
}

void TestDrillEngine::failure_in_hit_branch_ends_only_that_key()
{
    // State: running with target F, the announcer fails on the next text.
    FailingAnnouncer announcer;
    RecordingServices cues;
    ScriptedRandom random({0, 1, 2});
    DrillEngine engine(*alphabet(), announcer, cues, random);
    engine.start();
    announcer.failNext = true;
    // Action: a hit whose announcement fails.
    engine.keyPress('f');
    // Expected: the hit counted and R shown; the run goes on and judges the next key.
    QCOMPARE(engine.maru(), 1);
    QCOMPARE(engine.view().keyText, QStringLiteral("R"));
    QCOMPARE(engine.phase(), DrillPhase::Running);
    engine.keyPress('r');
    QCOMPARE(engine.maru(), 2);
    QCOMPARE(announcer.texts, (QStringList{"F", "V"}));
    QCOMPARE(cues.cueCount(Cue::Ding), 0);
}

void TestDrillEngine::failed_draw_keeps_the_old_target()
{
    // State: running with target F; the generator fails on the next draw.
    RecordingServices services;
    FailingRandom random;
    DrillEngine engine(*alphabet(), services, services, random);
    engine.start();
    services.clear();
    random.failNext = true;
    // Action: a hit.
    engine.keyPress('f');
    // Expected: the hit counted before the failure stays; target and run unchanged, nothing announced.
    QCOMPARE(engine.view().maruText, QStringLiteral("○ 1"));
    QCOMPARE(engine.view().keyText, QStringLiteral("F"));
    QCOMPARE(engine.phase(), DrillPhase::Running);
    QVERIFY(services.log.empty());
}

void TestDrillEngine::every_row_equally_likely()
{
    QFETCH(const DrillProfile *, profile);
    const int rows = static_cast<int>(profile->table.size());
    const int draws = rows * 400;
    // Expected bound: chi-square with rows-1 degrees of freedom has mean rows-1
    // and deviation sqrt(2(rows-1)); twelve deviations above the mean is never
    // reached by a fair generator, while a lost or doubled row goes far past it.
    const double bound = (rows - 1) + 12.0 * std::sqrt(2.0 * (rows - 1));
    for (std::uint32_t seed : {1u, 7u, 2024u, 31337u}) {
        // State: the window's real generator with a fixed seed.
        RecordingServices services;
        hoshi::SeededRandom random(seed);
        DrillEngine engine(*profile, services, services, random);
        std::vector<int> counts(static_cast<std::size_t>(rows), 0);
        // Action: many draws.
        for (int i = 0; i < draws; ++i) {
            engine.CurrentStatus();
            QVERIFY(engine.keyNo() >= 1 && engine.keyNo() <= rows);
            ++counts[static_cast<std::size_t>(engine.keyNo() - 1)];
        }
        // Expected: every row comes up, about equally often.
        for (int count : counts)
            QVERIFY(count > 0);
        QVERIFY2(chiSquare(counts, draws) < bound, qPrintable(QString::number(chiSquare(counts, draws))));
    }
}

void TestDrillEngine::targets_repeat_and_differ_between_generators()
{
    // State: two windows' generators seeded from the system, as in the program.
    RecordingServices services;
    hoshi::SeededRandom first;
    hoshi::SeededRandom second;
    DrillEngine a(*alphabet(), services, services, first);
    DrillEngine b(*alphabet(), services, services, second);
    // Action: 200 draws each, at once.
    QStringList seqA;
    QStringList seqB;
    int repeats = 0;
    for (int i = 0; i < 200; ++i) {
        a.CurrentStatus();
        b.CurrentStatus();
        repeats += !seqA.isEmpty() && seqA.last() == a.view().keyText;
        seqA << a.view().keyText;
        seqB << b.view().keyText;
    }
    // Expected: the two sequences differ, and one generator's draws are not
    // stuck on one target (draws in the same instant still differ).
    QVERIFY(seqA != seqB);
    QVERIFY(repeats < 60);
}

QTEST_APPLESS_MAIN(TestDrillEngine)
#include "test_drill_engine.moc"
