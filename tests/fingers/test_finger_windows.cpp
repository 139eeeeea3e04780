// The finger guide window and the drill windows, offscreen, driven by keys.
#include "fingers/drill_tables.h"
#include "fingers/drill_window.h"
#include "fingers/finger_guide_window.h"
#include "fingers/finger_steps.h"
#include "support/fakes.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using hoshi::DrillWindow;
using hoshi::FingerGuideWindow;
using hoshi::testing::RecordingServices;
using hoshi::testing::ScriptedRandom;

namespace {

QString text(const QWidget &window, const char *name)
{
    const auto *label = window.findChild<QLabel *>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<no %1>").arg(QString::fromLatin1(name));
}

bool shown(const QWidget &window, const char *name)
{
    const auto *widget = window.findChild<QWidget *>(QString::fromLatin1(name));
    return widget && widget->isVisible();
}

QWidget *child(const QWidget &window, const char *name)
{
    return window.findChild<QWidget *>(QString::fromLatin1(name));
}

void trigger(const QWidget &window, const char *action)
{
    window.findChild<QAction *>(QString::fromLatin1(action))->trigger();
}

// A drill window with scripted draws (0-based rows, then a seeded fallback).
std::unique_ptr<DrillWindow> makeDrill(const hoshi::DrillProfile &profile, RecordingServices &services,
                                       std::deque<int> rows = {})
{
    return std::make_unique<DrillWindow>(profile, services, services,
                                         std::make_unique<ScriptedRandom>(std::move(rows)));
}

void typeTarget(DrillWindow &window)
{
    QTest::keyClick(&window, text(window, "lblKey").toLower().at(0).toLatin1());
}

} // namespace

class TestFingerWindows : public QObject {
    Q_OBJECT

private slots:
    void finger_guide_opens_at_step_one();
    void finger_guide_walks_by_keys_and_ignores_keys_without_character();
    void finger_guide_numeric_pad_digits_count_like_main_row();
    void finger_guide_menu_hides_and_shows_finger_label();
    void finger_guide_escape_closes_and_reopening_starts_fresh();
    void drill_opens_ready_with_profile_look_data();
    void drill_opens_ready_with_profile_look();
    void drill_space_starts_with_counts_zero();
    void drill_button_starts_and_never_takes_space();
    void drill_full_run_ends_with_score_and_empty_bar();
    void drill_bar_after_resize();
    void drill_close_mid_run_stops_timer_and_reopens_fresh();
    void both_drills_open_at_once_keep_their_own_state();
};

void TestFingerWindows::finger_guide_opens_at_step_one()
{
    // State: a new window. Action: open it.
    RecordingServices services;
    FingerGuideWindow window(services, services);
    window.open();
    // Expected: caption, black, F under its finger label, reading announced twice.
    QCOMPARE(window.windowTitle(), QStringLiteral("どのゆびつかうの"));
    QCOMPARE(window.objectName(), QStringLiteral("frmYubiren"));
    QCOMPARE(window.centralWidget()->palette().color(QPalette::Window), QColor(Qt::black));
    QCOMPARE(text(window, "lblKey"), QStringLiteral("F"));
    QCOMPARE(text(window, "lblYubiHyoji"), QStringLiteral("ひだり\u3000人さし指"));
    QCOMPARE(child(window, "lblKey")->font().pointSizeF(), 249.75);
    QCOMPARE(child(window, "lblYubiHyoji")->font().pointSizeF(), 90.0);
    QCOMPARE(child(window, "lblYubiHyoji")->palette().color(QPalette::WindowText), QColor(255, 255, 0));
    QVERIFY(shown(window, "lblYubiHyoji"));
    QCOMPARE(services.announcements(), QStringList(2, QStringLiteral("ひだりひとさしゆびえふ")));
    // The finger label sits half a band down, the key two bands down.
    QVERIFY(child(window, "lblKey")->y() > child(window, "lblYubiHyoji")->y());
}

void TestFingerWindows::finger_guide_walks_by_keys_and_ignores_keys_without_character()
{
    RecordingServices services;
    FingerGuideWindow window(services, services);
    window.open();
    services.clear();
    // Action: keys that make no character.
    for (Qt::Key key : {Qt::Key_Left, Qt::Key_F1, Qt::Key_Shift, Qt::Key_Down})
        QTest::keyClick(&window, key);
    // Expected: nothing moves, nothing sounds.
    QVERIFY(services.log.empty());
    // Action: f, then g, then Tab, then Space.
    QTest::keyClick(&window, 'f');
    QCOMPARE(text(window, "lblKey"), QStringLiteral("R"));
    QTest::keyClick(&window, 'g');
    QTest::keyClick(&window, Qt::Key_Tab);
    QTest::keyClick(&window, Qt::Key_Space);
    // Expected: step 2's reading, then R and the cue for each wrong key.
    QCOMPARE(services.announcements(),
             (QStringList{QStringLiteral("ひだりひとさしゆびＲ"), "R", "R", "R"}));
    QCOMPARE(services.cueCount(hoshi::Cue::Ding), 3);
    QCOMPARE(window.guide().currentStep(), 2);
}

void TestFingerWindows::finger_guide_numeric_pad_digits_count_like_main_row()
{
    // State: at step 31 ("1").
    RecordingServices services;
    FingerGuideWindow window(services, services);
    window.open();
    while (window.guide().currentStep() != 31)
        QTest::keyClick(&window, text(window, "lblKey").toLower().at(0).toLatin1());
    // Action: the digits 1 to 9 and 0 from the numeric pad.
    for (Qt::Key key : {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4, Qt::Key_5, Qt::Key_6,
                        Qt::Key_7, Qt::Key_8, Qt::Key_9, Qt::Key_0})
        QTest::keyClick(&window, key, Qt::KeypadModifier);
    // Expected: each one a right key: step 41 is shown, no cue.
    QCOMPARE(window.guide().currentStep(), 41);
    QCOMPARE(text(window, "lblKey"), QStringLiteral("-"));
    QCOMPARE(services.cueCount(hoshi::Cue::Ding), 0);
}

void TestFingerWindows::finger_guide_menu_hides_and_shows_finger_label()
{
    RecordingServices services;
    FingerGuideWindow window(services, services);
    window.open();
    // Action: hide finger names, then type f.
    trigger(window, "mnuHintoNashi");
    QTest::keyClick(&window, 'f');
    // Expected: the finger label is hidden, the walk and announcement go on.
    QVERIFY(!shown(window, "lblYubiHyoji"));
    QCOMPARE(text(window, "lblKey"), QStringLiteral("R"));
    QCOMPARE(services.announcements().last(), QStringLiteral("ひだりひとさしゆびＲ"));
    // Action: show them again. Expected: visible, same step.
    trigger(window, "mnuHintoAri");
    QVERIFY(shown(window, "lblYubiHyoji"));
    QCOMPARE(text(window, "lblYubiHyoji"), QStringLiteral("ひだり\u3000人さし指"));
}

void TestFingerWindows::finger_guide_escape_closes_and_reopening_starts_fresh()
{
    // State: open at step 3 with names hidden.
    RecordingServices services;
    FingerGuideWindow window(services, services);
    window.open();
    QTest::keyClick(&window, 'f');
    QTest::keyClick(&window, 'r');
    trigger(window, "mnuHintoNashi");
    // Action: Escape. Expected: closed, without a cue.
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(!window.isVisible());
    QCOMPARE(services.cueCount(hoshi::Cue::Ding), 0);
    // Action: reopen. Expected: step 1, names shown.
    window.open();
    QCOMPARE(text(window, "lblKey"), QStringLiteral("F"));
    QVERIFY(shown(window, "lblYubiHyoji"));
}

void TestFingerWindows::drill_opens_ready_with_profile_look_data()
{
    QTest::addColumn<bool>("numbers");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QColor>("bar");
    QTest::addColumn<QString>("endCaption");
    QTest::newRow("alphabet") << false << "frmYubiren2" << "アルファベットに挑戦" << "TIME 30"
                              << QColor(255, 0, 0) << "終了(&X )";
    QTest::newRow("numbers") << true << "frmYubiren3" << "数字と記号も登場" << "TIME 60"
                             << QColor(0, 0, 255) << "終了(&X)";
}

void TestFingerWindows::drill_opens_ready_with_profile_look()
{
    QFETCH(bool, numbers);
    QFETCH(QString, name);
    QFETCH(QString, title);
    QFETCH(QString, time);
    QFETCH(QColor, bar);
    QFETCH(QString, endCaption);
    // State: a new window. Action: open it.
    RecordingServices services;
    auto window = makeDrill(numbers ? hoshi::numbersAndSymbolsDrillProfile() : hoshi::alphabetDrillProfile(),
                            services);
    window->open();
    // Expected: the profile's texts and colours; ready, nothing announced.
    QCOMPARE(window->objectName(), name);
    QCOMPARE(window->windowTitle(), title);
    QCOMPARE(text(*window, "lblTime"), time);
    QCOMPARE(text(*window, "lblMaru"), QStringLiteral("○ 0"));
    QCOMPARE(text(*window, "lblBatsu"), QStringLiteral("× 0"));
    QCOMPARE(window->findChild<QAction *>(QStringLiteral("mnuEnd"))->text(), endCaption);
    QCOMPARE(child(*window, "shpScale")->palette().color(QPalette::Window), bar);
    QCOMPARE(child(*window, "shpBox")->palette().color(QPalette::Window), QColor(Qt::white));
    QCOMPARE(window->centralWidget()->palette().color(QPalette::Window), QColor(0, 0, 128));
    QCOMPARE(child(*window, "Frame1")->palette().color(QPalette::Window), QColor(Qt::black));
    QVERIFY(child(*window, "lblKey")->parentWidget() == child(*window, "Frame1"));
    const auto *start = window->findChild<QPushButton *>(QStringLiteral("cmdStart"));
    QCOMPARE(start->text(), QStringLiteral("START"));
    QVERIFY(start->isEnabled());
    QCOMPARE(start->font().pointSizeF(), 36.0);
    QVERIFY(!shown(*window, "lblKey"));
    QVERIFY(!shown(*window, "lblYubi"));
    QVERIFY(!shown(*window, "lblTokuten"));
    QVERIFY(services.log.empty());
    QCOMPARE(child(*window, "shpScale")->width(), child(*window, "shpBox")->width());
}

void TestFingerWindows::drill_space_starts_with_counts_zero()
{
    // State: ready; the first target will be row 4 (G).
    RecordingServices services;
    auto window = makeDrill(hoshi::alphabetDrillProfile(), services, {0, 3, 8});
    window->open();
    // Action: Space.
    QTest::keyClick(window.get(), Qt::Key_Space);
    // Expected: running, counts 0, G shown and announced, timer on.
    auto *timer = window->findChild<QTimer *>(QStringLiteral("Timer1"));
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 1000);
    QCOMPARE(text(*window, "lblBatsu"), QStringLiteral("× 0"));
    QCOMPARE(text(*window, "lblKey"), QStringLiteral("G"));
    QVERIFY(shown(*window, "lblKey"));
    QVERIFY(!window->findChild<QPushButton *>(QStringLiteral("cmdStart"))->isEnabled());
    QCOMPARE(services.announcements(), QStringList{"G"});
    // Action: g, then Enter. Expected: ○ 1 and M; then × 1 with the cue.
    QTest::keyClick(window.get(), 'g');
    QCOMPARE(text(*window, "lblMaru"), QStringLiteral("○ 1"));
    QCOMPARE(text(*window, "lblKey"), QStringLiteral("M"));
    QTest::keyClick(window.get(), Qt::Key_Return);
    QCOMPARE(text(*window, "lblBatsu"), QStringLiteral("× 1"));
    QCOMPARE(services.announcements(), (QStringList{"G", "M", "M"}));
    QCOMPARE(services.cueCount(hoshi::Cue::Ding), 1);
    // Keys that make no character change nothing and make no sound.
    services.clear();
    for (Qt::Key key : {Qt::Key_Left, Qt::Key_F5, Qt::Key_Shift})
        QTest::keyClick(window.get(), key);
    QVERIFY(services.log.empty());
}

void TestFingerWindows::drill_button_starts_and_never_takes_space()
{
    RecordingServices services;
    auto window = makeDrill(hoshi::alphabetDrillProfile(), services);
    window->open();
    auto *start = window->findChild<QPushButton *>(QStringLiteral("cmdStart"));
    // The button cannot take the keyboard away from the window.
    QCOMPARE(start->focusPolicy(), Qt::NoFocus);
    // Action: click START. Expected: running, target announced.
    QTest::mouseClick(start, Qt::LeftButton);
    QVERIFY(window->findChild<QTimer *>(QStringLiteral("Timer1"))->isActive());
    QCOMPARE(services.announcements(), QStringList{text(*window, "lblKey")});
    // Action: Space during the run. Expected: a miss, not a restart.
    QTest::keyClick(window.get(), Qt::Key_Space);
    QCOMPARE(text(*window, "lblBatsu"), QStringLiteral("× 1"));
}

void TestFingerWindows::drill_full_run_ends_with_score_and_empty_bar()
{
    // State: a run with one hit and two misses.
    RecordingServices services;
    auto window = makeDrill(hoshi::alphabetDrillProfile(), services);
    window->open();
    QTest::keyClick(window.get(), Qt::Key_Space);
    typeTarget(*window);
    QTest::keyClick(window.get(), '1');
    QTest::keyClick(window.get(), '2');
    const int box = child(*window, "shpBox")->width();
    // Action: the first tick. Expected: TIME 29 and 29/30 of the bar.
    window->Timer1_Timer();
    QCOMPARE(text(*window, "lblTime"), QStringLiteral("TIME 29"));
    QCOMPARE(child(*window, "shpScale")->width(), qRound(box / 30.0 * 29));
    // Action: the other 29 ticks.
    for (int i = 1; i < 30; ++i)
        window->Timer1_Timer();
    // Expected: time-up screen, score announced, timer off, empty bar.
    QCOMPARE(text(*window, "lblTime"), QStringLiteral("TIME 0"));
    QCOMPARE(text(*window, "lblYubi"), QStringLiteral("Spaceでスタート"));
    QCOMPARE(text(*window, "lblKey"), QString());
    QCOMPARE(text(*window, "lblTokuten"), QStringLiteral("得点 -1"));
    QVERIFY(shown(*window, "lblTokuten"));
    QCOMPARE(services.announcements().last(), QStringLiteral("得点 -1"));
    QVERIFY(!window->findChild<QTimer *>(QStringLiteral("Timer1"))->isActive());
    QCOMPARE(window->findChild<QPushButton *>(QStringLiteral("cmdStart"))->text(), QStringLiteral("RETRY"));
    QCOMPARE(child(*window, "shpScale")->width(), 0);
    // Action: typing after time-up. Expected: nothing.
    services.clear();
    QTest::keyClick(window.get(), 'a');
    QVERIFY(services.log.empty());
    // Action: Space. Expected: a fresh run, the bar full again.
    QTest::keyClick(window.get(), Qt::Key_Space);
    QCOMPARE(text(*window, "lblTime"), QStringLiteral("TIME 30"));
    QCOMPARE(text(*window, "lblBatsu"), QStringLiteral("× 0"));
    QVERIFY(!shown(*window, "lblTokuten"));
    QCOMPARE(child(*window, "shpScale")->width(), child(*window, "shpBox")->width());
}

void TestFingerWindows::drill_bar_after_resize()
{
    // State: a run 3 seconds in.
    RecordingServices services;
    auto window = makeDrill(hoshi::alphabetDrillProfile(), services);
    window->open();
    QTest::keyClick(window.get(), Qt::Key_Space);
    for (int i = 0; i < 3; ++i)
        window->Timer1_Timer();
    QCOMPARE(child(*window, "shpScale")->width(), qRound(child(*window, "shpBox")->width() / 30.0 * 27));
    const int fullBox = child(*window, "shpBox")->width();
    // Action: make the window smaller.
    window->resize(window->width() / 2, window->height() / 2);
    QCoreApplication::processEvents();
    const int box = child(*window, "shpBox")->width();
    QVERIFY(box < fullBox);
    // Expected: the bar at the new box's full width until the next tick...
    QCOMPARE(child(*window, "shpScale")->width(), box);
    // ...which brings it back to the time left, of the new box.
    window->Timer1_Timer();
    QCOMPARE(child(*window, "shpScale")->width(), qRound(box / 30.0 * 26));
}

void TestFingerWindows::drill_close_mid_run_stops_timer_and_reopens_fresh()
{
    // State: a run with a miss, 5 seconds in.
    RecordingServices services;
    auto window = makeDrill(hoshi::numbersAndSymbolsDrillProfile(), services);
    window->open();
    QTest::keyClick(window.get(), Qt::Key_Space);
    QTest::keyClick(window.get(), 'q');
    QTest::keyClick(window.get(), 'w');
    for (int i = 0; i < 5; ++i)
        window->Timer1_Timer();
    // Action: Escape.
    QTest::keyClick(window.get(), Qt::Key_Escape);
    // Expected: closed, the timer stopped with it.
    QVERIFY(!window->isVisible());
    QVERIFY(!window->findChild<QTimer *>(QStringLiteral("Timer1"))->isActive());
    // Action: reopen. Expected: ready with fresh state.
    services.clear();
    window->open();
    QCOMPARE(text(*window, "lblTime"), QStringLiteral("TIME 60"));
    QCOMPARE(text(*window, "lblMaru"), QStringLiteral("○ 0"));
    QCOMPARE(text(*window, "lblBatsu"), QStringLiteral("× 0"));
    QCOMPARE(window->findChild<QPushButton *>(QStringLiteral("cmdStart"))->text(), QStringLiteral("START"));
    QVERIFY(!shown(*window, "lblKey"));
    QVERIFY(services.log.empty());
}

void TestFingerWindows::both_drills_open_at_once_keep_their_own_state()
{
    // State: both drills open and running.
    RecordingServices alphaServices;
    RecordingServices numberServices;
    auto alpha = makeDrill(hoshi::alphabetDrillProfile(), alphaServices);
    auto numbers = makeDrill(hoshi::numbersAndSymbolsDrillProfile(), numberServices);
    alpha->open();
    numbers->open();
    QTest::keyClick(alpha.get(), Qt::Key_Space);
    QTest::keyClick(numbers.get(), Qt::Key_Space);
    // Action: misses and ticks in the alphabet drill only; a hit in the other.
    QTest::keyClick(alpha.get(), '9');
    QTest::keyClick(alpha.get(), '8');
    alpha->Timer1_Timer();
    typeTarget(*numbers);
    // Expected: each window shows only its own run.
    QCOMPARE(text(*alpha, "lblBatsu"), QStringLiteral("× 2"));
    QCOMPARE(text(*alpha, "lblMaru"), QStringLiteral("○ 0"));
    QCOMPARE(text(*alpha, "lblTime"), QStringLiteral("TIME 29"));
    QCOMPARE(text(*numbers, "lblBatsu"), QStringLiteral("× 0"));
    QCOMPARE(text(*numbers, "lblMaru"), QStringLiteral("○ 1"));
    QCOMPARE(text(*numbers, "lblTime"), QStringLiteral("TIME 60"));
    // Closing one leaves the other running.
    alpha->close();
    QVERIFY(numbers->findChild<QTimer *>(QStringLiteral("Timer1"))->isActive());
}

QTEST_MAIN(TestFingerWindows)
#include "test_finger_windows.moc"
