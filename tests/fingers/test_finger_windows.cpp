// The finger guide window and the drill windows, offscreen, driven by keys:
// what they draw, how keys, menus and the timer reach the behaviour.
#include "fingers/drill_tables.h"
#include "fingers/drill_window.h"
#include "fingers/finger_guide_window.h"
#include "support/fakes.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using hoshi::DrillWindow;
using hoshi::FingerGuideWindow;
using hoshi::testing::RecordingServices;
using hoshi::testing::ScriptedRandom;

namespace {

template <typename T = QWidget>
T *child(const QWidget &window, const char *name)
{
    return window.findChild<T *>(QString::fromLatin1(name));
}

QString text(const QWidget &window, const char *name)
{
    return child<QLabel>(window, name)->text();
}

bool shown(const QWidget &window, const char *name)
{
    return child(window, name)->isVisible();
}

void trigger(const QWidget &window, const char *action)
{
    child<QAction>(window, action)->trigger();
}

// Types the shown key, in lower case.
void typeShownKey(QWidget &window)
{
    QTest::keyClick(&window, text(window, "lblKey").toLower().at(0).toLatin1());
}

bool timerOn(const QWidget &window)
{
    return child<QTimer>(window, "Timer1")->isActive();
}

} // namespace

class TestFingerWindows : public QObject {
    Q_OBJECT

private slots:
    void init() { m_services.clear(); }

    void finger_guide_opens_at_step_one()
    {
        // State: a new window. Action: open it.
        FingerGuideWindow window(m_services, m_services);
        window.open();
        // Expected: caption, black, F under its yellow finger label, the reading announced twice.
        QCOMPARE(window.windowTitle(), QStringLiteral("どのゆびつかうの"));
        QCOMPARE(window.objectName(), QStringLiteral("frmYubiren"));
        QCOMPARE(window.centralWidget()->palette().color(QPalette::Window), QColor(Qt::black));
        QCOMPARE(text(window, "lblKey"), QStringLiteral("F"));
        QCOMPARE(text(window, "lblYubiHyoji"), QStringLiteral("ひだり\u3000人さし指"));
        QCOMPARE(child(window, "lblKey")->font().pointSizeF(), 249.75);
        QCOMPARE(child(window, "lblYubiHyoji")->font().pointSizeF(), 90.0);
        QCOMPARE(child(window, "lblYubiHyoji")->palette().color(QPalette::WindowText), QColor(255, 255, 0));
        QVERIFY(shown(window, "lblYubiHyoji"));
        QVERIFY(child(window, "lblKey")->y() > child(window, "lblYubiHyoji")->y());
        QCOMPARE(m_services.announcements(), QStringList(2, QStringLiteral("ひだりひとさしゆびえふ")));
    }

    void finger_guide_takes_characters_only()
    {
        // State: open at step 1. Action: keys without a character.
        FingerGuideWindow window(m_services, m_services);
        window.open();
        m_services.clear();
        for (Qt::Key key : {Qt::Key_Left, Qt::Key_F1, Qt::Key_Shift, Qt::Key_Down})
            QTest::keyClick(&window, key);
        // Expected: nothing moves, nothing sounds.
        QVERIFY(m_services.log.empty());
        // Action: f, then g, Tab and Space. Expected: step 2; R and the cue for each wrong key.
        QTest::keyClick(&window, 'f');
        QCOMPARE(text(window, "lblKey"), QStringLiteral("R"));
        for (Qt::Key key : {Qt::Key_G, Qt::Key_Tab, Qt::Key_Space})
            QTest::keyClick(&window, key);
        QCOMPARE(m_services.announcements(), (QStringList{QStringLiteral("ひだりひとさしゆびＲ"), "R", "R", "R"}));
        QCOMPARE(m_services.cueCount(hoshi::Cue::Ding), 3);
        QCOMPARE(window.guide().currentStep(), 2);
    }

    void finger_guide_numeric_pad_digits_count_like_main_row()
    {
        // State: at step 31 ("1"). Action: 1 to 9 and 0 on the numeric pad.
        FingerGuideWindow window(m_services, m_services);
        window.open();
        for (int i = 0; i < 43 && window.guide().currentStep() != 31; ++i)
            typeShownKey(window);
        for (Qt::Key key : {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4, Qt::Key_5, Qt::Key_6, Qt::Key_7, Qt::Key_8,
                            Qt::Key_9, Qt::Key_0})
            QTest::keyClick(&window, key, Qt::KeypadModifier);
        // Expected: each a right key: step 41 ("-"), no cue.
        QCOMPARE(text(window, "lblKey"), QStringLiteral("-"));
        QCOMPARE(m_services.cueCount(hoshi::Cue::Ding), 0);
    }

    void finger_guide_menu_escape_and_reopening()
    {
        // State: open. Action: hide finger names, type f.
        FingerGuideWindow window(m_services, m_services);
        window.open();
        trigger(window, "mnuHintoNashi");
        QTest::keyClick(&window, 'f');
        // Expected: the label hidden, the walk goes on; shown again from the menu.
        QVERIFY(!shown(window, "lblYubiHyoji"));
        QCOMPARE(text(window, "lblKey"), QStringLiteral("R"));
        trigger(window, "mnuHintoAri");
        QVERIFY(shown(window, "lblYubiHyoji"));
        // Action: hide again, Escape, reopen. Expected: closed without a cue; step 1 with names.
        trigger(window, "mnuHintoNashi");
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(!window.isVisible());
        QCOMPARE(m_services.cueCount(hoshi::Cue::Ding), 0);
        window.open();
        QCOMPARE(text(window, "lblKey"), QStringLiteral("F"));
        QVERIFY(shown(window, "lblYubiHyoji"));
    }

    void drill_opens_ready_with_profile_look_data()
    {
        QTest::addColumn<bool>("numbers");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("time");
        QTest::addColumn<QColor>("bar");
        QTest::addColumn<QString>("endCaption");
        QTest::newRow("alphabet") << false << "frmYubiren2" << "アルファベットに挑戦" << "TIME 30" << QColor(255, 0, 0)
                                  << "終了(&X )";
        QTest::newRow("numbers") << true << "frmYubiren3" << "数字と記号も登場" << "TIME 60" << QColor(0, 0, 255)
                                 << "終了(&X)";
    }

    void drill_opens_ready_with_profile_look()
    {
        // State: a new window. Action: open it.
        QFETCH(bool, numbers);
        QFETCH(QColor, bar);
        auto window = drill(numbers ? hoshi::numbersAndSymbolsDrillProfile() : hoshi::alphabetDrillProfile());
        window->open();
        // Expected: the profile's texts and colours; ready, nothing announced.
        QTEST(window->objectName(), "name");
        QTEST(window->windowTitle(), "title");
        QTEST(text(*window, "lblTime"), "time");
        QTEST(child<QAction>(*window, "mnuEnd")->text(), "endCaption");
        QCOMPARE(text(*window, "lblMaru") + text(*window, "lblBatsu"), QStringLiteral("○ 0× 0"));
        QCOMPARE(child(*window, "shpScale")->palette().color(QPalette::Window), bar);
        QCOMPARE(child(*window, "shpBox")->palette().color(QPalette::Window), QColor(Qt::white));
        QCOMPARE(window->centralWidget()->palette().color(QPalette::Window), QColor(0, 0, 128));
        QCOMPARE(child(*window, "Frame1")->palette().color(QPalette::Window), QColor(Qt::black));
        QVERIFY(child(*window, "lblKey")->parentWidget() == child(*window, "Frame1"));
        const auto *start = child<QPushButton>(*window, "cmdStart");
        QCOMPARE(start->text(), QStringLiteral("START"));
        QVERIFY(start->isEnabled());
        QCOMPARE(start->font().pointSizeF(), 36.0);
        QVERIFY(!shown(*window, "lblKey") && !shown(*window, "lblYubi") && !shown(*window, "lblTokuten"));
        QCOMPARE(child(*window, "shpScale")->width(), child(*window, "shpBox")->width());
        QVERIFY(m_services.log.empty());
    }

    void drill_space_starts_with_counts_zero()
    {
        // State: ready; the first target will be row 4 (G). Action: Space.
        auto window = drill(hoshi::alphabetDrillProfile(), {0, 3, 8});
        window->open();
        QTest::keyClick(window.get(), Qt::Key_Space);
        // Expected: running with a one-second timer, × 0, G shown and announced, START disabled.
        QVERIFY(timerOn(*window));
        QCOMPARE(child<QTimer>(*window, "Timer1")->interval(), 1000);
        QCOMPARE(text(*window, "lblBatsu"), QStringLiteral("× 0"));
        QCOMPARE(text(*window, "lblKey"), QStringLiteral("G"));
        QVERIFY(shown(*window, "lblKey"));
        QVERIFY(!child(*window, "cmdStart")->isEnabled());
        // Action: g, Enter, then keys without a character. Expected: ○ 1 and M; × 1 with the cue; nothing more.
        QTest::keyClick(window.get(), 'g');
        QCOMPARE(text(*window, "lblMaru"), QStringLiteral("○ 1"));
        QTest::keyClick(window.get(), Qt::Key_Return);
        for (Qt::Key key : {Qt::Key_Left, Qt::Key_F5, Qt::Key_Shift})
            QTest::keyClick(window.get(), key);
        QCOMPARE(text(*window, "lblBatsu"), QStringLiteral("× 1"));
        QCOMPARE(m_services.announcements(), (QStringList{"G", "M", "M"}));
        QCOMPARE(m_services.cueCount(hoshi::Cue::Ding), 1);
    }

    void drill_button_starts_and_never_takes_space()
    {
        // State: ready; the button cannot take the keyboard. Action: click START, then Space.
        auto window = drill(hoshi::alphabetDrillProfile());
        window->open();
        auto *start = child<QPushButton>(*window, "cmdStart");
        QCOMPARE(start->focusPolicy(), Qt::NoFocus);
        QTest::mouseClick(start, Qt::LeftButton);
        QVERIFY(timerOn(*window));
        QCOMPARE(m_services.announcements(), QStringList{text(*window, "lblKey")});
        // Expected: Space during the run is a miss, not a restart.
        QTest::keyClick(window.get(), Qt::Key_Space);
        QCOMPARE(text(*window, "lblBatsu"), QStringLiteral("× 1"));
    }

    void drill_full_run_ends_with_score_and_empty_bar()
    {
        // State: a run with one hit and two misses.
        auto window = drill(hoshi::alphabetDrillProfile());
        window->open();
        QTest::keyClick(window.get(), Qt::Key_Space);
        typeShownKey(*window);
        QTest::keyClicks(window.get(), QStringLiteral("12"));
        const int box = child(*window, "shpBox")->width();
        // Action: the first tick. Expected: TIME 29 and 29/30 of the bar.
        window->Timer1_Timer();
        QCOMPARE(text(*window, "lblTime"), QStringLiteral("TIME 29"));
        QCOMPARE(child(*window, "shpScale")->width(), qRound(box / 30.0 * 29));
        // Action: the other 29 ticks. Expected: the time-up screen, timer off, empty bar.
        for (int i = 1; i < 30; ++i)
            window->Timer1_Timer();
        QCOMPARE(text(*window, "lblYubi"), QStringLiteral("Spaceでスタート"));
        QCOMPARE(text(*window, "lblTokuten"), QStringLiteral("得点 -1"));
        QVERIFY(shown(*window, "lblTokuten"));
        QVERIFY(!timerOn(*window));
        QCOMPARE(child<QPushButton>(*window, "cmdStart")->text(), QStringLiteral("RETRY"));
        QCOMPARE(child(*window, "shpScale")->width(), 0);
        // Action: Space. Expected: a fresh run, the bar full again.
        QTest::keyClick(window.get(), Qt::Key_Space);
        QCOMPARE(text(*window, "lblTime"), QStringLiteral("TIME 30"));
        QVERIFY(!shown(*window, "lblTokuten"));
        QCOMPARE(child(*window, "shpScale")->width(), box);
    }

    void drill_bar_after_resize()
    {
        // State: a run 3 seconds in.
        auto window = drill(hoshi::alphabetDrillProfile());
        window->open();
        QTest::keyClick(window.get(), Qt::Key_Space);
        for (int i = 0; i < 3; ++i)
            window->Timer1_Timer();
        const int fullBox = child(*window, "shpBox")->width();
        QCOMPARE(child(*window, "shpScale")->width(), qRound(fullBox / 30.0 * 27));
        // Action: make the window smaller.
        window->resize(window->width() / 2, window->height() / 2);
        QCoreApplication::processEvents();
        const int box = child(*window, "shpBox")->width();
        QVERIFY(box < fullBox);
        // Expected: the bar at the new box's full width until the next tick brings back the time left.
        QCOMPARE(child(*window, "shpScale")->width(), box);
        window->Timer1_Timer();
        QCOMPARE(child(*window, "shpScale")->width(), qRound(box / 30.0 * 26));
    }

    void drill_close_mid_run_stops_timer_and_reopens_fresh()
    {
        // State: a run with a miss, 5 seconds in. Action: Escape.
        auto window = drill(hoshi::numbersAndSymbolsDrillProfile());
        window->open();
        QTest::keyClick(window.get(), Qt::Key_Space);
        QTest::keyClicks(window.get(), QStringLiteral("qw"));
        for (int i = 0; i < 5; ++i)
            window->Timer1_Timer();
        QTest::keyClick(window.get(), Qt::Key_Escape);
        // Expected: closed, the timer stopped with it.
        QVERIFY(!window->isVisible());
        QVERIFY(!timerOn(*window));
        // Action: reopen. Expected: ready with a fresh state, silent.
        m_services.clear();
        window->open();
        QCOMPARE(text(*window, "lblTime") + text(*window, "lblMaru") + text(*window, "lblBatsu"),
                 QStringLiteral("TIME 60○ 0× 0"));
        QCOMPARE(child<QPushButton>(*window, "cmdStart")->text(), QStringLiteral("START"));
        QVERIFY(!shown(*window, "lblKey"));
        QVERIFY(m_services.log.empty());
    }

    void both_drills_open_at_once_keep_their_own_state()
    {
        // State: both drills open and running.
        RecordingServices numberServices;
        auto alpha = drill(hoshi::alphabetDrillProfile());
        auto numbers = std::make_unique<DrillWindow>(hoshi::numbersAndSymbolsDrillProfile(), numberServices,
                                                     numberServices, std::make_unique<ScriptedRandom>());
        alpha->open();
        numbers->open();
        QTest::keyClick(alpha.get(), Qt::Key_Space);
        QTest::keyClick(numbers.get(), Qt::Key_Space);
        // Action: misses and a tick in the alphabet drill only; a hit in the other.
        QTest::keyClicks(alpha.get(), QStringLiteral("98"));
        alpha->Timer1_Timer();
        typeShownKey(*numbers);
        // Expected: each window shows only its own run; closing one leaves the other running.
        QCOMPARE(text(*alpha, "lblMaru") + text(*alpha, "lblBatsu") + text(*alpha, "lblTime"),
                 QStringLiteral("○ 0× 2TIME 29"));
        QCOMPARE(text(*numbers, "lblMaru") + text(*numbers, "lblBatsu") + text(*numbers, "lblTime"),
                 QStringLiteral("○ 1× 0TIME 60"));
        alpha->close();
        QVERIFY(timerOn(*numbers));
    }

private:
    // A drill window with scripted draws (0-based rows, then a seeded fallback).
    std::unique_ptr<DrillWindow> drill(const hoshi::DrillProfile &profile, std::deque<int> rows = {})
    {
        return std::make_unique<DrillWindow>(profile, m_services, m_services,
                                             std::make_unique<ScriptedRandom>(std::move(rows)));
    }

    RecordingServices m_services;
};

QTEST_MAIN(TestFingerWindows)
#include "test_finger_windows.moc"
