// The key guide's key-down procedure with recording services: what is shown,
// what is announced and in which order, what is injected and when.

#include "keyguide/key_guide.h"
#include "support/fakes.h"

#include <QTest>

using namespace hoshi;
using hoshi::testing::Effect;
using hoshi::testing::RecordingServices;

namespace {

Effect injected(int keyCode, int modifiers, KeyDirection direction)
{
    return {Effect::Inject, {}, {}, keyCode, modifiers, direction};
}

Effect announced(const QString &text)
{
    return {Effect::Announce, text};
}

int injectionCount(const RecordingServices &services)
{
    int n = 0;
    for (const Effect &e : services.log)
        n += e.kind == Effect::Inject;
    return n;
}

} // namespace

class TestKeyGuide : public QObject {
    Q_OBJECT

private slots:
    void init();
    void load_arms_closes_the_input_method_and_says_nothing();
    void letter_shows_and_announces_display_then_reading();
    void ctrl_then_ctrl_a_repeats_ctrl();
    void shift_then_shift_zero_keeps_the_reading();
    void digit_announces_an_empty_reading();
    void key_in_no_table_repeats_the_last_two_announcements_data();
    void key_in_no_table_repeats_the_last_two_announcements();
    void key_before_any_other_repeats_the_prompt();
    void alt_armed_injects_escape_up_and_alt_down();
    void injected_alt_rearms_without_injecting();
    void f10_disarmed_only_rearms_then_windows_key_injects();
    void f10_and_windows_key_repress_themselves();
    void shifted_f10_is_no_entry_and_leaves_the_flag();
    void ime_keys_close_the_input_method_before_announcing_data();
    void ime_keys_close_the_input_method_before_announcing();
    void held_key_repeats_the_whole_procedure();
    void reload_restores_the_prompt_and_rearms();

private:
    RecordingServices m_services;
    std::vector<std::size_t> m_imeClosedAt; // log sizes when the input method was closed
    std::unique_ptr<KeyGuide> m_guide;
};

void TestKeyGuide::init()
{
    m_services.clear();
    m_imeClosedAt.clear();
    m_guide = std::make_unique<KeyGuide>(m_services, m_services,
                                         [this] { m_imeClosedAt.push_back(m_services.log.size()); });
    m_guide->load();
}

void TestKeyGuide::load_arms_closes_the_input_method_and_says_nothing()
{
    QCOMPARE(m_guide->state().keyText, KeyGuide::initialKeyText());
    QVERIFY(!m_guide->state().keyText.isEmpty());
    QCOMPARE(m_guide->state().yomiText, QString());
    QVERIFY(m_guide->state().injectArmed);
    QCOMPARE(m_imeClosedAt.size(), std::size_t(1));
    QVERIFY(m_services.log.empty());
}

void TestKeyGuide::letter_shows_and_announces_display_then_reading()
{
    m_guide->keyDown(65, 0);
    QCOMPARE(m_guide->state().keyText, QStringLiteral("ａ"));
    QCOMPARE(m_guide->state().yomiText, QStringLiteral("Ａ"));
    QCOMPARE(m_services.announcements(), QStringList({QStringLiteral("ａ"), QStringLiteral("Ａ")}));
}

void TestKeyGuide::ctrl_then_ctrl_a_repeats_ctrl()
{
    // State: A was pressed. Action: Ctrl down, then A with Ctrl held.
    m_guide->keyDown(65, 0);
    m_services.clear();
    m_guide->keyDown(17, 2);
    m_guide->keyDown(65, 2);
    // Expected: Ctrl is shown and announced twice; A changes nothing.
    const QStringList ctrl{QStringLiteral("Ctrl"), QStringLiteral("コントロール")};
    QCOMPARE(m_services.announcements(), ctrl + ctrl);
    QCOMPARE(m_guide->state().keyText, QStringLiteral("Ctrl"));
    QCOMPARE(m_guide->state().yomiText, QStringLiteral("コントロール"));
}

void TestKeyGuide::shift_then_shift_zero_keeps_the_reading()
{
    m_guide->keyDown(16, 1);
    m_guide->keyDown(48, 1);
    QCOMPARE(m_services.announcements(), QStringList({QStringLiteral("Shift"), QStringLiteral("シフト"), QString(),
                                                      QStringLiteral("シフト")}));
    QCOMPARE(m_guide->state().keyText, QString());
    QCOMPARE(m_guide->state().yomiText, QStringLiteral("シフト"));
}

void TestKeyGuide::digit_announces_an_empty_reading()
{
    m_guide->keyDown(65, 0);
    m_guide->keyDown(53, 0);
    QCOMPARE(m_services.announcements().mid(2), QStringList({QStringLiteral("５"), QString()}));
    QCOMPARE(m_guide->state().yomiText, QString());
}

void TestKeyGuide::key_in_no_table_repeats_the_last_two_announcements_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("state");
    QTest::newRow("caps lock") << 20 << 0;
    QTest::newRow("kanji") << 25 << 0;
    QTest::newRow("print screen") << 44 << 0;
    QTest::newRow("right windows") << 92 << 0;
    QTest::newRow("scroll lock") << 145 << 0;
    QTest::newRow("F13") << 124 << 0;
    QTest::newRow("Shift+Space") << 32 << 1;
    QTest::newRow("Alt+B") << 66 << 4;
    QTest::newRow("unknown key") << 0 << 0;
}

void TestKeyGuide::key_in_no_table_repeats_the_last_two_announcements()
{
    QFETCH(int, code);
    QFETCH(int, state);
    m_guide->keyDown(52, 1); // "＄" "ドル"
    m_services.clear();
    m_guide->keyDown(code, state);
    QCOMPARE(m_services.announcements(), QStringList({QStringLiteral("＄"), QStringLiteral("ドル")}));
    QVERIFY(m_guide->state().injectArmed);
    QCOMPARE(m_imeClosedAt.size(), std::size_t(1));
}

void TestKeyGuide::key_before_any_other_repeats_the_prompt()
{
    m_guide->keyDown(20, 0);
    QCOMPARE(m_services.announcements(), QStringList({KeyGuide::initialKeyText(), QString()}));
}

void TestKeyGuide::alt_armed_injects_escape_up_and_alt_down()
{
    m_guide->keyDown(18, 4);
    const std::vector<Effect> expected{injected(27, 4, KeyDirection::Up), injected(18, 4, KeyDirection::Down),
                                       announced(QStringLiteral("Alt")), announced(QStringLiteral("オルト"))};
    QCOMPARE(m_services.log, expected);
    QVERIFY(!m_guide->state().injectArmed);
}

void TestKeyGuide::injected_alt_rearms_without_injecting()
{
    m_guide->keyDown(18, 4);
    m_services.clear();
    m_guide->keyDown(18, 4); // the injected key-down coming back
    const std::vector<Effect> expected{announced(QStringLiteral("Alt")), announced(QStringLiteral("オルト"))};
    QCOMPARE(m_services.log, expected);
    QVERIFY(m_guide->state().injectArmed);
    // And the next real Alt injects again: the keys alternate.
    m_services.clear();
    m_guide->keyDown(18, 6);
    QCOMPARE(injectionCount(m_services), 2);
    QCOMPARE(m_services.log.front(), injected(27, 6, KeyDirection::Up));
}

void TestKeyGuide::f10_disarmed_only_rearms_then_windows_key_injects()
{
    // State: disarmed by an Alt re-press. Action: F10, then the Windows key.
    m_guide->keyDown(18, 4);
    m_services.clear();
    m_guide->keyDown(121, 0);
    QCOMPARE(injectionCount(m_services), 0);
    QVERIFY(m_guide->state().injectArmed);
    m_services.clear();
    m_guide->keyDown(91, 0);
    // Expected: the Windows key re-presses itself and disarms.
    const std::vector<Effect> expected{injected(91, 0, KeyDirection::Up), injected(91, 0, KeyDirection::Down),
                                       announced(QStringLiteral("Windowsｷｰ")),
                                       announced(QStringLiteral("ｳｨﾝﾄﾞｰｽﾞｷｰ"))};
    QCOMPARE(m_services.log, expected);
    QVERIFY(!m_guide->state().injectArmed);
}

void TestKeyGuide::f10_and_windows_key_repress_themselves()
{
    m_guide->keyDown(121, 0);
    const std::vector<Effect> expected{injected(121, 0, KeyDirection::Up), injected(121, 0, KeyDirection::Down),
                                       announced(QStringLiteral("Ｆ１０")),
                                       announced(QStringLiteral("ﾌｧﾝｸｼｮﾝ10"))};
    QCOMPARE(m_services.log, expected);
    QVERIFY(!m_guide->state().injectArmed);
}

void TestKeyGuide::shifted_f10_is_no_entry_and_leaves_the_flag()
{
    m_guide->keyDown(121, 1);
    QCOMPARE(injectionCount(m_services), 0);
    QVERIFY(m_guide->state().injectArmed);
    QCOMPARE(m_guide->state().keyText, KeyGuide::initialKeyText());
}

void TestKeyGuide::ime_keys_close_the_input_method_before_announcing_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("muhenkan") << 29 << QStringLiteral("無変換");
    QTest::newRow("hankaku/zenkaku or an open input method") << 229 << QStringLiteral("半角/全角");
}

void TestKeyGuide::ime_keys_close_the_input_method_before_announcing()
{
    QFETCH(int, code);
    QFETCH(QString, text);
    m_guide->keyDown(code, 0);
    QCOMPARE(m_imeClosedAt, std::vector<std::size_t>({0, 0}));
    QCOMPARE(m_services.announcements(), QStringList({text, text}));
    // With a modifier held the key has no entry and leaves the input method alone.
    m_guide->keyDown(code, 2);
    QCOMPARE(m_imeClosedAt.size(), std::size_t(2));
}

void TestKeyGuide::held_key_repeats_the_whole_procedure()
{
    for (int i = 0; i < 3; ++i)
        m_guide->keyDown(39, 0);
    QStringList expected;
    for (int i = 0; i < 3; ++i)
        expected << QStringLiteral("→") << QStringLiteral("右矢印");
    QCOMPARE(m_services.announcements(), expected);
}

void TestKeyGuide::reload_restores_the_prompt_and_rearms()
{
    m_guide->keyDown(18, 4);
    m_guide->load();
    QCOMPARE(m_guide->state().keyText, KeyGuide::initialKeyText());
    QCOMPARE(m_guide->state().yomiText, QString());
    QVERIFY(m_guide->state().injectArmed);
    QCOMPARE(m_imeClosedAt.size(), std::size_t(2));
}

QTEST_APPLESS_MAIN(TestKeyGuide)
#include "test_key_guide.moc"
