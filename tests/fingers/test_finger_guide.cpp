// The finger guide's walk, its wrap, and how it judges typed characters.
#include "fingers/finger_guide.h"
#include "fingers/finger_steps.h"
#include "platform/key_event.h"
#include "support/fakes.h"
#include "effect_text.h"

#include <QTest>

using hoshi::Cue;
using hoshi::FingerGuide;
using hoshi::fingerSteps;
using hoshi::testing::announced;
using hoshi::testing::ding;
using hoshi::testing::effectTexts;
using hoshi::testing::RecordingServices;

namespace {

const hoshi::FingerStep &step(int number)
{
    return fingerSteps()[static_cast<std::size_t>(number - 1)];
}

// Types the right key of every step until the given step is shown.
void walkTo(FingerGuide &guide, int number)
{
    while (guide.currentStep() != number)
        guide.keyPress(guide.view().keyText.at(0).unicode());
}

} // namespace

class TestFingerGuide : public QObject {
    Q_OBJECT

private slots:
    void load_shows_step_one_and_announces_its_reading_twice();
    void typing_each_shown_key_walks_all_steps_then_wraps();
    void readings_keep_their_mixed_writings_data();
    void readings_keep_their_mixed_writings();
    void lower_case_letter_folds_to_the_shown_key();
    void wrong_character_announces_key_then_dings_data();
    void wrong_character_announces_key_then_dings();
    void escape_asks_to_close_and_other_key_downs_do_nothing();
    void hiding_finger_names_keeps_steps_and_announcements();
    void load_after_a_walk_starts_fresh();
};

void TestFingerGuide::load_shows_step_one_and_announces_its_reading_twice()
{
    // State: a new guide. Action: load.
    RecordingServices services;
    FingerGuide guide(services, services);
    guide.load();
    // Expected: step 1 shown, its reading announced twice, nothing else.
    QCOMPARE(guide.currentStep(), 1);
    QCOMPARE(guide.view().keyText, QStringLiteral("F"));
    QCOMPARE(guide.view().fingerLabel, QStringLiteral("ひだり\u3000人さし指"));
    QCOMPARE(guide.view().reading, QStringLiteral("ひだりひとさしゆびえふ"));
    QCOMPARE(effectTexts(services), (QStringList{announced(QStringLiteral("ひだりひとさしゆびえふ")),
                                               announced(QStringLiteral("ひだりひとさしゆびえふ"))}));
    QVERIFY(guide.view().fingerLabelVisible);
}

void TestFingerGuide::typing_each_shown_key_walks_all_steps_then_wraps()
{
    // State: loaded at step 1.
    RecordingServices services;
    FingerGuide guide(services, services);
    guide.load();
    services.clear();
    // Action: type every shown key once, letters in lower case.
    for (int n = 1; n <= hoshi::FingerStepCount; ++n) {
        QCOMPARE(guide.view().keyText, step(n).key);
        QCOMPARE(guide.view().fingerLabel, step(n).fingerLabel);
        guide.keyPress(step(n).key.toLower().at(0).unicode());
        // Expected: the next step (step 1 after the last) and its reading.
        const int next = n % hoshi::FingerStepCount + 1;
        QCOMPARE(guide.currentStep(), next);
        QCOMPARE(services.announcements().last(), step(next).reading);
    }
    QCOMPARE(services.announcements().size(), hoshi::FingerStepCount);
    QCOMPARE(services.cueCount(Cue::Ding), 0);
    QCOMPARE(guide.view().keyText, QStringLiteral("F"));
    QCOMPARE(services.announcements().last(), QStringLiteral("ひだりひとさしゆびえふ"));
}

void TestFingerGuide::readings_keep_their_mixed_writings_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("reading");
    QTest::newRow("2 full-width R") << 2 << "R" << "ひだり\u3000人さし指" << "ひだりひとさしゆびＲ";
    QTest::newRow("3 hiragana V") << 3 << "V" << "ひだり\u3000人さし指" << "ひだりひとさしゆびぶい";
    QTest::newRow("18 comma") << 18 << "," << "みぎ\u3000中指" << "みぎなかゆびｶﾝﾏ";
    QTest::newRow("24 full stop") << 24 << "." << "みぎ\u3000くすり指" << "みぎくすりゆびﾋﾟﾘｵﾄﾞ";
    QTest::newRow("25 kanji little") << 25 << "A" << "ひだり\u3000小指" << "ひだり小ゆびＡ";
    QTest::newRow("26 kana little") << 26 << "Q" << "ひだり\u3000小指" << "ひだりこゆびＱ";
    QTest::newRow("28 semicolon") << 28 << ";" << "みぎ\u3000小指" << "みぎこゆびｾﾐｺﾛﾝ";
    QTest::newRow("30 slash") << 30 << "/" << "みぎ\u3000小指" << "みぎこゆびｽﾗｯｼｭ";
    QTest::newRow("31 digit one") << 31 << "1" << "ひだり\u3000小指" << "ひだり小ゆび１";
    QTest::newRow("34 kana index") << 34 << "4" << "ひだり\u3000ひとさし指" << "ひだりひとさしゆび４";
    QTest::newRow("38 kana middle") << 38 << "8" << "みぎ\u3000なか指" << "みぎなかゆび８";
    QTest::newRow("41 minus") << 41 << "-" << "みぎ\u3000小指" << "みぎこゆびﾏｲﾅｽ";
    QTest::newRow("42 at") << 42 << "@" << "みぎ\u3000小指" << "みぎこゆびｱｯﾄﾏｰｸ";
    QTest::newRow("43 colon") << 43 << ":" << "みぎ\u3000小指" << "みぎこゆびコロン";
}

void TestFingerGuide::readings_keep_their_mixed_writings()
{
    QFETCH(int, number);
    QFETCH(QString, key);
    QFETCH(QString, label);
    QFETCH(QString, reading);
    // State: loaded. Action: walk to the step.
    RecordingServices services;
    FingerGuide guide(services, services);
    guide.load();
    walkTo(guide, number);
    // Expected: exactly these texts shown and announced.
    QCOMPARE(guide.view().keyText, key);
    QCOMPARE(guide.view().fingerLabel, label);
    QCOMPARE(services.announcements().last(), reading);
}

void TestFingerGuide::lower_case_letter_folds_to_the_shown_key()
{
    // State: step 1 ("F"). Action: type f.
    RecordingServices services;
    FingerGuide guide(services, services);
    guide.load();
    services.clear();
    guide.keyPress('f');
    // Expected: step 2, its reading, the echo holds the folded character.
    QCOMPARE(guide.currentStep(), 2);
    QCOMPARE(guide.view().typedText, QStringLiteral("F"));
    QCOMPARE(effectTexts(services), (QStringList{announced(QStringLiteral("ひだりひとさしゆびＲ"))}));
}

void TestFingerGuide::wrong_character_announces_key_then_dings_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("charCode");
    QTest::newRow("g at F") << 1 << int('g');
    QTest::newRow("space") << 1 << 32;
    QTest::newRow("enter") << 5 << 13;
    QTest::newRow("backspace") << 12 << 8;
    QTest::newRow("tab") << 20 << 9;
    QTest::newRow("ctrl+a") << 23 << 1;
    QTest::newRow("ctrl+f at F") << 1 << 6;
    QTest::newRow("ctrl+z") << 27 << 26;
    QTest::newRow("plus at semicolon") << 28 << int('+');
    QTest::newRow("colon at semicolon") << 28 << int(':');
    QTest::newRow("exclamation at 1") << 31 << int('!');
    QTest::newRow("full-width f") << 1 << 0xFF46;
    QTest::newRow("f at colon") << 43 << int('f');
}

void TestFingerGuide::wrong_character_announces_key_then_dings()
{
    QFETCH(int, number);
    QFETCH(int, charCode);
    // State: at the given step.
    RecordingServices services;
    FingerGuide guide(services, services);
    guide.load();
    walkTo(guide, number);
    services.clear();
    // Action: a character other than the shown key.
    guide.keyPress(charCode);
    // Expected: the key text announced, then the wrong-key cue; the step stays.
    QCOMPARE(effectTexts(services), (QStringList{announced(step(number).key), ding()}));
    QCOMPARE(guide.currentStep(), number);
    QCOMPARE(guide.view().keyText, step(number).key);
}

void TestFingerGuide::escape_asks_to_close_and_other_key_downs_do_nothing()
{
    RecordingServices services;
    FingerGuide guide(services, services);
    guide.load();
    services.clear();
    // Action: key-downs of Escape, Space, Enter, arrows, F1, Shift.
    QCOMPARE(guide.keyDown(hoshi::VkEscape, 0), FingerGuide::Request::Close);
    for (int code : {32, 13, 37, 40, 112, 16, 70})
        QCOMPARE(guide.keyDown(code, 0), FingerGuide::Request::None);
    // Expected: no announcement, no sound, no move.
    QVERIFY(services.log.empty());
    QCOMPARE(guide.currentStep(), 1);
}

void TestFingerGuide::hiding_finger_names_keeps_steps_and_announcements()
{
    // State: loaded, finger names hidden.
    RecordingServices services;
    FingerGuide guide(services, services);
    guide.load();
    services.clear();
    guide.hideFingerNames();
    QVERIFY(!guide.view().fingerLabelVisible);
    // Action: a right and a wrong key.
    guide.keyPress('f');
    guide.keyPress('x');
    // Expected: the same walk and announcements as with names shown.
    QCOMPARE(guide.currentStep(), 2);
    QCOMPARE(guide.view().fingerLabel, QStringLiteral("ひだり\u3000人さし指"));
    QCOMPARE(effectTexts(services), (QStringList{announced(QStringLiteral("ひだりひとさしゆびＲ")),
                                               announced(QStringLiteral("R")), ding()}));
    QVERIFY(!guide.view().fingerLabelVisible);
    guide.showFingerNames();
    QVERIFY(guide.view().fingerLabelVisible);
}

void TestFingerGuide::load_after_a_walk_starts_fresh()
{
    // State: at step 43 with names hidden. Action: load again.
    RecordingServices services;
    FingerGuide guide(services, services);
    guide.load();
    walkTo(guide, 43);
    guide.hideFingerNames();
    services.clear();
    guide.load();
    // Expected: step 1, shown names, step 1's reading twice.
    QCOMPARE(guide.currentStep(), 1);
    QVERIFY(guide.view().fingerLabelVisible);
    QCOMPARE(services.announcements(),
             QStringList(2, QStringLiteral("ひだりひとさしゆびえふ")));
}

QTEST_APPLESS_MAIN(TestFingerGuide)
#include "test_finger_guide.moc"
