// SPDX-License-Identifier: GPL-3.0-or-later
// The timed drill engine with both profiles: runs, judging, score, time-up.
#include "effect_text.h"
#include "fingers/drill_engine.h"
#include "fingers/drill_tables.h"
#include "platform/api/key_codes.h"
#include "support/fakes.h"

#include <QTest>

#include <cmath>
#include <deque>
#include <stdexcept>
#include <utility>

using hoshi::Cue;
using hoshi::DrillEngine;
using hoshi::DrillPhase;
using hoshi::DrillProfile;
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

// An engine with its services and scripted draws (0-based rows, then a seeded fallback).
struct Drill {
    explicit Drill(const DrillProfile &profile = alphabet(), std::deque<int> rows = {})
        : random(std::move(rows))
        , engine(profile, services, services, random)
    {
    }

    RecordingServices services;
    ScriptedRandom random;
    DrillEngine engine;
};

// What the window would draw, in one line; key(...) and finger(...) are hidden.
QString drawn(const DrillEngine &engine)
{
    const hoshi::DrillView &v = engine.view();
    const auto shown = [](const char *name, const QString &text, bool visible) {
        return QString::fromLatin1(name) + (visible ? u'[' + text + u']' : u'(' + text + u')');
    };
    QString out = QStringLiteral("%1 %2 %3 %4 %5 typed[%6]")
                      .arg(v.timeText(), v.maruText(), v.batsuText(), shown("key", v.keyText, v.keyVisible),
                           shown("finger", v.fingerText, v.fingerVisible), v.echoText);
    out += (v.startEnabled ? u' ' + v.startCaption : QString()) + (v.tokutenVisible ? u' ' + v.tokutenText() : QString());
    return out + (engine.timerOn() ? QStringLiteral(" timer") : QString())
        + QStringLiteral(" bar %1").arg(qRound(engine.barWidth(600.0f)));
}

// Runs the steps: draw:row (the next draw), load, start, key:c (or key:#code), target (its key in
// lower case), space (Space's key-down and character), tick[:count], runout, hide, clear (forget the effects).
void run(Drill &drill, const QString &script)
{
    DrillEngine &engine = drill.engine;
    for (const QString &step : script.split(u' ', Qt::SkipEmptyParts)) {
        const QString word = step.section(u':', 0, 0);
        const QString arg = step.section(u':', 1);
        if (word == "draw")
            drill.random.push(arg.toInt());
        else if (word == "load" || word == "start")
            word == "load" ? engine.load() : engine.start();
        else if (word == "key")
            engine.keyPress(arg.startsWith(u'#') ? arg.mid(1).toInt() : arg.at(0).unicode());
        else if (word == "target")
            engine.keyPress(engine.view().keyText.toLower().at(0).unicode());
        else if (word == "space") {
            engine.keyDown(hoshi::VkSpace, 0);
            engine.keyPress(' ');
        }
        else if (word == "tick" || word == "runout")
            for (int i = word == "runout" ? engine.profile().timeLimit : qMax(arg.toInt(), 1); i > 0; --i)
                engine.tick();
        else if (word == "hide")
            engine.hideFingerNames();
        else if (word == "clear")
            drill.services.clear();
        else
            QFAIL(qPrintable("unknown step " + step));
    }
}

// An announcer that throws when told to, as a busy clipboard might.
struct Failing final : hoshi::Announcer {
    void announce(const QString &text) override
    {
        if (std::exchange(failAnnounce, false))
            throw std::runtime_error("clipboard busy");
        texts << text;
    }
    bool failAnnounce = false;
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

    void runs_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("effects");
        QTest::addColumn<QString>("drawn");
        const auto row = [](const char *name, const char *script, const QStringList &effects, const char *drawn) {
            QTest::newRow(name) << QString::fromUtf8(script) << effects << QString::fromUtf8(drawn);
        };
        row("loaded: counts 0, the full time, a target drawn but hidden", "draw:4 load", {},
            "TIME 30 ○ 0 × 0 key(T) finger(左手　人さし指) typed[] START bar 600");
        row("start: a new target shown with its finger and said; the clock runs", "draw:4 load draw:12 start", {"D"},
            "TIME 30 ○ 0 × 0 key[D] finger[左手　中指] typed[] timer bar 600");
        row("a hit draws and says, the same target too; a miss says it again, then dings",
            "draw:0 load draw:0 start clear draw:2 key:f draw:2 key:v key:g", {"V", "V", "V", ding()},
            "TIME 30 ○ 2 × 1 key[V] finger[左手　人さし指] typed[G] timer bar 600");
        row("the first second takes its share of the bar", "load draw:0 start tick", {"F"},
            "TIME 29 ○ 0 × 0 key[F] finger[左手　人さし指] typed[] timer bar 580");
        row("the last second still runs", "load draw:0 start tick:29", {"F"},
            "TIME 1 ○ 0 × 0 key[F] finger[左手　人さし指] typed[] timer bar 20");
        row("time-up: the prompt, RETRY, the score shown and said once; a stray tick does nothing",
            "load draw:0 start draw:0 target key:#12354 key:#12354 key:#12354 clear runout tick", {"得点 -2"},
            "TIME 0 ○ 1 × 3 key[] finger[Spaceでスタート] typed[あ] RETRY 得点 -2 bar 0");
        row("Space starts a run without judging its own character", "draw:0 load draw:5 space", {"B"},
            "TIME 30 ○ 0 × 0 key[B] finger[左手　人さし指] typed[] timer bar 600");
        row("Space during a run is a miss", "draw:0 load draw:5 space space", {"B", "B", ding()},
            "TIME 30 ○ 0 × 1 key[B] finger[左手　人さし指] typed[ ] timer bar 600");
        row("Space after time-up starts a fresh run", "load start target key:7 runout clear draw:3 space", {"G"},
            "TIME 30 ○ 0 × 0 key[G] finger[左手　人さし指] typed[7] timer bar 600");
        row("typing when ready changes nothing", "draw:0 load key:f key:F key:7 key:#32 key:#13", {},
            "TIME 30 ○ 0 × 0 key(F) finger(左手　人さし指) typed[] START bar 600");
        row("typing after time-up changes nothing", "load start runout clear key:f key:7 key:#32 key:#13", {},
            "TIME 0 ○ 0 × 0 key[] finger[Spaceでスタート] typed[] RETRY 得点 0 bar 0");
        row("finger names hidden before the start stay hidden at the start", "draw:0 load hide draw:0 start", {"F"},
            "TIME 30 ○ 0 × 0 key[F] finger(左手　人さし指) typed[] timer bar 600");
        row("a new load shows them again at the start", "load hide load draw:0 start", {"F"},
            "TIME 30 ○ 0 × 0 key[F] finger[左手　人さし指] typed[] timer bar 600");
        row("hidden during a run, they stay hidden: the prompt unseen",
            "load draw:0 start hide draw:0 target clear runout", {"得点 1"},
            "TIME 0 ○ 1 × 0 key[] finger(Spaceでスタート) typed[F] RETRY 得点 1 bar 0");
        row("... and at the next start", "load draw:0 start hide runout clear draw:0 space", {"F"},
            "TIME 30 ○ 0 × 0 key[F] finger(左手　人さし指) typed[] timer bar 600");
    }

    void runs()
    {
        // State: a new alphabet drill. Action: the steps.
        QFETCH(QString, script);
        Drill drill;
        run(drill, script);
        // Expected: these effects in this order (since the last clear), and this on show.
        QTEST(effectTexts(drill.services), "effects");
        QTEST(drawn(drill.engine), "drawn");
    }

    void characters_are_judged_data()
    {
        QTest::addColumn<bool>("numbers");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("charCode");
        QTest::addColumn<bool>("hit");
        const std::tuple<const char *, bool, int, int, bool> rows[]{
            {"digit at F", false, 1, '1', false},          {"blank at F", false, 1, ' ', false},
            {"ctrl+f at F", false, 1, 6, false},           {"full-width f at F", false, 1, 0xFF46, false},
            {"e acute at F", false, 1, 0xE9, false},       {"; hit", true, 28, ';', true},
            {"+ at ; miss", true, 28, '+', false},         {": hit", true, 43, ':', true},
            {"* at : miss", true, 43, '*', false},         {"@ hit", true, 41, '@', true},
            {"- hit", true, 42, '-', true},                {", hit", true, 18, ',', true},
            {"1 hit", true, 31, '1', true},                {"! at 1 miss", true, 31, '!', false},
            {"0 hit", true, 40, '0', true},                {"z at Z hit", true, 27, 'z', true},
            {"Z at Z hit", true, 27, 'Z', true},
            // Only a to z fold here; the finger guide takes these two as I and S.
            {"dotless i at I miss", false, 17, 0x131, false}, {"long s at S miss", true, 19, 0x17F, false}};
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
        Drill drill(numbers ? hoshi::numbersAndSymbolsDrillProfile() : alphabet(), {row - 1});
        drill.engine.start();
        QCOMPARE(effectTexts(drill.services), QStringList{drill.engine.view().keyText});
        // Action: the character. Expected: a hit or a miss.
        drill.engine.keyPress(charCode);
        QCOMPARE(drill.engine.maru(), hit ? 1 : 0);
        QCOMPARE(drill.engine.batsu(), hit ? 0 : 1);
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
            run(drill, phase == 0 ? QStringLiteral("start") : QStringLiteral("runout"));
        }
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
        // State: the window's real generator with a fixed seed. Action: many draws.
        RecordingServices services;
        hoshi::SeededRandom random(7);
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
};

QTEST_APPLESS_MAIN(TestDrillEngine)
#include "test_drill_engine.moc"
