// SPDX-License-Identifier: GPL-3.0-or-later
// The real key guide window offscreen: every key reaches it, none closes it
// or moves the focus, Alt and F10 leave the menu bar alone, Alt+F4 (and no other F4) closes it,
// a box of its own keeps its keys, and a double-click on the key text ends the program.
#include "keyguide/key_guide.h"
#include "keyguide/key_guide_window.h"
#include "support/fakes.h"
#include "support/screen_reader.h"

#include <QApplication>
#include <QKeyEvent>
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

    void keys_are_named_and_do_not_close_or_move_focus_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("repeats"); // auto-repeats after the press, while held
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("reading");
        const int shift = Qt::ShiftModifier;
        const int ctrl = Qt::ControlModifier;
        const std::tuple<const char *, int, int, int, const char *, const char *> rows[]{
            {"letter", Qt::Key_A, 0, 0, "ａ", "Ａ"},
            {"Shift+letter: the capital, read small", Qt::Key_A, shift, 0, "Ａ", "ａ"},
            {"Ctrl+letter: Ctrl", Qt::Key_A, ctrl, 0, "Ctrl", "コントロール"},
            {"Tab", Qt::Key_Tab, 0, 0, "Tab", "タブ"},
            {"Shift+Tab: Shift", Qt::Key_Backtab, shift, 0, "Shift", "シフト"},
            {"Escape", Qt::Key_Escape, 0, 0, "Escape", "エスケープ"},
            {"pad 7 reads as the main row", Qt::Key_7, int(Qt::KeypadModifier), 0, "７", "なな"},
            {"muhenkan", Qt::Key_Muhenkan, 0, 0, "無変換", "無変換"},
            {"hankaku/zenkaku", Qt::Key_Zenkaku_Hankaku, 0, 0, "半角/全角", "半角/全角"},
            {"yen key", Qt::Key_yen, 0, 0, "\\", "円マーク"},
            {"Shift+yen", Qt::Key_yen, shift, 0, "|", "縦棒"},
            {"held right arrow: every repeat", Qt::Key_Right, 0, 2, "→", "右矢印"},
            {"a key with no name first: the prompt again", Qt::Key_CapsLock, 0, 0, "", ""},
            // A held modifier is what the guide names; F4 closes only with Alt.
            {"F4", Qt::Key_F4, 0, 0, "Ｆ４", "ﾌｧﾝｸｼｮﾝ4"},
            {"Ctrl+F4", Qt::Key_F4, ctrl, 0, "Ctrl", "コントロール"},
            {"Windows key+F4: the Windows key counts for nothing", Qt::Key_F4, int(Qt::MetaModifier), 0, "Ｆ４",
             "ﾌｧﾝｸｼｮﾝ4"}};
        for (const auto &[name, key, modifiers, repeats, display, reading] : rows)
            QTest::newRow(name) << key << modifiers << repeats << QString::fromUtf8(display) << QString::fromUtf8(reading);
    }

    void keys_are_named_and_do_not_close_or_move_focus()
    {
        // State: open. Action: the key, pressed and held.
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, repeats);
        QFETCH(QString, display);
        QFETCH(QString, reading);
        if (display.isEmpty())
            display = KeyGuide::initialKeyText();
        QSignalSpy endProgram(m_window.get(), &ModeWindow::endProgramRequested);
        QWidget *focusBefore = QApplication::focusWidget();
        // (A modifier is pressed before the key, as the keyboard sends it.)
        QTest::sendKeyEvent(QTest::Press, m_window.get(), Qt::Key(key), QString(), Qt::KeyboardModifiers(modifiers));
        for (int i = 0; i < repeats; ++i) {
            QKeyEvent held(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), QString(), true);
            QApplication::sendEvent(m_window.get(), &held);
        }
        QTest::sendKeyEvent(QTest::Release, m_window.get(), Qt::Key(key), QString(), Qt::KeyboardModifiers(modifiers));
        // Expected: shown, and the key then its reading announced at each press; still open, the
        // focus where it was, the program going on.
        QCOMPARE(label("lblKey")->text(), display);
        QCOMPARE(label("lblYomi")->text(), reading);
        // Each label sized to what it now shows, before it is drawn again.
        for (const char *name : {"lblKey", "lblYomi"})
            QVERIFY2(label(name)->width() >= label(name)->sizeHint().width(), name);
        QStringList said;
        for (int i = 0; i <= repeats; ++i)
            said << display << reading;
        const QStringList heard = m_services.announcements();
        QCOMPARE(heard.mid(heard.size() - said.size()), said);
        QVERIFY(m_window->isVisible());
        QCOMPARE(QApplication::focusWidget(), focusBefore);
        QCOMPARE(endProgram.count(), 0);
        // Action: Alt+F4 after it. Expected: that one closes it.
        QTest::keyClick(m_window.get(), Qt::Key_F4, Qt::AltModifier);
        QVERIFY(!m_window->isVisible());
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

    void a_screen_reader_reads_the_key_and_its_reading()
    {
        // State: open: silent but for its hint, no panel taken for a window.
        QVERIFY(m_services.announcements().isEmpty());
        QCOMPARE(m_services.hints(), QStringList{QStringLiteral("キーをおしてね")});
        QCOMPARE(hoshi::testing::windowsInside(*m_window), QStringList());
        // Action: A. Expected: the labels read as they stand.
        QTest::keyClick(m_window.get(), Qt::Key_A);
        QCOMPARE(QStringList({heard("lblKey"), heard("lblYomi"), heard("Label2")}),
                 QStringList({"ａ", "Ａ", "Alt＋F4で終了"}));
    }

private:
    QLabel *label(const char *name) const { return m_window->findChild<QLabel *>(QString::fromLatin1(name)); }
    QString heard(const char *name) const { return accessible(label(name))->text(QAccessible::Name); }

    RecordingServices m_services;
    std::unique_ptr<KeyGuideWindow> m_window;
};

QTEST_MAIN(TestKeyGuideWindow)
#include "test_key_guide_window.moc"
