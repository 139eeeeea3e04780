// SPDX-License-Identifier: GPL-3.0-or-later
// The finger guide window and the drill windows, offscreen, driven by keys:
// what they draw, how keys, menus and the timer reach the behaviour.
#include "effect_text.h"
#include "fingers/drill_tables.h"
#include "fingers/drill_window.h"
#include "fingers/finger_guide_window.h"
#include "ui/version_info.h"
#include "support/fakes.h"
#include "support/screen_reader.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <chrono>

#include <map>

using hoshi::DrillWindow;
using hoshi::FingerGuideWindow;
using hoshi::testing::ding;
using hoshi::testing::effectTexts;
using hoshi::testing::accessible;
using hoshi::testing::RecordingServices;
using hoshi::testing::saidTexts;
using hoshi::testing::ScriptedRandom;
using hoshi::testing::windowsInside;

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

// What a screen reader reads of the named control: its name, "(hidden)" when
// it is left out as not shown.
QString heard(const QWidget &window, const char *name)
{
    QAccessibleInterface *iface = accessible(child(window, name));
    return iface->state().invisible ? QStringLiteral("(hidden)") : iface->text(QAccessible::Name);
}

// Expected: the version box said once, with CR LF, just before it opened, and readable.
void checkVersionBox(QWidget &window, RecordingServices &services)
{
    const auto box = hoshi::testing::versionBoxOf(window, services);
    QCOMPARE(box.saidBefore, QStringList{QStringLiteral("announce ") + hoshi::versionMessage()});
    QCOMPARE(box.accessibleText, hoshi::versionMessage().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    QCOMPARE(saidTexts(services), box.saidBefore);
}

bool timerOn(const QWidget &window)
{
    return child<QTimer>(window, "Timer1")->isActive();
}

// What a drill window shows, in one line: key(...) and finger(...) are hidden,
// START or RETRY is there when enabled, the bar is its share of the box.
QString drawn(const DrillWindow &window)
{
    const auto label = [&window](const char *prefix, const char *name) {
        const QLabel *widget = child<QLabel>(window, name);
        const QString text = widget->text();
        return QString::fromLatin1(prefix) + (widget->isVisibleTo(&window) ? u'[' + text + u']' : u'(' + text + u')');
    };
    const auto *start = child<QPushButton>(window, "cmdStart");
    QString out = QStringLiteral("%1 %2 %3 %4 %5").arg(text(window, "lblTime"), text(window, "lblMaru"),
                                                       text(window, "lblBatsu"), label("key", "lblKey"),
                                                       label("finger", "lblYubi"));
    out += shown(window, "lblTokuten") ? u' ' + text(window, "lblTokuten") : QString();
    out += start->isEnabled() ? u' ' + start->text() : QString();
    out += timerOn(window) ? QStringLiteral(" timer") : QString();
    const double share = double(child(window, "shpScale")->width()) / child(window, "shpBox")->width();
    out += QStringLiteral(" bar %1%").arg(qRound(100 * share));
    return out + (window.isVisible() ? QString() : QStringLiteral(" closed"));
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

    void finger_guide_is_read_by_a_screen_reader()
    {
        // State: opened at step 1. Expected: no panel taken for a window; the key, the finger and
        // the reading (drawn black on black, written for the ear) read as they stand.
        FingerGuideWindow window(m_services, m_services);
        window.open();
        QCOMPARE(windowsInside(window), QStringList());
        const auto readOut = [&window] {
            return QStringList{heard(window, "lblKey"), heard(window, "lblYubiHyoji"), heard(window, "lblYubi")};
        };
        QCOMPARE(readOut(), (QStringList{"F", "ひだり\u3000人さし指", "ひだりひとさしゆびえふ"}));
        // Action: f, then the finger names hidden. Expected: step 2 read, with the reading announced.
        QTest::keyClick(&window, 'f');
        trigger(window, "mnuHintoNashi");
        QCOMPARE(readOut(), (QStringList{"R", "(hidden)", m_services.announcements().last()}));
        checkVersionBox(window, m_services);
    }

    void drill_is_read_by_a_screen_reader()
    {
        // State: the alphabet drill opened; its draws give F, then G. Expected: no panel taken for
        // a window; the target and its finger left out while hidden.
        auto window = drill(hoshi::alphabetDrillProfile(), {0, 3});
        window->open();
        QCOMPARE(windowsInside(*window), QStringList());
        QCOMPARE(heard(*window, "lblKey") + heard(*window, "lblYubi"), QStringLiteral("(hidden)(hidden)"));
        // Action: Space, a miss. Expected: the target, its finger and the counts read as they stand.
        QTest::keyClick(window.get(), Qt::Key_Space);
        QTest::keyClick(window.get(), 'q');
        const QStringList readOut{heard(*window, "lblKey"), heard(*window, "lblYubi"), heard(*window, "lblTime"),
                                  heard(*window, "lblBatsu"), heard(*window, "cmdStart")};
        QCOMPARE(readOut, (QStringList{"G", "左手\u3000人さし指", "TIME 30", "× 1", "START"}));
        checkVersionBox(*window, m_services);
    }

    void drill_finger_names_follow_the_kept_choice_data()
    {
        // Steps: open, space, hit, miss, tick, runout, show, hide (from the menu), close.
        QTest::addColumn<bool>("keptShown");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("names"); // after each step: + shown, - hidden
        QTest::addColumn<bool>("keptAfter");
        QTest::newRow("hidden by choice: at START, every later step, RETRY and when opened again")
            << false << "open space hit miss tick runout space hit close open space" << "- - - - - - - - - - -" << false;
        QTest::newRow("shown again from the menu: at once, at time-up and at the next START")
            << false << "open space show hit runout space" << "- - + + + +" << true;
        QTest::newRow("hidden from the menu during a run: for good")
            << true << "open space hide hit runout space close open space" << "- + - - - - - - -" << false;
    }

    void drill_finger_names_follow_the_kept_choice()
    {
        QFETCH(bool, keptShown);
        QFETCH(QString, steps);
        hoshi::Preferences start;
        start.fingerNamesShown = keptShown;
        hoshi::testing::KeptPreferences kept(start);
        auto window = std::make_unique<DrillWindow>(hoshi::alphabetDrillProfile(), m_services, m_services,
                                                    std::make_unique<ScriptedRandom>(), nullptr, &kept);
        child<QTimer>(*window, "Timer1")->setInterval(std::chrono::hours(1));
        QStringList names;
        for (const QString &step : steps.split(u' ')) {
            if (step == "open")
                window->open();
            else if (step == "space")
                QTest::keyClick(window.get(), Qt::Key_Space);
            else if (step == "hit")
                typeShownKey(*window);
            else if (step == "miss")
                QTest::keyClick(window.get(), text(*window, "lblKey") == "Q" ? 'w' : 'q');
            else if (step == "tick" || step == "runout")
                for (int i = step == "tick" ? 1 : window->engine().jikan(); i > 0; --i)
                    window->Timer1_Timer();
            else if (step == "show" || step == "hide")
                trigger(*window, step == "show" ? "mnuHintAri" : "mnuHintNashi");
            else if (step == "close")
                window->close();
            names << (child<QLabel>(*window, "lblYubi")->isVisibleTo(window.get()) ? "+" : "-");
        }
        QTEST(names.join(u' '), "names");
        QTEST(kept.preferences().fingerNamesShown, "keptAfter");
    }

    void drill_opens_ready_with_profile_look_data()
    {
        QTest::addColumn<bool>("numbers");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("endCaption");
        QTest::addColumn<QColor>("bar");
        QTest::addColumn<QString>("drawn");
        QTest::newRow("alphabet") << false << "frmYubiren2" << "アルファベットに挑戦" << "終了(&X )" << QColor(255, 0, 0)
                                  << "TIME 30 ○ 0 × 0 key(F) finger(左手　人さし指) START bar 100%";
        QTest::newRow("numbers") << true << "frmYubiren3" << "数字と記号も登場" << "終了(&X)" << QColor(0, 0, 255)
                                 << "TIME 60 ○ 0 × 0 key(F) finger(左手　人さし指) START bar 100%";
    }

    void drill_opens_ready_with_profile_look()
    {
        // State: a new window. Action: open it.
        QFETCH(bool, numbers);
        QFETCH(QColor, bar);
        auto window = drill(numbers ? hoshi::numbersAndSymbolsDrillProfile() : hoshi::alphabetDrillProfile(), {0});
        window->open();
        // Expected: the profile's names, texts and colours; ready, the target hidden, silent.
        QTEST(window->objectName(), "name");
        QTEST(window->windowTitle(), "title");
        QTEST(child<QAction>(*window, "mnuEnd")->text(), "endCaption");
        QTEST(drawn(*window), "drawn");
        QCOMPARE(child(*window, "shpScale")->palette().color(QPalette::Window), bar);
        QCOMPARE(child(*window, "shpBox")->palette().color(QPalette::Window), QColor(Qt::white));
        QCOMPARE(window->centralWidget()->palette().color(QPalette::Window), QColor(0, 0, 128));
        QCOMPARE(child(*window, "Frame1")->palette().color(QPalette::Window), QColor(Qt::black));
        QVERIFY(child(*window, "lblKey")->parentWidget() == child(*window, "Frame1"));
        QCOMPARE(child(*window, "cmdStart")->font().pointSizeF(), 36.0);
        QVERIFY(m_services.announcements().isEmpty());
        QCOMPARE(m_services.hints(), QStringList{hoshi::DrillEngine::startHint()});
    }

    void drill_counts_stand_in_rows_beside_the_panel_data()
    {
        QTest::addColumn<bool>("numbers");
        QTest::newRow("alphabet") << false;
        QTest::newRow("numbers") << true;
    }

    void drill_counts_stand_in_rows_beside_the_panel()
    {
        // State: a drill window opened and shown, then resized: the layout follows the window.
        QFETCH(bool, numbers);
        auto window = drill(numbers ? hoshi::numbersAndSymbolsDrillProfile() : hoshi::alphabetDrillProfile());
        window->open();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        for (const QSize size : {window->size(), QSize(1000, 700)}) {
            window->resize(size);
            QTRY_COMPARE(window->size(), size);
            const QRect panel = child(*window, "Frame1")->geometry();
            const QRect time = child(*window, "lblTime")->geometry();
            const QRect maru = child(*window, "lblMaru")->geometry();
            const QRect batsu = child(*window, "lblBatsu")->geometry();
            const QRect score = child(*window, "lblTokuten")->geometry();
            const QRect start = child(*window, "cmdStart")->geometry();
            // Expected: TIME, ○, × and the score top to bottom, each on a row of its own; ○ just
            // above ×, in one column; all to the right of the black panel, START below it.
            const QRect rows[]{time, maru, batsu, score};
            const char *names[]{"TIME", "○", "×", "score"};
            for (std::size_t i = 0; i + 1 < std::size(rows); ++i) {
                const QString order = QStringLiteral("%1 above %2").arg(QString::fromUtf8(names[i]),
                                                                        QString::fromUtf8(names[i + 1]));
                QVERIFY2(rows[i].bottom() < rows[i + 1].top(), qPrintable(order));
                QVERIFY2(!rows[i].intersects(rows[i + 1]), qPrintable(order));
            }
            QCOMPARE(maru.left(), batsu.left());
            QCOMPARE(maru.height(), batsu.height());
            for (const QRect &row : rows)
                QVERIFY(row.left() > panel.right());
            QVERIFY(time.top() >= panel.top());
            QVERIFY(start.top() > panel.bottom());
            QVERIFY(start.right() <= panel.right());
        }
    }

    void drill_runs_data()
    {
        QTest::addColumn<bool>("numbers");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("effects");
        QTest::addColumn<QString>("drawn");
        const auto row = [](const char *name, const char *script, const QStringList &effects, const char *drawn,
                            bool numbers = false) {
            QTest::newRow(name) << numbers << QString::fromUtf8(script) << effects << QString::fromUtf8(drawn);
        };
        row("Space starts: counts 0, the target shown and said, START off, the timer on", "space", {"G"},
            "TIME 30 ○ 0 × 0 key[G] finger[左手　人さし指] timer bar 100%");
        row("a hit; a miss by Enter; keys without a character do nothing", "space key:g return left f5 shift",
            {"G", "M", "M", ding()}, "TIME 30 ○ 1 × 1 key[M] finger[右手　人さし指] timer bar 100%");
        row("START by mouse; Space in a run is a miss", "click space", {"G", "G", ding()},
            "TIME 30 ○ 0 × 1 key[G] finger[左手　人さし指] timer bar 100%");
        row("a tick takes its share of the bar", "space tick", {"G"},
            "TIME 29 ○ 0 × 0 key[G] finger[左手　人さし指] timer bar 97%");
        row("time-up: the prompt, the score, RETRY, the timer off, an empty bar",
            "space target key:1 key:2 clear tick:30", {"得点 -1"},
            "TIME 0 ○ 1 × 2 key[] finger[Spaceでスタート] 得点 -1 RETRY bar 0%");
        row("after time-up typing does nothing; Space starts afresh with a full bar", "space tick:30 clear key:a space",
            {"M"}, "TIME 30 ○ 0 × 0 key[M] finger[右手　人さし指] timer bar 100%");
        row("a resize mid-run fills the new box until the next tick", "space tick:3 resize", {"G"},
            "TIME 27 ○ 0 × 0 key[G] finger[左手　人さし指] timer bar 100%");
        row("... which takes the time left of the new box", "space tick:3 resize tick", {"G"},
            "TIME 26 ○ 0 × 0 key[G] finger[左手　人さし指] timer bar 87%");
        row("Escape mid-run closes the window and stops the timer", "space key:q tick:5 escape", {"G", "G", ding()},
            "TIME 55 ○ 0 × 1 key[G] finger[左手　人さし指] bar 92% closed", true);
        row("reopening is fresh and silent", "space key:w tick:5 escape clear open", {},
            "TIME 60 ○ 0 × 0 key(M) finger(右手　人さし指) START bar 100%", true);
    }

    void drill_runs()
    {
        // State: a drill window opened; its draws give rows 1 (F, at opening), 4 (G), 9 (M), then 4, 9 again.
        QFETCH(bool, numbers);
        QFETCH(QString, script);
        auto window = drill(numbers ? hoshi::numbersAndSymbolsDrillProfile() : hoshi::alphabetDrillProfile(),
                            {0, 3, 8, 3, 8});
        window->open();
        // Action: the steps.
        for (const QString &step : script.split(u' ')) {
            const QString word = step.section(u':', 0, 0);
            const std::map<QString, Qt::Key> keys{{"space", Qt::Key_Space}, {"return", Qt::Key_Return},
                                                  {"escape", Qt::Key_Escape}, {"left", Qt::Key_Left},
                                                  {"f5", Qt::Key_F5}, {"shift", Qt::Key_Shift}};
            if (keys.contains(word))
                QTest::keyClick(window.get(), keys.at(word));
            else if (word == "key")
                QTest::keyClick(window.get(), step.at(4).toLatin1());
            else if (word == "target")
                typeShownKey(*window);
            else if (word == "click")
                QTest::mouseClick(child(*window, "cmdStart"), Qt::LeftButton);
            else if (word == "tick")
                for (int i = qMax(step.section(u':', 1).toInt(), 1); i > 0; --i)
                    window->Timer1_Timer();
            else if (word == "resize") {
                window->resize(window->width() / 2, window->height() / 2);
                QCoreApplication::processEvents();
            }
            else if (word == "open")
                window->open();
            else if (word == "clear")
                m_services.clear();
        }
        // Expected: these effects in this order (since the last clear), and this on show.
        QTEST(effectTexts(m_services), "effects");
        QTEST(drawn(*window), "drawn");
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
        auto window = std::make_unique<DrillWindow>(profile, m_services, m_services,
                                                    std::make_unique<ScriptedRandom>(std::move(rows)));
        // The tests tick by hand: the real second must not pass on a slow (sanitized, loaded) run.
        child<QTimer>(*window, "Timer1")->setInterval(std::chrono::hours(1));
        return window;
    }

    RecordingServices m_services;
};

QTEST_MAIN(TestFingerWindows)
#include "test_finger_windows.moc"
