// SPDX-License-Identifier: GPL-3.0-or-later
// The finger guide and the timed drill engine with both profiles: their tables,
// how each judges a typed character, the guide's walk and the drills' draws.
#include "effect_text.h"
#include "fingers/drill_engine.h"
#include "fingers/drill_tables.h"
#include "fingers/finger_guide.h"
#include "support/fakes.h"

#include <QTest>

#include <cmath>
#include <stdexcept>
#include <utility>

using namespace hoshi;
using namespace hoshi::testing;

Q_DECLARE_METATYPE(const DrillProfile *)

namespace {

const QString GuideKeys = QStringLiteral("FRVGTBJUMHYNDECKI,SWXLO.AQZ;P/1234567890-@:");

QString guideKey(int step)
{
    return GuideKeys.mid(step - 1, 1);
}

// An announcer that throws when told to, as a busy clipboard might.
struct Failing final : Announcer {
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

class TestFingerBehaviour : public QObject {
    Q_OBJECT

private slots:
    void init() { m_services.clear(); }

    void the_guide_walks_its_table_by_the_shown_keys_then_wraps()
    {
        // Steps whose finger label or reading is out of the common pattern.
        const std::map<int, std::pair<QString, QString>> spots{
            {1, {"ひだり\u3000人さし指", "ひだりひとさしゆびＲ"}}, {2, {"ひだり\u3000人さし指", "ひだりひとさしゆびぶい"}},
            {18, {"みぎ\u3000中指", "ひだりくすりゆびＳ"}},       {24, {"みぎ\u3000くすり指", "ひだり小ゆびＡ"}},
            {25, {"ひだり\u3000小指", "ひだりこゆびＱ"}},         {31, {"ひだり\u3000小指", "ひだりくすりゆび２"}},
            {34, {"ひだり\u3000ひとさし指", "ひだりひとさしゆび５"}}, {38, {"みぎ\u3000なか指", "みぎくすりゆび９"}},
            {40, {"みぎ\u3000小指", "みぎこゆびﾏｲﾅｽ"}},           {43, {"みぎ\u3000小指", "ひだりひとさしゆびえふ"}}};
        FingerGuide guide(m_services, m_services);
        guide.load();
        m_services.clear();
        for (int step = 1; step <= 43; ++step) {
            // State: at the step, its key on show. Action: its key, letters in lower case.
            // Expected: the next step's reading said (step 1's after 43).
            QCOMPARE(guide.currentStep(), step);
            QCOMPARE(guide.view().keyText, guideKey(step));
            const QString label = guide.view().fingerLabel;
            guide.keyPress(guideKey(step).toLower().at(0).unicode());
            QCOMPARE(guide.view().typedText, guideKey(step));
            if (spots.contains(step)) {
                QCOMPARE(label, spots.at(step).first);
                QCOMPARE(m_services.announcements().last(), spots.at(step).second);
            }
        }
        QCOMPARE(guide.currentStep(), 1);
        QCOMPARE(m_services.announcements().size(), 43);
        QCOMPARE(m_services.cueCount(Cue::Ding), 0);
    }

    void characters_are_judged_data()
    {
        QTest::addColumn<QString>("who"); // the guide, the letters drill, the symbols drill
        QTest::addColumn<int>("at");      // the step or row on show, from 1
        QTest::addColumn<int>("charCode");
        QTest::addColumn<bool>("right");
        const std::tuple<const char *, const char *, int, int, bool> rows[]{
            {"guide: g at F", "guide", 1, 'g', false}, {"guide: space", "guide", 1, 32, false},
            {"guide: enter", "guide", 5, 13, false}, {"guide: backspace", "guide", 12, 8, false},
            {"guide: ctrl+f at F", "guide", 1, 6, false}, {"guide: plus at ;", "guide", 28, '+', false},
            {"guide: colon at ;", "guide", 28, ':', false}, {"guide: ! at 1", "guide", 31, '!', false},
            {"guide: full-width f at F", "guide", 1, 0xFF46, false}, {"guide: f at colon", "guide", 43, 'f', false},
            {"guide: F at F", "guide", 1, 'F', true}, {"guide: m at M", "guide", 9, 'm', true},
            // Upper case in any script in the guide; the drills fold only a to z.
            {"guide: dotless i at I", "guide", 17, 0x131, true}, {"guide: long s at S", "guide", 19, 0x17F, true},
            {"drill: dotless i at I", "letters", 17, 0x131, false}, {"drill: long s at S", "symbols", 19, 0x17F, false},
            {"drill: digit at F", "letters", 1, '1', false}, {"drill: blank at F", "letters", 1, ' ', false},
            {"drill: ctrl+f at F", "letters", 1, 6, false}, {"drill: full-width f at F", "letters", 1, 0xFF46, false},
            {"drill: e acute at F", "letters", 1, 0xE9, false}, {"drill: ; hit", "symbols", 28, ';', true},
            {"drill: + at ;", "symbols", 28, '+', false}, {"drill: : hit", "symbols", 43, ':', true},
            {"drill: * at :", "symbols", 43, '*', false}, {"drill: ! at 1", "symbols", 31, '!', false},
            {"drill: z at Z", "symbols", 27, 'z', true}, {"drill: Z at Z", "symbols", 27, 'Z', true}};
        for (const auto &[name, who, at, charCode, right] : rows)
            QTest::newRow(name) << who << at << charCode << right;
    }

    void characters_are_judged()
    {
        QFETCH(QString, who);
        QFETCH(int, at);
        QFETCH(int, charCode);
        QFETCH(bool, right);
        if (who != QLatin1String("guide")) {
            // State: a run with the row as target, announced as its one character.
            ScriptedRandom random({at - 1});
            DrillEngine engine(who == "letters" ? alphabetDrillProfile() : numbersAndSymbolsDrillProfile(), m_services,
                               m_services, random);
            engine.start();
            QCOMPARE(effectTexts(m_services), QStringList{engine.view().keyText});
            engine.keyPress(charCode);
            QCOMPARE(engine.maru(), right ? 1 : 0);
            QCOMPARE(engine.batsu(), right ? 0 : 1);
            return;
        }
        for (bool hidden : {false, true}) {
            // State: at the step, names shown or hidden alike.
            FingerGuide guide(m_services, m_services);
            guide.load();
            if (hidden)
                guide.hideFingerNames();
            for (int i = 0; i < 43 && guide.currentStep() != at; ++i)
                guide.keyPress(guide.view().keyText.at(0).unicode());
            m_services.clear();
            guide.keyPress(charCode);
            // Expected: a right key moves on and says the next reading alone; a wrong one says
            // the key text, then the wrong-key cue, and the step stays.
            QCOMPARE(guide.view().keyText, right ? guideKey(at % 43 + 1) : guideKey(at));
            QCOMPARE(effectTexts(m_services), (right ? QStringList{guide.view().reading} : QStringList{guideKey(at), ding()}));
        }
    }

    void a_failed_announcement_ends_only_that_key()
    {
        // State: a run with target F; the announcer fails on the next text.
        Failing failing;
        ScriptedRandom random({0, 1, 2});
        DrillEngine engine(alphabetDrillProfile(), failing, m_services, random);
        engine.start();
        failing.failAnnounce = true;
        // Action: a hit whose announcement fails, then the next hit.
        engine.keyPress('f');
        engine.keyPress('r');
        // Expected: both counted (the run went on to R), without a cue.
        QCOMPARE(engine.maru(), 2);
        QCOMPARE(failing.texts, (QStringList{"F", "V"}));
        QCOMPARE(m_services.cueCount(Cue::Ding), 0);
    }

    void drill_tables_and_every_row_equally_likely_data()
    {
        QTest::addColumn<const DrillProfile *>("profile");
        QTest::addColumn<QString>("characters");
        QTest::addColumn<QString>("fingers"); // left 1 index to 4 little, right 5 index to 8 little
        QTest::newRow("letters") << &alphabetDrillProfile() << "FRVGTBJUMHYNDECKISWXLOAQZP" << "11111155555522266333774448";
        QTest::newRow("symbols") << &numbersAndSymbolsDrillProfile() << "FRVGTBJUMHYNDECKI,SWXLO.AQZ;P/1234567890@-:"
                                 << "1111115555552226663337774448884321155678888";
    }

    void drill_tables_and_every_row_equally_likely()
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
        // Many draws from the window's real generator with a fixed seed. Chi-square with rows-1 degrees
        // of freedom: twelve deviations above the mean is never reached by a fair generator, while a
        // lost or doubled row goes far past it.
        SeededRandom random(7);
        DrillEngine engine(*profile, m_services, m_services, random);
        std::vector<int> counts(static_cast<std::size_t>(rows), 0);
        for (int i = 0; i < rows * 400; ++i) {
            engine.CurrentStatus();
            QVERIFY(engine.keyNo() >= 1 && engine.keyNo() <= rows);
            ++counts[static_cast<std::size_t>(engine.keyNo() - 1)];
        }
        double chiSquare = 0;
        for (int count : counts)
            chiSquare += (count - 400.0) * (count - 400.0) / 400.0;
        QVERIFY2(chiSquare < (rows - 1) + 12.0 * std::sqrt(2.0 * (rows - 1)), qPrintable(QString::number(chiSquare)));
    }

private:
    RecordingServices m_services;
};

QTEST_APPLESS_MAIN(TestFingerBehaviour)
#include "test_finger_behaviour.moc"
