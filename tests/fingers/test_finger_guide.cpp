// SPDX-License-Identifier: GPL-3.0-or-later
// The finger guide: the walk over its 43 steps, its wrap, and how it judges typed characters.
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

const QString Keys = QStringLiteral("FRVGTBJUMHYNDECKI,SWXLO.AQZ;P/1234567890-@:");

QString key(int step)
{
    return Keys.mid(step - 1, 1);
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
        // Steps whose finger label or reading is out of the common pattern.
        const std::map<int, std::pair<QString, QString>> spots{
            {1, {"ひだり\u3000人さし指", "ひだりひとさしゆびＲ"}}, {2, {"ひだり\u3000人さし指", "ひだりひとさしゆびぶい"}},
            {18, {"みぎ\u3000中指", "ひだりくすりゆびＳ"}},       {24, {"みぎ\u3000くすり指", "ひだり小ゆびＡ"}},
            {25, {"ひだり\u3000小指", "ひだりこゆびＱ"}},         {31, {"ひだり\u3000小指", "ひだりくすりゆび２"}},
            {34, {"ひだり\u3000ひとさし指", "ひだりひとさしゆび５"}}, {38, {"みぎ\u3000なか指", "みぎくすりゆび９"}},
            {40, {"みぎ\u3000小指", "みぎこゆびﾏｲﾅｽ"}},           {43, {"みぎ\u3000小指", "ひだりひとさしゆびえふ"}}};
        m_services.clear();
        for (int step = 1; step <= 43; ++step) {
            // State: at the step. Expected: its key on show.
            QCOMPARE(m_guide->currentStep(), step);
            QCOMPARE(m_guide->view().keyText, key(step));
            const QString label = m_guide->view().fingerLabel;
            // Action: its key, letters in lower case. Expected: the next step's reading (step 1's after 43).
            m_guide->keyPress(key(step).toLower().at(0).unicode());
            QCOMPARE(m_guide->view().typedText, key(step));
            if (spots.contains(step)) {
                QCOMPARE(label, spots.at(step).first);
                QCOMPARE(m_services.announcements().last(), spots.at(step).second);
            }
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
            {"g at F", 1, 'g', false}, {"space", 1, 32, false}, {"enter", 5, 13, false}, {"backspace", 12, 8, false},
            {"ctrl+f at F", 1, 6, false}, {"plus at semicolon", 28, '+', false}, {"colon at semicolon", 28, ':', false},
            {"exclamation at 1", 31, '!', false}, {"full-width f at F", 1, 0xFF46, false}, {"f at colon", 43, 'f', false},
            {"upper-case F at F", 1, 'F', true}, {"lower-case m at M", 9, 'm', true},
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
            for (int i = 0; i < 43 && m_guide->currentStep() != step; ++i)
                m_guide->keyPress(m_guide->view().keyText.at(0).unicode());
            const QString next = right ? key(step % 43 + 1) : key(step);
            m_services.clear();
            m_guide->keyPress(charCode);
            // Expected: a right key moves on and says the next reading alone; a wrong one says
            // the key text, then the wrong-key cue, and the step stays.
            QCOMPARE(m_guide->view().keyText, next);
            if (right)
                QCOMPARE(effectTexts(m_services), QStringList{m_guide->view().reading});
            else
                QCOMPARE(effectTexts(m_services), (QStringList{key(step), ding()}));
        }
    }

private:
    RecordingServices m_services;
    std::optional<FingerGuide> m_guide;
};

QTEST_APPLESS_MAIN(TestFingerGuide)
#include "test_finger_guide.moc"
