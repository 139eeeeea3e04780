// SPDX-License-Identifier: GPL-3.0-or-later
// The finger guide window and the drill windows, offscreen, driven by keys:
// what they show and say, how keys, menus and the timer reach the behaviour.
#include "effect_text.h"
#include "fingers/drill_tables.h"
#include "fingers/drill_window.h"
#include "fingers/finger_guide_window.h"
#include "support/fakes.h"
#include "support/screen_reader.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <functional>
#include <map>

using hoshi::DrillWindow;
using hoshi::FingerGuideWindow;
using namespace hoshi::testing;

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

void trigger(const QWidget &window, const char *action)
{
    child<QAction>(window, action)->trigger();
}

void typeShownKey(QWidget &window)
{
    QTest::keyClick(&window, text(window, "lblKey").toLower().at(0).toLatin1());
}

// What a screen reader reads of the named controls: "(hidden)" for one left out as not shown.
QString heard(const QWidget &window, std::initializer_list<const char *> names)
{
    QStringList out;
    for (const char *name : names) {
        QAccessibleInterface *iface = accessible(child(window, name));
        out << (iface->state().invisible ? QStringLiteral("(hidden)") : iface->text(QAccessible::Name));
    }
    return out.join(u'|');
}

// What a drill window shows, in one line: key(...) and finger(...) are hidden,
// START or RETRY is there when enabled, the bar is its share of the box.
QString drawn(const DrillWindow &window)
{
    const auto label = [&window](const char *prefix, const char *name) {
        const QLabel *widget = child<QLabel>(window, name);
        return QString::fromLatin1(prefix)
            + (widget->isVisibleTo(&window) ? u'[' + widget->text() + u']' : u'(' + widget->text() + u')');
    };
    const auto *start = child<QPushButton>(window, "cmdStart");
    QString out = QStringLiteral("%1 %2 %3 %4 %5").arg(text(window, "lblTime"), text(window, "lblMaru"),
                                                       text(window, "lblBatsu"), label("key", "lblKey"),
                                                       label("finger", "lblYubi"));
    out += child(window, "lblTokuten")->isVisible() ? u' ' + text(window, "lblTokuten") : QString();
    out += start->isEnabled() ? u' ' + start->text() : QString();
    out += child<QTimer>(window, "Timer1")->isActive() ? QStringLiteral(" timer") : QString();
    const double share = double(child(window, "shpScale")->width()) / child(window, "shpBox")->width();
    out += QStringLiteral(" bar %1%").arg(qRound(100 * share));
    return out + (window.isVisible() ? QString() : QStringLiteral(" closed"));
}

} // namespace

class TestFingerWindows : public QObject {
    Q_OBJECT

private slots:
    void init() { m_services.clear(); }

    void finger_guide_is_walked_by_characters_and_its_menu()
    {
        // State: a new window opened. Expected: F under its finger label, its reading said twice.
        FingerGuideWindow window(m_services, m_services);
        window.open();
        QCOMPARE(heard(window, {"lblKey", "lblYubiHyoji", "lblYubi"}),
                 QStringLiteral("F|ひだり\u3000人さし指|ひだりひとさしゆびえふ"));
        QCOMPARE(m_services.announcements(), QStringList(2, QStringLiteral("ひだりひとさしゆびえふ")));
        // Action: keys without a character, then f, g and Space. Expected: step 2; R and the cue for each wrong key.
        m_services.clear();
        for (Qt::Key key : {Qt::Key_Left, Qt::Key_F1, Qt::Key_Shift, Qt::Key_F, Qt::Key_G, Qt::Key_Space})
            QTest::keyClick(&window, key);
        QCOMPARE(effectTexts(m_services), (QStringList{"ひだりひとさしゆびＲ", "R", ding(), "R", ding()}));
        // Action: finger names hidden, r typed. Expected: the label left out, the walk goes on; shown again.
        trigger(window, "mnuHintoNashi");
        QTest::keyClick(&window, 'r');
        QCOMPARE(heard(window, {"lblKey", "lblYubiHyoji", "lblYubi"}), QStringLiteral("V|(hidden)|ひだりひとさしゆびぶい"));
        trigger(window, "mnuHintoAri");
        QCOMPARE(heard(window, {"lblYubiHyoji"}), QStringLiteral("ひだり\u3000人さし指"));
        // Action: on to step 31 ("1"), then 1 to 0 on the numeric pad. Expected: each a right key.
        for (int i = 0; i < 43 && window.guide().currentStep() != 31; ++i)
            typeShownKey(window);
        m_services.clear();
        for (char digit : QByteArrayLiteral("1234567890"))
            QTest::keyClick(&window, digit, Qt::KeypadModifier);
        QCOMPARE(text(window, "lblKey"), QStringLiteral("-"));
        QCOMPARE(m_services.cueCount(hoshi::Cue::Ding), 0);
        // Action: hide again, Escape, reopen. Expected: closed without a cue; step 1 with names.
        trigger(window, "mnuHintoNashi");
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(!window.isVisible());
        QCOMPARE(m_services.cueCount(hoshi::Cue::Ding), 0);
        window.open();
        QCOMPARE(heard(window, {"lblKey", "lblYubiHyoji"}), QStringLiteral("F|ひだり\u3000人さし指"));
        QCOMPARE(windowsInside(window), QStringList());
    }

    void drill_finger_names_follow_the_kept_choice_data()
    {
        QTest::addColumn<bool>("keptShown");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("names"); // after each step: + shown, - hidden
        QTest::addColumn<bool>("keptAfter");
        QTest::newRow("hidden by choice: at START, every later step, RETRY and when opened again")
            << false << "space target key:q tick tick:30 space target close open space" << "- - - - - - - - - -" << false;
        QTest::newRow("shown again from the menu: at once, at time-up and at the next START")
            << false << "space show target tick:30 space" << "- + + + +" << true;
        QTest::newRow("hidden from the menu during a run: for good")
            << true << "space hide target tick:30 space close open space" << "+ - - - - - - -" << false;
    }

    void drill_finger_names_follow_the_kept_choice()
    {
        QFETCH(bool, keptShown);
        QFETCH(QString, script);
        hoshi::Preferences start;
        start.fingerNamesShown = keptShown;
        KeptPreferences kept(start);
        auto window = drill(hoshi::alphabetDrillProfile(), {}, &kept);
        window->open();
        QStringList names;
        play(*window, script, [&] { names << (child(*window, "lblYubi")->isVisibleTo(window.get()) ? "+" : "-"); });
        QTEST(names.join(u' '), "names");
        QTEST(kept.preferences().fingerNamesShown, "keptAfter");
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
        row("opened: ready, the target hidden, nothing said", "", {},
            "TIME 30 ○ 0 × 0 key(F) finger(左手　人さし指) START bar 100%");
        row("typing before Space does nothing; Space starts: counts 0, the target shown and said, START off, "
            "the timer on", "key:f key:g space", {"G"},
            "TIME 30 ○ 0 × 0 key[G] finger[左手　人さし指] timer bar 100%");
        row("a hit; a miss by Enter; keys without a character do nothing", "space key:g return left f5 shift",
            {"G", "M", "M", ding()}, "TIME 30 ○ 1 × 1 key[M] finger[右手　人さし指] timer bar 100%");
        row("START by mouse; Space in a run is a miss", "click space", {"G", "G", ding()},
            "TIME 30 ○ 0 × 1 key[G] finger[左手　人さし指] timer bar 100%");
        row("a held key: each repeat judged", "space repeat:q", {"G", "G", ding(), "G", ding(), "G", ding()},
            "TIME 30 ○ 0 × 3 key[G] finger[左手　人さし指] timer bar 100%");
        row("time-up: the prompt, the score, RETRY, the timer off, an empty bar; a late tick changes nothing",
            "space target key:1 key:2 clear tick:31", {"得点 -1"},
            "TIME 0 ○ 1 × 2 key[] finger[Spaceでスタート] 得点 -1 RETRY bar 0%");
        row("after time-up typing does nothing; Space starts afresh with a full bar", "space tick:30 clear key:a space",
            {"M"}, "TIME 30 ○ 0 × 0 key[M] finger[右手　人さし指] timer bar 100%");
        row("a resize mid-run: the next tick takes the time left of the new box", "space tick:3 resize tick", {"G"},
            "TIME 26 ○ 0 × 0 key[G] finger[左手　人さし指] timer bar 87%");
        row("Escape mid-run closes the window and stops the timer", "space key:q tick:5 escape", {"G", "G", ding()},
            "TIME 55 ○ 0 × 1 key[G] finger[左手　人さし指] bar 92% closed", true);
        row("Escape before a run closes too", "escape", {}, "TIME 30 ○ 0 × 0 key(F) finger(左手　人さし指) START bar 100% closed");
        row("and after time-up", "space tick:30 clear escape", {}, "TIME 0 ○ 0 × 0 key[] finger[Spaceでスタート] RETRY bar 0% closed");
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
        play(*window, script);
        // Expected: these effects in this order (since the last clear), and this on show.
        QTEST(effectTexts(m_services), "effects");
        QTEST(drawn(*window), "drawn");
    }

private:
    // A drill window with scripted draws (0-based rows, then a seeded fallback).
    std::unique_ptr<DrillWindow> drill(const hoshi::DrillProfile &profile, std::deque<int> rows = {},
                                       KeptPreferences *kept = nullptr)
    {
        auto window = std::make_unique<DrillWindow>(profile, m_services, m_services,
                                                    std::make_unique<ScriptedRandom>(std::move(rows)), nullptr, kept);
        // The tests tick by hand: the real second must not pass on a slow (sanitized, loaded) run.
        child<QTimer>(*window, "Timer1")->setInterval(std::chrono::hours(1));
        return window;
    }

    // Plays the words of a script on the window, calling `after` after each.
    void play(DrillWindow &window, const QString &script, const std::function<void()> &after = [] {})
    {
        const std::map<QString, Qt::Key> keys{{"space", Qt::Key_Space}, {"return", Qt::Key_Return},
                                              {"escape", Qt::Key_Escape}, {"left", Qt::Key_Left},
                                              {"f5", Qt::Key_F5}, {"shift", Qt::Key_Shift}};
        for (const QString &step : script.split(u' ')) {
            const QString word = step.section(u':', 0, 0);
            const QString arg = step.section(u':', 1);
            if (keys.contains(word))
                QTest::keyClick(&window, keys.at(word));
            else if (word == "key")
                QTest::keyClick(&window, arg.at(0).toLatin1());
            else if (word == "repeat") // pressed, then held: two auto-repeats
                for (bool held : {false, true, true}) {
                    QKeyEvent press(QEvent::KeyPress, arg.at(0).toUpper().unicode(), Qt::NoModifier, arg, held);
                    QApplication::sendEvent(&window, &press);
                }
            else if (word == "target")
                typeShownKey(window);
            else if (word == "click")
                QTest::mouseClick(child(window, "cmdStart"), Qt::LeftButton);
            else if (word == "tick")
                for (int i = qMax(arg.toInt(), 1); i > 0; --i)
                    window.Timer1_Timer();
            else if (word == "show" || word == "hide")
                trigger(window, word == "show" ? "mnuHintAri" : "mnuHintNashi");
            else if (word == "resize") {
                window.resize(window.width() / 2, window.height() / 2);
                QCoreApplication::processEvents();
            } else if (word == "open")
                window.open();
            else if (word == "close")
                window.close();
            else if (word == "clear")
                m_services.clear();
            after();
        }
    }

    RecordingServices m_services;
};

QTEST_MAIN(TestFingerWindows)
#include "test_finger_windows.moc"
