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
#include <utility>

using hoshi::Cue;
using hoshi::DrillEngine;
using hoshi::DrillPhase;
using hoshi::DrillProfile;
using hoshi::testing::announced;
using hoshi::testing::ding;
using hoshi::testing::effectTexts;
using hoshi::testing::RecordingServices;
using hoshi::testing::ScriptedRandom;
using Result = DrillEngine::KeyResult;

Q_DECLARE_METATYPE(const DrillProfile *)

namespace {

const DrillProfile &alphabet()
{
    return hoshi::alphabetDrillProfile();
}

void addProfileRows()
{
    QTest::addColumn<const DrillProfile *>("profile");
    QTest::newRow("alphabet") << &alphabet();
    QTest::newRow("numbers and symbols") << &hoshi::numbersAndSymbolsDrillProfile();
}

// An engine with its services and scripted draws (0-based rows; the first is
// taken by load, the second by start), loaded.
struct Drill {
    explicit Drill(const DrillProfile &profile = alphabet(), std::deque<int> rows = {})
        : random(std::move(rows))
        , engine(profile, services, services, random)
    {
        engine.load();
    }

    void typeTarget() { engine.keyPress(engine.view().keyText.toLower().at(0).unicode()); }
    void spaceStart()
    {
        engine.keyDown(hoshi::VkSpace, 0);
        engine.keyPress(' ');
    }
    void runOut()
    {
        for (int i = 0; i < engine.profile().timeLimit; ++i)
            engine.tick();
    }

    RecordingServices services;
    ScriptedRandom random;
    DrillEngine engine;
};

// An announcer and a generator that throw when told to, as a busy clipboard or a failing source might.
struct Failing final : hoshi::Announcer, hoshi::RandomSource {
    void announce(const QString &text) override
    {
        if (std::exchange(failAnnounce, false))
            throw std::runtime_error("clipboard busy");
        texts << text;
    }
    int below(int) override
    {
        if (failDraw)
            throw std::runtime_error("no numbers");
        return 0;
    }
    bool failAnnounce = false;
    bool failDraw = false;
    QStringList texts;
};

} // namespace

class TestDrillEngine : public QObject {
    Q_OBJECT

private slots:
    void tables_match_the_drills_data()
    {
        QTest::addColumn<const DrillProfile *>("profile");
        QTest::addColumn<QString>("characters");
        QTest::addColumn<QString>("fingers"); // L/R, then 1 index, 2 middle, 3 ring, 4 little
        QTest::newRow("alphabet")
            << &alphabet() << "FRVGTBJUMHYNDECKISWXLOAQZP"
            << "L1 L1 L1 L1 L1 L1 R1 R1 R1 R1 R1 R1 L2 L2 L2 R2 R2 L3 L3 L3 R3 R3 L4 L4 L4 R4";
        QTest::newRow("numbers and symbols")
            << &hoshi::numbersAndSymbolsDrillProfile() << "FRVGTBJUMHYNDECKI,SWXLO.AQZ;P/1234567890@-:"
            << "L1 L1 L1 L1 L1 L1 R1 R1 R1 R1 R1 R1 L2 L2 L2 R2 R2 R2 L3 L3 L3 R3 R3 R3 "
               "L4 L4 L4 R4 R4 R4 L4 L3 L2 L1 L1 R1 R1 R2 R3 R4 R4 R4 R4";
    }

    void tables_match_the_drills()
    {
        // Each row: its character, and hand and finger with an ideographic space between.
        QFETCH(const DrillProfile *, profile);
        QFETCH(QString, characters);
        QFETCH(QString, fingers);
        const QStringList codes = fingers.split(u' ');
        const QStringList names{"人さし指", "中指", "くすり指", "小指"};
        QCOMPARE(int(profile->table.size()), int(characters.size()));
        for (int row = 0; row < characters.size(); ++row) {
            const QString hand = codes.at(row).at(0) == u'L' ? QStringLiteral("左手") : QStringLiteral("右手");
            const auto &target = profile->table[std::size_t(row)];
            QCOMPARE(target.character, characters.mid(row, 1));
            QCOMPARE(target.fingerLabel, hand + QChar(0x3000) + names.at(codes.at(row).at(1).digitValue() - 1));
        }
    }

    void start_draws_shows_and_announces_the_target()
    {
        // State: loaded (row 5, T, drawn). Action: start, drawing row 13 (D).
        Drill drill(alphabet(), {4, 12});
        drill.engine.start();
        // Expected: D with its finger label, announced; the timer runs; the start press not counted.
        QCOMPARE(drill.engine.view().keyText, QStringLiteral("D"));
        QCOMPARE(drill.engine.view().fingerText, QStringLiteral("左手\u3000中指"));
        QVERIFY(drill.engine.view().keyVisible && drill.engine.view().fingerVisible);
        QVERIFY(!drill.engine.view().startEnabled);
        QVERIFY(drill.engine.timerOn());
        QCOMPARE(drill.engine.maru(), 0);
        QCOMPARE(effectTexts(drill.services), QStringList{announced("D")});
    }

    void full_run_has_exactly_time_limit_ticks_data() { addProfileRows(); }
    void full_run_has_exactly_time_limit_ticks()
    {
        // State: a run with one hit and eleven misses.
        QFETCH(const DrillProfile *, profile);
        Drill drill(*profile);
        drill.engine.start();
        drill.typeTarget();
        for (int i = 0; i < 11; ++i)
            drill.engine.keyPress(0x3042);
        const int limit = profile->timeLimit;
        QCOMPARE(drill.engine.barWidth(600.0f), 600.0f);
        // Action: TimeLimit - 1 ticks. Expected: the bar loses a share a second; still running at TIME 1.
        drill.engine.tick();
        QCOMPARE(drill.engine.barWidth(600.0f), 600.0f / static_cast<float>(limit) * static_cast<float>(limit - 1));
        for (int i = 2; i < limit; ++i)
            drill.engine.tick();
        QCOMPARE(drill.engine.view().timeText, QStringLiteral("TIME 1"));
        QVERIFY(drill.engine.timerOn() && !drill.engine.view().tokutenVisible);
        drill.services.clear();
        // Action: the last tick, then a stray one.
        drill.engine.tick();
        drill.engine.tick();
        // Expected: TIME 0, the prompt, RETRY, the score shown and announced once, an empty bar.
        const auto &view = drill.engine.view();
        QCOMPARE(view.timeText, QStringLiteral("TIME 0"));
        QCOMPARE(drill.engine.phase(), DrillPhase::TimeUp);
        QVERIFY(!drill.engine.timerOn());
        QCOMPARE(view.fingerText, QStringLiteral("Spaceでスタート"));
        QCOMPARE(view.keyText, QString());
        QVERIFY(view.startEnabled && view.tokutenVisible);
        QCOMPARE(view.startCaption, QStringLiteral("RETRY"));
        QCOMPARE(view.maruText + view.batsuText + view.tokutenText, QStringLiteral("○ 1× 11得点 -10"));
        QCOMPARE(effectTexts(drill.services), QStringList{announced("得点 -10")});
        QCOMPARE(drill.engine.barWidth(600.0f), 0.0f);
    }

    void hit_draws_and_announces_miss_announces_then_dings()
    {
        // State: running with target F; the next draws are row 3 (V), twice.
        Drill drill(alphabet(), {0, 0, 2, 2});
        drill.engine.start();
        drill.services.clear();
        // Action: f. Expected: ○ 1, V drawn and announced, no sound.
        drill.engine.keyPress('f');
        QCOMPARE(drill.engine.view().maruText, QStringLiteral("○ 1"));
        QCOMPARE(drill.engine.view().echoText, QStringLiteral("F"));
        QCOMPARE(drill.engine.keyNo(), 3);
        // Action: v, then g. Expected: V drawn again and announced again; then V announced, × 1, the cue.
        drill.engine.keyPress('v');
        drill.engine.keyPress('g');
        QCOMPARE(effectTexts(drill.services), (QStringList{announced("V"), announced("V"), announced("V"), ding()}));
        QCOMPARE(drill.engine.view().maruText + drill.engine.view().batsuText, QStringLiteral("○ 2× 1"));
        QCOMPARE(drill.engine.view().keyText, QStringLiteral("V"));
        QCOMPARE(drill.engine.view().echoText, QStringLiteral("G"));
    }

    void characters_are_judged_data()
    {
        QTest::addColumn<bool>("numbers");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("charCode");
        QTest::addColumn<bool>("hit");
        const std::tuple<const char *, bool, int, int, bool> rows[]{
            {"digit at F", false, 1, '1', false},          {"blank at F", false, 1, ' ', false},
            {"enter at F", false, 1, 13, false},           {"backspace at F", false, 1, 8, false},
            {"ctrl+f at F", false, 1, 6, false},           {"full-width f at F", false, 1, 0xFF46, false},
            {"e acute at F", false, 1, 0xE9, false},       {"; hit", true, 28, ';', true},
            {"+ at ; miss", true, 28, '+', false},         {": hit", true, 43, ':', true},
            {"* at : miss", true, 43, '*', false},         {"@ hit", true, 41, '@', true},
            {"- hit", true, 42, '-', true},                {", hit", true, 18, ',', true},
            {". hit", true, 24, '.', true},                {"/ hit", true, 30, '/', true},
            {"1 hit", true, 31, '1', true},                {"! at 1 miss", true, 31, '!', false},
            {"0 hit", true, 40, '0', true},                {"z at Z hit", true, 27, 'z', true},
            {"Z at Z hit", true, 27, 'Z', true}};
        for (const auto &[name, numbers, row, charCode, hit] : rows)
            QTest::newRow(name) << numbers << row << charCode << hit;
    }

    void characters_are_judged()
    {
        // State: running with the row as target, announced as its one character.
        QFETCH(bool, numbers);
        QFETCH(int, row);
        QFETCH(int, charCode);
        QFETCH(bool, hit);
        Drill drill(numbers ? hoshi::numbersAndSymbolsDrillProfile() : alphabet(), {0, row - 1});
        drill.engine.start();
        QCOMPARE(effectTexts(drill.services), QStringList{announced(drill.engine.view().keyText)});
        // Action: the character. Expected: a hit or a miss.
        drill.engine.keyPress(charCode);
        QCOMPARE(drill.engine.maru(), hit ? 1 : 0);
        QCOMPARE(drill.engine.batsu(), hit ? 0 : 1);
    }

    void space_starts_a_run_without_judging_its_own_character()
    {
        // State: ready. Action: Space, as its key-down then its character.
        Drill drill(alphabet(), {0, 5});
        QCOMPARE(drill.engine.keyDown(hoshi::VkSpace, 0), Result::Started);
        drill.engine.keyPress(' ');
        // Expected: running, × 0, only the first target heard.
        QCOMPARE(drill.engine.phase(), DrillPhase::Running);
        QCOMPARE(drill.engine.view().batsuText, QStringLiteral("× 0"));
        QCOMPARE(effectTexts(drill.services), QStringList{announced("B")});
        // Action: Space again during the run. Expected: a miss; the run goes on.
        QCOMPARE(drill.engine.keyDown(hoshi::VkSpace, 0), Result::None);
        drill.engine.keyPress(' ');
        QCOMPARE(drill.engine.batsu(), 1);
        QCOMPARE(drill.engine.phase(), DrillPhase::Running);
    }

    void space_after_time_up_starts_a_fresh_run()
    {
        // State: a run with a hit and a miss has ended. Action: Space.
        Drill drill;
        drill.engine.start();
        drill.typeTarget();
        drill.engine.keyPress('7');
        drill.runOut();
        drill.services.clear();
        drill.spaceStart();
        // Expected: counts 0, TIME 30, score hidden, finger shown, the new target heard, a full bar.
        const auto &view = drill.engine.view();
        QCOMPARE(view.maruText + view.batsuText + view.timeText, QStringLiteral("○ 0× 0TIME 30"));
        QVERIFY(!view.tokutenVisible && view.fingerVisible);
        QVERIFY(view.fingerText != QStringLiteral("Spaceでスタート"));
        QCOMPARE(effectTexts(drill.services), QStringList{announced(view.keyText)});
        QCOMPARE(drill.engine.barWidth(300.0f), 300.0f);
    }

    void typing_outside_a_run_changes_nothing()
    {
        // State: ready, then after a run. Action: the hidden target and other characters.
        Drill drill(alphabet(), {0});
        for (int pass = 0; pass < 2; ++pass) {
            for (int c : {int('f'), int('F'), int('7'), 32, 13})
                drill.engine.keyPress(c);
            // Expected: nothing counted, shown or heard.
            QVERIFY(drill.services.log.empty());
            QCOMPARE(drill.engine.view().maruText + drill.engine.view().batsuText, QStringLiteral("○ 0× 0"));
            QCOMPARE(drill.engine.view().echoText, QString());
            drill.engine.start();
            drill.runOut();
            drill.services.clear();
        }
    }

    void escape_asks_to_close_in_every_state()
    {
        Drill drill;
        for (int phase = 0; phase < 3; ++phase) {
            // State: ready, running, after time-up. Action: key-downs other than Space.
            drill.services.clear();
            for (int code : {13, 37, 112, 16, 70})
                QCOMPARE(drill.engine.keyDown(code, 0), Result::None);
            // Expected: none does anything; Escape asks to close.
            QVERIFY(drill.services.log.empty());
            QCOMPARE(drill.engine.keyDown(hoshi::VkEscape, 0), Result::Close);
            if (phase == 0)
                drill.engine.start();
            else
                drill.runOut();
        }
    }

    void hidden_finger_names_return_at_next_start()
    {
        // State: names hidden before the start. Action: start. Expected: shown again.
        Drill drill;
        drill.engine.hideFingerNames();
        drill.engine.start();
        QVERIFY(drill.engine.view().fingerVisible);
        // Action: hide during the run, hit, time-up. Expected: hidden (the prompt unseen) until the next start.
        drill.engine.hideFingerNames();
        drill.typeTarget();
        drill.runOut();
        QVERIFY(!drill.engine.view().fingerVisible);
        drill.engine.keyDown(hoshi::VkSpace, 0);
        QVERIFY(drill.engine.view().fingerVisible);
    }

    void failure_in_hit_branch_ends_only_that_key()
    {
        // State: running with target F; the announcer fails on the next text.
        Failing failing;
        RecordingServices cues;
        ScriptedRandom random({0, 1, 2});
        DrillEngine engine(alphabet(), failing, cues, random);
        engine.start();
        failing.failAnnounce = true;
        // Action: a hit whose announcement fails, then the next hit.
        engine.keyPress('f');
        QCOMPARE(engine.view().keyText, QStringLiteral("R"));
        engine.keyPress('r');
        // Expected: both counted; the run goes on without a cue.
        QCOMPARE(engine.maru(), 2);
        QCOMPARE(engine.phase(), DrillPhase::Running);
        QCOMPARE(failing.texts, (QStringList{"F", "V"}));
        QCOMPARE(cues.cueCount(Cue::Ding), 0);
        // State: the generator fails on the next draw. Action: a hit.
        DrillEngine other(alphabet(), failing, cues, failing);
        other.start();
        failing.texts.clear();
        failing.failDraw = true;
        other.keyPress('f');
        // Expected: the hit counted before the failure stays; target and run unchanged, nothing heard.
        QCOMPARE(other.view().maruText, QStringLiteral("○ 1"));
        QCOMPARE(other.view().keyText, QStringLiteral("F"));
        QCOMPARE(other.phase(), DrillPhase::Running);
        QVERIFY(failing.texts.isEmpty());
    }

    void every_row_equally_likely_data() { addProfileRows(); }
    void every_row_equally_likely()
    {
        QFETCH(const DrillProfile *, profile);
        const int rows = static_cast<int>(profile->table.size());
        const int draws = rows * 400;
        // Chi-square with rows-1 degrees of freedom: mean rows-1, deviation sqrt(2(rows-1)).
        // Twelve deviations above the mean is never reached by a fair generator,
        // while a lost or doubled row goes far past it.
        const double bound = (rows - 1) + 12.0 * std::sqrt(2.0 * (rows - 1));
        for (std::uint32_t seed : {1u, 7u, 2024u, 31337u}) {
            // State: the window's real generator with a fixed seed. Action: many draws.
            RecordingServices services;
            hoshi::SeededRandom random(seed);
            DrillEngine engine(*profile, services, services, random);
            std::vector<int> counts(static_cast<std::size_t>(rows), 0);
            for (int i = 0; i < draws; ++i) {
                engine.CurrentStatus();
                QVERIFY(engine.keyNo() >= 1 && engine.keyNo() <= rows);
                ++counts[static_cast<std::size_t>(engine.keyNo() - 1)];
            }
            // Expected: every row comes up, about equally often.
            double chiSquare = 0;
            for (int count : counts) {
                QVERIFY(count > 0);
                chiSquare += (count - 400.0) * (count - 400.0) / 400.0;
            }
            QVERIFY2(chiSquare < bound, qPrintable(QString::number(chiSquare)));
        }
    }

    void targets_repeat_and_differ_between_generators()
    {
        // State: two windows' generators seeded from the system. Action: 200 draws each.
        RecordingServices services;
        hoshi::SeededRandom first;
        hoshi::SeededRandom second;
        DrillEngine a(alphabet(), services, services, first);
        DrillEngine b(alphabet(), services, services, second);
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
        // Expected: the sequences differ, and one generator is not stuck on one target.
        QVERIFY(seqA != seqB);
        QVERIFY(repeats < 60);
    }
};

QTEST_APPLESS_MAIN(TestDrillEngine)
#include "test_drill_engine.moc"
