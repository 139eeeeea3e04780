// SPDX-License-Identifier: GPL-3.0-or-later
// The finger guide against its step table, transcribed here on its own: the
// walk, its wrap, and how it judges typed characters.
#include "effect_text.h"
#include "fingers/finger_guide.h"
#include "support/fakes.h"

#include <QTest>

#include <optional>

using hoshi::Cue;
using hoshi::FingerGuide;
using hoshi::testing::ding;
using hoshi::testing::effectTexts;
using hoshi::testing::RecordingServices;

namespace {

// Step n's key, finger (hand L/R; 1 人さし指, 2 中指, 3 くすり指, 4 小指, h ひとさし指, n なか指) and reading.
const QString Keys = QStringLiteral("FRVGTBJUMHYNDECKI,SWXLO.AQZ;P/1234567890-@:");
const QStringList Fingers = QStringLiteral("L1 L1 L1 L1 L1 L1 R1 R1 R1 R1 R1 R1 L2 L2 L2 R2 R2 R2 L3 L3 L3 R3 R3 R3 "
                                           "L4 L4 L4 R4 R4 R4 L4 L3 L2 Lh Lh Rh Rh Rn R3 R4 R4 R4 R4")
                                .split(u' ');
const QStringList Readings{
    "ひだりひとさしゆびえふ", "ひだりひとさしゆびＲ", "ひだりひとさしゆびぶい", "ひだりひとさしゆびＧ",
    "ひだりひとさしゆびＴ", "ひだりひとさしゆびＢ", "みぎひとさしゆびＪ", "みぎひとさしゆびＵ", "みぎひとさしゆびＭ",
    "みぎひとさしゆびＨ", "みぎひとさしゆびＹ", "みぎひとさしゆびＮ", "ひだりなかゆびＤ", "ひだりなかゆびＥ",
    "ひだりなかゆびＣ", "みぎなかゆびＫ", "みぎなかゆびＩ", "みぎなかゆびｶﾝﾏ", "ひだりくすりゆびＳ",
    "ひだりくすりゆびＷ", "ひだりくすりゆびＸ", "みぎくすりゆびＬ", "みぎくすりゆびＯ", "みぎくすりゆびﾋﾟﾘｵﾄﾞ",
    "ひだり小ゆびＡ", "ひだりこゆびＱ", "ひだりこゆびＺ", "みぎこゆびｾﾐｺﾛﾝ", "みぎこゆびＰ", "みぎこゆびｽﾗｯｼｭ",
    "ひだり小ゆび１", "ひだりくすりゆび２", "ひだりなかゆび３", "ひだりひとさしゆび４", "ひだりひとさしゆび５",
    "みぎひとさしゆび６", "みぎひとさしゆび７", "みぎなかゆび８", "みぎくすりゆび９", "みぎこゆび０",
    "みぎこゆびﾏｲﾅｽ", "みぎこゆびｱｯﾄﾏｰｸ", "みぎこゆびコロン"};

QString key(int step)
{
    return Keys.mid(step - 1, 1);
}

QString fingerLabel(int step)
{
    const QString code = Fingers.at(step - 1);
    const QString hand = code.at(0) == u'L' ? QStringLiteral("ひだり") : QStringLiteral("みぎ");
    const QStringList fingers{"人さし指", "中指", "くすり指", "小指", "ひとさし指", "なか指"};
    return hand + QChar(0x3000) + fingers.at(QStringLiteral("1234hn").indexOf(code.at(1)));
}

} // namespace

class TestFingerGuide : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_services.clear();
        m_guide.emplace(m_services, m_services);
        m_guide->load();
    }

    void typing_each_shown_key_walks_the_table_then_wraps()
    {
        QCOMPARE(Readings.size(), 43);
        QCOMPARE(Fingers.size(), 43);
        m_services.clear();
        for (int step = 1; step <= 43; ++step) {
            // State: at the step. Expected: its key and finger label on show.
            QCOMPARE(m_guide->currentStep(), step);
            QCOMPARE(m_guide->view().keyText, key(step));
            QCOMPARE(m_guide->view().fingerLabel, fingerLabel(step));
            // Action: its key, letters in lower case. Expected: the next step's reading (step 1's after 43).
            m_guide->keyPress(key(step).toLower().at(0).unicode());
            QCOMPARE(m_guide->view().typedText, key(step));
            QCOMPARE(m_services.announcements().last(), Readings.at(step % 43));
        }
        QCOMPARE(m_guide->currentStep(), 1);
        QCOMPARE(m_services.announcements().size(), 43);
        QCOMPARE(m_services.cueCount(Cue::Ding), 0);
    }

    void typed_characters_are_judged_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("charCode");
        QTest::addColumn<bool>("right");
        const std::tuple<const char *, int, int, bool> rows[]{
            {"g at F", 1, 'g', false},          {"space", 1, 32, false},          {"enter", 5, 13, false},
            {"backspace", 12, 8, false},        {"tab", 20, 9, false},            {"ctrl+f at F", 1, 6, false},
            {"plus at semicolon", 28, '+', false}, {"colon at semicolon", 28, ':', false},
            {"exclamation at 1", 31, '!', false}, {"full-width f at F", 1, 0xFF46, false},
            {"f at colon", 43, 'f', false},     {"upper-case F at F", 1, 'F', true},
            // Upper case in any script, unlike the drills, which fold only a to z.
            {"dotless i at I", 17, 0x131, true}, {"long s at S", 19, 0x17F, true}};
        for (const auto &[name, step, charCode, right] : rows)
            QTest::newRow(name) << step << charCode << right;
    }

    void typed_characters_are_judged()
    {
        // State: at the step, names shown or hidden alike. Action: the character.
        QFETCH(int, step);
        QFETCH(int, charCode);
        QFETCH(bool, right);
        for (bool hidden : {false, true}) {
            init();
            if (hidden)
                m_guide->hideFingerNames();
            walkTo(step);
            m_services.clear();
            m_guide->keyPress(charCode);
            // Expected: a right key says the next step's reading alone; a wrong one the key text,
            // then the wrong-key cue, and the step stays.
            QCOMPARE(effectTexts(m_services), (right ? QStringList{Readings.at(step % 43)} : QStringList{key(step), ding()}));
            QCOMPARE(m_guide->currentStep(), right ? step % 43 + 1 : step);
        }
    }

private:
    // Types the shown key until the step is on show (at most one round).
    void walkTo(int step)
    {
        for (int i = 0; i < 43 && m_guide->currentStep() != step; ++i)
            m_guide->keyPress(m_guide->view().keyText.at(0).unicode());
        QCOMPARE(m_guide->currentStep(), step);
    }

    RecordingServices m_services;
    std::optional<FingerGuide> m_guide;
};

QTEST_APPLESS_MAIN(TestFingerGuide)
#include "test_finger_guide.moc"
