// SPDX-License-Identifier: GPL-3.0-or-later
// The real key guide window offscreen: every key reaches it, none closes it
// or moves the focus, Alt and F10 leave the menu bar alone, Alt+F4 (and no other F4) closes it,
// a box of its own keeps its keys, and a double-click on the key text ends the program.
#include "keyguide/key_guide.h"
#include "keyguide/key_guide_window.h"
#include "ui/version_info.h"
#include "support/fakes.h"
#include "support/screen_reader.h"

#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace hoshi;
using hoshi::testing::accessible;
using hoshi::testing::RecordingServices;

namespace {

// A key as the platform delivers it to the native window: shortcut override,
// press and release go the whole way through Qt, menu-bar navigation included.
void realKey(QWidget *window, Qt::Key key, Qt::KeyboardModifiers pressModifiers, const QString &text = {})
{
    QTest::simulateEvent(window->windowHandle(), true, key, pressModifiers, text, false);
    QTest::simulateEvent(window->windowHandle(), false, key, Qt::NoModifier, text, false);
}

} // namespace

class TestKeyGuideWindow : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_services.clear();
        m_window = std::make_unique<KeyGuideWindow>(m_services);
        m_window->open();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void cleanup() { m_window.reset(); }

    void looks_as_designed()
    {
        // State: just opened. Expected: the captions, fonts and colours; nothing announced.
        QCOMPARE(m_window->windowTitle(), QStringLiteral("押せばわかる"));
        QCOMPARE(label("lblKey")->text(), KeyGuide::initialKeyText());
        QCOMPARE(label("lblYomi")->text(), QString());
        QCOMPARE(label("Label2")->text(), QStringLiteral("Alt＋F4で終了"));
        const std::tuple<const char *, double, QColor> looks[]{{"lblKey", 129.75, QColor(255, 255, 255)},
                                                               {"lblYomi", 90.0, QColor(255, 255, 0)},
                                                               {"Label2", 60.0, QColor(192, 255, 255)}};
        for (const auto &[name, points, colour] : looks) {
            QCOMPARE(label(name)->font().pointSizeF(), points);
            QCOMPARE(label(name)->palette().color(QPalette::WindowText), colour);
        }
        QVERIFY(label("Label2")->alignment() & Qt::AlignRight);
        QCOMPARE(m_window->centralWidget()->palette().color(QPalette::Window), QColor(0, 0, 0));
        QCOMPARE(m_window->findChild<QAction *>(QStringLiteral("mnuVersion"))->text(), QStringLiteral("バージョン"));
        QVERIFY(m_services.announcements().isEmpty());
        QCOMPARE(m_services.hints(), QStringList{QStringLiteral("キーをおしてね")});
    }

    void keys_are_shown_and_do_not_close_or_move_focus_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("reading");
        QTest::newRow("letter") << int(Qt::Key_A) << 0 << "ａ" << "Ａ";
        QTest::newRow("Tab") << int(Qt::Key_Tab) << 0 << "Tab" << "タブ";
        QTest::newRow("Shift+Tab: Shift") << int(Qt::Key_Backtab) << int(Qt::ShiftModifier) << "Shift" << "シフト";
        QTest::newRow("Escape") << int(Qt::Key_Escape) << 0 << "Escape" << "エスケープ";
        QTest::newRow("Enter") << int(Qt::Key_Return) << 0 << "Enter" << "エンター";
        QTest::newRow("Space") << int(Qt::Key_Space) << 0 << "Space" << "スペース";
        QTest::newRow("Down") << int(Qt::Key_Down) << 0 << "↓" << "下矢印";
        QTest::newRow("F1") << int(Qt::Key_F1) << 0 << "Ｆ１" << "ﾌｧﾝｸｼｮﾝ1";
        QTest::newRow("pad 7") << int(Qt::Key_7) << int(Qt::KeypadModifier) << "７" << "なな";
        QTest::newRow("Print") << int(Qt::Key_Print) << 0 << "Print Screen" << "ぷりんとすくりーん";
    }

    void keys_are_shown_and_do_not_close_or_move_focus()
    {
        // State: open. Action: the key.
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, display);
        QFETCH(QString, reading);
        QWidget *focusBefore = QApplication::focusWidget();
        QTest::keyClick(m_window.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        // Expected: shown and announced; still open, the focus where it was.
        QCOMPARE(label("lblKey")->text(), display);
        QCOMPARE(label("lblYomi")->text(), reading);
        const QStringList heard = m_services.announcements();
        QCOMPARE(heard.mid(heard.size() - 2), QStringList({display, reading}));
        QVERIFY(m_window->isVisible());
        QCOMPARE(QApplication::focusWidget(), focusBefore);
    }

    void alt_and_f10_leave_the_menu_bar_alone_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("reading");
        QTest::newRow("Alt") << int(Qt::Key_Alt) << int(Qt::AltModifier) << "オルト";
        QTest::newRow("F10") << int(Qt::Key_F10) << 0 << "ﾌｧﾝｸｼｮﾝ10";
        QTest::newRow("Windows key") << int(Qt::Key_Meta) << int(Qt::MetaModifier) << "ｳｨﾝﾄﾞｰｽﾞｷｰ";
    }

    void alt_and_f10_leave_the_menu_bar_alone()
    {
        // State: just opened, armed. Action: the key through Qt's shortcut check, then a letter.
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, reading);
        realKey(m_window.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        // Expected: the re-press comes back as a key-down of its own and re-arms; the letter is named.
        QTRY_COMPARE(m_services.announcements().count(reading), 2);
        QVERIFY(m_window->guideState().injectArmed);
        realKey(m_window.get(), Qt::Key_B, Qt::NoModifier, QStringLiteral("b"));
        QCOMPARE(label("lblKey")->text(), QStringLiteral("ｂ"));
        QCOMPARE(m_services.announcements().last(), QStringLiteral("Ｂ"));
        QVERIFY(!m_window->menuBar()->hasFocus());
    }

    void auto_repeat_is_announced_each_time()
    {
        for (int i = 0; i < 3; ++i) {
            QKeyEvent held(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, QString(), i > 0);
            QApplication::sendEvent(m_window.get(), &held);
        }
        QCOMPARE(m_services.announcements().count(QStringLiteral("右矢印")), 3);
    }

    void alt_f4_closes_the_window_only()
    {
        // State: open, armed. Action: Alt+F4 (Alt's re-press is queued).
        QSignalSpy endProgram(m_window.get(), &ModeWindow::endProgramRequested);
        QTest::keyClick(m_window.get(), Qt::Key_F4, Qt::AltModifier);
        // Expected: closed, the program goes on, and the queued re-press says nothing.
        QVERIFY(!m_window->isVisible());
        const qsizetype announcedAtClose = m_services.announcements().size();
        QCoreApplication::processEvents();
        QCOMPARE(m_services.announcements().size(), announcedAtClose);
        QCOMPARE(endProgram.count(), 0);
    }

    void f4_without_alt_is_only_named_data()
    {
        // A held modifier is what the guide names, as with any key.
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("display");
        QTest::newRow("F4") << 0 << "Ｆ４";
        QTest::newRow("Shift+F4") << int(Qt::ShiftModifier) << "Shift";
        QTest::newRow("Ctrl+F4") << int(Qt::ControlModifier) << "Ctrl";
        QTest::newRow("Ctrl+Shift+F4") << int(Qt::ControlModifier | Qt::ShiftModifier) << "Ctrl";
        QTest::newRow("Windows key+F4: the Windows key counts for nothing") << int(Qt::MetaModifier) << "Ｆ４";
    }

    void f4_without_alt_is_only_named()
    {
        // State: open. Action: F4 held with anything but Alt.
        QFETCH(int, modifiers);
        QFETCH(QString, display);
        QSignalSpy endProgram(m_window.get(), &ModeWindow::endProgramRequested);
        QTest::keyClick(m_window.get(), Qt::Key_F4, Qt::KeyboardModifiers(modifiers));
        // Expected: shown and announced like any key; the window stays open, the program goes on.
        QCOMPARE(label("lblKey")->text(), display);
        QVERIFY(m_services.announcements().contains(display));
        QVERIFY(m_window->isVisible());
        QCOMPARE(endProgram.count(), 0);
        // Action: Alt+F4 after it. Expected: that one closes it.
        QTest::keyClick(m_window.get(), Qt::Key_F4, Qt::AltModifier);
        QVERIFY(!m_window->isVisible());
    }

    void a_box_of_its_own_keeps_its_keys_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Escape") << int(Qt::Key_Escape);
        QTest::newRow("Space on its button") << int(Qt::Key_Space);
    }

    void a_box_of_its_own_keeps_its_keys()
    {
        // State: the version box open over the guide. Action: the key, pressed in the box.
        QFETCH(int, key);
        bool pressed = false;
        bool closedByKey = false;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            // Once the box holds the keyboard (Space goes to its focused button).
            const QWidget *focus = QApplication::focusWidget();
            if (!box || pressed || !focus || focus->window() != box)
                return;
            pressed = true;
            realKey(box, Qt::Key(key), Qt::NoModifier, key == Qt::Key_Space ? QStringLiteral(" ") : QString());
            closedByKey = !box->isVisible();
            box->reject();
        });
        poll.start(10);
        m_window->findChild<QAction *>(QStringLiteral("mnuVersion"))->trigger();
        // Expected: the box closed by it; the guide named nothing.
        QVERIFY(pressed);
        QVERIFY(closedByKey);
        QCOMPARE(label("lblKey")->text(), KeyGuide::initialKeyText());
    }

    void reopening_loads_again()
    {
        // State: F10 pressed (its re-press posted), A shown, then closed. Action: reopen.
        realKey(m_window.get(), Qt::Key_F10, Qt::NoModifier);
        QTest::keyClick(m_window.get(), Qt::Key_A);
        m_window->close();
        QTest::qWait(0); // let the posted F10 re-press reach the hidden window
        m_window->open();
        // Expected: the prompt again, armed.
        QCOMPARE(label("lblKey")->text(), KeyGuide::initialKeyText());
        QCOMPARE(label("lblYomi")->text(), QString());
        QVERIFY(m_window->guideState().injectArmed);
    }

    void double_click_on_key_text_ends_the_program()
    {
        QSignalSpy endProgram(m_window.get(), &ModeWindow::endProgramRequested);
        QTest::mouseDClick(label("lblKey"), Qt::LeftButton);
        QCOMPARE(endProgram.count(), 1);
        QVERIFY(!m_window->isVisible());
    }

    void a_screen_reader_reads_the_key_its_reading_and_the_version_box()
    {
        // State: open. Action: A. Expected: no panel taken for a window; the labels read as they stand.
        QCOMPARE(hoshi::testing::windowsInside(*m_window), QStringList());
        QTest::keyClick(m_window.get(), Qt::Key_A);
        QCOMPARE(QStringList({heard("lblKey"), heard("lblYomi"), heard("Label2")}),
                 QStringList({"ａ", "Ａ", "Alt＋F4で終了"}));
        // Action: the version entry. Expected: its text announced once, with CR LF, just before
        // the box opened, and readable in the box.
        const auto box = hoshi::testing::versionBoxOf(*m_window, m_services);
        QCOMPARE(box.saidBefore, QStringList{QStringLiteral("announce ") + versionMessage()});
        QCOMPARE(box.accessibleText, versionMessage().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        QCOMPARE(hoshi::testing::saidTexts(m_services), box.saidBefore);
        // ...and once it closed, the window it went back to, by the voice alone.
        QCOMPARE(m_services.hints(), QStringList{QStringLiteral("押せばわかる")});
    }

    void the_key_and_its_reading_are_as_large_as_their_text()
    {
        // Action: Page Up. Expected: the key and its reading resized to their new texts, exactly.
        QTest::keyClick(m_window.get(), Qt::Key_PageUp);
        QCOMPARE(label("lblKey")->size(), label("lblKey")->sizeHint());
        QCOMPARE(label("lblYomi")->size(), label("lblYomi")->sizeHint());
    }

private:
    QLabel *label(const char *name) const { return m_window->findChild<QLabel *>(QString::fromLatin1(name)); }
    QString heard(const char *name) const { return accessible(label(name))->text(QAccessible::Name); }

    RecordingServices m_services;
    std::unique_ptr<KeyGuideWindow> m_window;
};

QTEST_MAIN(TestKeyGuideWindow)
#include "test_key_guide_window.moc"
