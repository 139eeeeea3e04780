// SPDX-License-Identifier: GPL-3.0-or-later
// The launcher driven offscreen: focus, colours, announcements, opening modes, its title.
#include "app/mode_table.h"
#include "launcher/launcher_entry.h"
#include "launcher/launcher_window.h"
#include "launcher/mode_registry.h"
#include "launcher/title_ticker.h"
#include "ui/mode_window.h"
#include "ui/version_info.h"
#include "support/fakes.h"
#include "support/screen_reader.h"

#include <QApplication>
#include <QLabel>
#include <QTextDocument>
#include <QFocusEvent>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace hoshi;
using hoshi::testing::RecordingServices;

namespace {

// A mode window that counts its loads.
class CountingWindow final : public ModeWindow {
public:
    int loads = 0;

protected:
    void load() override { ++loads; }
};

const QStringList Entries{"１\r\n押せばわかる",     "２\r\nどの指使うの",     "３\r\nｱﾙﾌｧﾍﾞｯﾄに挑戦",
                          "４\r\n記号と数字も登場", "５\r\n応用日本語入力", "６\r\n応用英語入力"};

} // namespace

class LauncherWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_services = std::make_unique<RecordingServices>();
        m_opened.clear();
        // The program's own modes, each opening a window that counts its loads.
        std::vector<Mode> modes;
        for (const ModeEntry &entry : modeTable()) {
            modes.push_back({entry.number, entry.caption, [this, number = entry.number] {
                                 m_opened.append(number);
                                 return std::make_unique<CountingWindow>();
                             }});
        }
        m_modes = std::make_unique<ModeRegistry>(std::move(modes));
        m_launcher = std::make_unique<LauncherWindow>(*m_modes, *m_services);
        m_launcher->show();
        QVERIFY(QTest::qWaitForWindowActive(m_launcher.get()));
        QTRY_VERIFY(!m_services->announcements().isEmpty());
    }
    void cleanup()
    {
        m_launcher.reset();
        m_modes.reset();
    }

    void starts_on_entry_one_and_escape_ends()
    {
        // State: just shown. Expected: entry 1 focused, white on black, announced first; the others
        // yellow on blue; the captions.
        QCOMPARE(m_services->announcements().first(), Entries[0]);
        QVERIFY(m_launcher->entry(1)->hasFocus());
        for (int n = 1; n <= 6; ++n) {
            const QPalette colours = m_launcher->entry(n)->palette();
            QCOMPARE(colours.color(QPalette::Window), n == 1 ? QColor(Qt::black) : QColor(0, 0, 255));
            QCOMPARE(colours.color(QPalette::WindowText), n == 1 ? QColor(Qt::white) : QColor(255, 255, 0));
            QCOMPARE(m_launcher->entry(n)->announcement(), Entries[n - 1]);
            // No text document built for a text never selected: it would delay the first announcement.
            QVERIFY(!m_launcher->entry(n)->findChild<QTextDocument *>());
        }
        // Action: Escape, then the end entry. Expected: each ends the program.
        QSignalSpy ended(m_launcher.get(), &LauncherWindow::endProgramRequested);
        QTest::keyClick(focused(), Qt::Key_Escape);
        m_launcher->findChild<QAction *>(QStringLiteral("mnuEnd"))->trigger();
        QCOMPARE(ended.count(), 2);
    }

    void coming_back_is_announced_but_not_just_after_its_menu()
    {
        // The window activated again after another window had it: entry 1 said again.
        const auto activated = [this](Qt::FocusReason reason = Qt::ActiveWindowFocusReason) {
            QFocusEvent in(QEvent::FocusIn, reason);
            QApplication::sendEvent(m_launcher->entry(1), &in);
        };
        activated();
        m_services->clear();
        activated();
        QCOMPARE(m_services->announcements(), QStringList{Entries[0]});
        // Activated again just after its menu closed: the menu said what it did.
        QMenu *file = m_launcher->menuBar()->actions().first()->menu();
        file->popup(m_launcher->mapToGlobal(QPoint(0, 0)));
        file->hide();
        QCoreApplication::processEvents();
        m_services->clear();
        activated();
        // The menu bar left, giving the focus back to the entry it had.
        activated(Qt::MenuBarFocusReason);
        QVERIFY(m_services->announcements().isEmpty());
    }

    void arrows_move_and_wrap_around_whatever_the_modifiers()
    {
        // Action: Down, Up, Up (wraps to 6), Ctrl+Shift+Down (wraps to 1).
        m_services->clear();
        const std::tuple<Qt::Key, Qt::KeyboardModifiers, int> steps[]{
            {Qt::Key_Down, {}, 2}, {Qt::Key_Up, {}, 1}, {Qt::Key_Up, {}, 6},
            {Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier, 1}};
        for (const auto &[key, modifiers, entry] : steps) {
            QTest::keyClick(focused(), key, modifiers);
            QTRY_VERIFY(m_launcher->entry(entry)->hasFocus());
        }
        // Expected: each entry announced as it gets the focus; the one left turns back to blue.
        QCOMPARE(m_services->announcements(), (QStringList{Entries[1], Entries[0], Entries[5], Entries[0]}));
        QCOMPARE(m_launcher->entry(6)->palette().color(QPalette::Window), QColor(0, 0, 255));
    }

    void digits_enter_and_space_open_modes_a_click_only_focuses()
    {
        // Action: 4, Shift+3, pad 3. Expected: modes 4 and 3 opened; the pad digit opens nothing.
        QTest::keyClick(focused(), Qt::Key_4);
        QTest::keyClick(focused(), Qt::Key_NumberSign, Qt::ShiftModifier);
        QTest::keyClick(focused(), Qt::Key_3, Qt::KeypadModifier);
        QCOMPARE(m_opened, (QList<int>{4, 3}));
        QVERIFY(m_modes->window(4)->isVisible());
        m_modes->window(4)->close();
        m_modes->window(3)->close();
        // Action: a click on entry 5. Expected: focused and announced, nothing opened.
        m_launcher->activateWindow();
        m_services->clear();
        QTest::mouseClick(m_launcher->entry(5), Qt::LeftButton);
        QTRY_VERIFY(m_launcher->entry(5)->hasFocus());
        QCOMPARE(m_services->announcements(), QStringList{Entries[4]});
        QCOMPARE(m_opened, (QList<int>{4, 3}));
        // Action: Enter. Expected: mode 5 made and loaded.
        QTest::keyClick(focused(), Qt::Key_Return);
        QCOMPARE(m_opened, (QList<int>{4, 3, 5}));
        auto *window = static_cast<CountingWindow *>(m_modes->window(5));
        QCOMPARE(window->loads, 1);
        // Action: its digit again while it is open. Expected: brought forward as it is, not loaded afresh.
        m_modes->open(5);
        QCOMPARE(window->loads, 1);
        // Action: closed, back to the launcher, Space. Expected: the same window, loaded again.
        window->close();
        m_launcher->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_launcher.get()));
        QTest::keyClick(focused(), Qt::Key_Space);
        QCOMPARE(m_opened, (QList<int>{4, 3, 5}));
        QCOMPARE(window->loads, 2);
        window->close();
    }

    void a_screen_reader_hears_a_fixed_title_and_the_version_box()
    {
        // Expected: no panel taken for a window; the title's name stays fixed while it scrolls.
        QCOMPARE(hoshi::testing::windowsInside(*m_launcher), QStringList());
        QAccessibleInterface *title = hoshi::testing::accessible(m_launcher->findChild<QLabel *>("lblTitle"));
        const QString start = m_launcher->titleText();
        QTRY_VERIFY_WITH_TIMEOUT(m_launcher->titleText() != start, 2000);
        QCOMPARE(m_launcher->titleText(), start.mid(1) + start.left(1));
        QCOMPARE(rotateTitle(QStringLiteral("😀ab")), QStringLiteral("ab😀")); // never split into halves
        QCOMPARE(title->text(QAccessible::Name), QStringLiteral("ほしのたまご Ver.２"));
        // Action: the version entry. Expected: announced once, with CR LF, just before it opened.
        const auto box = hoshi::testing::versionBoxOf(*m_launcher, *m_services);
        QCOMPARE(box.saidBefore, QStringList{QStringLiteral("announce ") + versionMessage()});
        QVERIFY(versionMessage().startsWith(QStringLiteral("ほしのたまご\r\n\r\nバージョン2.0\r\nCopyright (C) 2026 ")));
        QCOMPARE(box.icon, QMessageBox::Information);
        QVERIFY(box.points >= 16);
        QCOMPARE(box.accessibleText, versionMessage().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        QCOMPARE(hoshi::testing::saidTexts(*m_services), box.saidBefore);
        // Closed: the voice says which window the keyboard is back in, cutting the long reading short.
        QCOMPARE(m_services->hints(), QStringList{QStringLiteral("ほしのたまごいりぐち")});
    }

    void layout_follows_the_client_area()
    {
        // Two columns of three, none overlapping, inside the client area.
        for (const QSize size : {QSize(1000, 800), QSize(120, 90), QSize(5000, 4000)}) {
            m_launcher->resize(size);
            QCoreApplication::processEvents();
            const QRect one = m_launcher->entry(1)->geometry();
            const QRect four = m_launcher->entry(4)->geometry();
            const QRect three = m_launcher->entry(3)->geometry();
            QCOMPARE(one.top(), four.top());
            QVERIFY(four.left() > one.right() || one.width() <= 1);
            QVERIFY(three.top() >= m_launcher->entry(2)->geometry().bottom());
            QVERIFY(three.bottom() <= m_launcher->centralWidget()->height());
        }
    }

    // Runs last: it lets the application's own event loop end.
    void closing_the_launcher_alone_ends_with_the_last_window()
    {
        // State: a mode window open. Action: the window system closes the launcher, then the mode.
        // Expected: the program goes on after the launcher and ends with its last window.
        m_modes->open(2);
        bool modeWindowClosed = false;
        QTimer::singleShot(0, this, [&] {
            m_launcher->close();
            QTimer::singleShot(50, this, [&] {
                modeWindowClosed = true;
                m_modes->window(2)->close();
            });
        });
        QTimer::singleShot(10000, this, [] { QCoreApplication::exit(1); });
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(modeWindowClosed);
    }

private:
    QWidget *focused() const { return QApplication::focusWidget() ? QApplication::focusWidget() : m_launcher.get(); }

    std::unique_ptr<RecordingServices> m_services;
    std::unique_ptr<ModeRegistry> m_modes;
    std::unique_ptr<LauncherWindow> m_launcher;
    QList<int> m_opened;
};

QTEST_MAIN(LauncherWindowTest)
#include "test_launcher_window.moc"
