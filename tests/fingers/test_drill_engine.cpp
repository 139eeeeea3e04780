// SPDX-License-Identifier: GPL-3.0-or-later
// The timed drill engine with both profiles: how it judges characters, its tables and draws.
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
    void characters_are_judged_data()
    {
        QTest::addColumn<bool>("numbers");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("charCode");
        QTest::addColumn<bool>("hit");
        const std::tuple<const char *, bool, int, int, bool> rows[]{
            {"digit at F", false, 1, '1', false}, {"blank at F", false, 1, ' ', false}, {"ctrl+f at F", false, 1, 6, false},
            {"full-width f at F", false, 1, 0xFF46, false}, {"e acute at F", false, 1, 0xE9, false},
            {"; hit", true, 28, ';', true}, {"+ at ; miss", true, 28, '+', false}, {": hit", true, 43, ':', true},
            {"* at : miss", true, 43, '*', false}, {"@ hit", true, 41, '@', true}, {"- hit", true, 42, '-', true},
            {", hit", true, 18, ',', true}, {"! at 1 miss", true, 31, '!', false}, {"0 hit", true, 40, '0', true},
            {"z at Z hit", true, 27, 'z', true}, {"Z at Z hit", true, 27, 'Z', true},
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
        // State: ready, running, after time-up. Action: key-downs other than Space, then Escape.
        Drill drill;
        for (int phase = 0; phase < 3; ++phase) {
            drill.services.clear();
            for (int code : {13, 37, 112, 16, 70})
                QCOMPARE(drill.engine.keyDown(code, 0), Result::None);
            QVERIFY(drill.services.log.empty());
            QCOMPARE(drill.engine.keyDown(hoshi::VkEscape, 0), Result::Close);
            if (phase == 0)
                drill.engine.start();
            else
                for (int second = 0; second < drill.engine.profile().timeLimit; ++second)
                    drill.engine.tick();
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

    void every_row_equally_likely_data()
    {
        QTest::addColumn<const DrillProfile *>("profile");
        QTest::addColumn<QString>("characters");
        QTest::addColumn<QString>("fingers"); // left 1 index to 4 little, right 5 index to 8 little
        QTest::newRow("alphabet") << &alphabet() << "FRVGTBJUMHYNDECKISWXLOAQZP" << "11111155555522266333774448";
        QTest::newRow("numbers and symbols")
            << &hoshi::numbersAndSymbolsDrillProfile() << "FRVGTBJUMHYNDECKI,SWXLO.AQZ;P/1234567890@-:"
            << "1111115555552226663337774448884321155678888";
    }

    void every_row_equally_likely()
    {
        // The table, row by row: its character, then hand and finger.
        QFETCH(const DrillProfile *, profile);
        QFETCH(QString, characters);
        QFETCH(QString, fingers);
        const QStringList names{"左手　人さし指", "左手　中指", "左手　くすり指", "左手　小指",
                                "右手　人さし指", "右手　中指", "右手　くすり指", "右手　小指"};
        const int rows = static_cast<int>(profile->table.size());
        QCOMPARE(rows, int(characters.size()));
        for (int row = 0; row < rows; ++row) {
            QCOMPARE(profile->table[std::size_t(row)].character, characters.mid(row, 1));
            QCOMPARE(profile->table[std::size_t(row)].fingerLabel, names.at(fingers.at(row).digitValue() - 1));
        }
        // Chi-square with rows-1 degrees of freedom: twelve deviations above the mean is never
        // reached by a fair generator, while a lost or doubled row goes far past it.
        const int draws = rows * 400;
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
        double chiSquare = 0;
        for (int count : counts)
            chiSquare += (count - 400.0) * (count - 400.0) / 400.0;
        QVERIFY2(chiSquare < bound, qPrintable(QString::number(chiSquare)));
    }
};

QTEST_APPLESS_MAIN(TestDrillEngine)
#include "test_drill_engine.moc"
