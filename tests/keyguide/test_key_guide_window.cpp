// SPDX-License-Identifier: GPL-3.0-or-later
// The key guide window offscreen: every key reaches it, none closes it or moves
// the focus, Alt and F10 leave the menu bar alone, only Alt+F4 closes it.
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

// A key the whole way through Qt: shortcut override, press, release, menu-bar navigation.
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
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("reading");
        const std::tuple<const char *, int, int, const char *, const char *> rows[]{
            {"Tab", Qt::Key_Tab, 0, "Tab", "タブ"},
            {"Shift+Tab: Shift", Qt::Key_Backtab, int(Qt::ShiftModifier), "Shift", "シフト"},
            {"Escape", Qt::Key_Escape, 0, "Escape", "エスケープ"},
            {"pad 7 reads as the main row", Qt::Key_7, int(Qt::KeypadModifier), "７", "なな"},
            {"muhenkan", Qt::Key_Muhenkan, 0, "無変換", "無変換"},
            {"henkan", Qt::Key_Henkan, 0, "変換", "へんかん"},
            {"hankaku/zenkaku", Qt::Key_Zenkaku_Hankaku, 0, "半角/全角", "半角/全角"},
            {"yen key", Qt::Key_yen, 0, "\\", "円マーク"},
            {"right arrow", Qt::Key_Right, 0, "→", "右矢印"},
            {"z, the last letter: small shown, capital read", Qt::Key_Z, 0, "ｚ", "Ｚ"},
            {"print screen", Qt::Key_Print, 0, "Print Screen", "ぷりんとすくりーん"},
            {"katakana/hiragana, not Caps Lock", Qt::Key_Hiragana_Katakana, 0, "ｶﾀｶﾅ", "カタカナ"},
            {"Ctrl+Shift+A: no shifted name", Qt::Key_A, int(Qt::ControlModifier | Qt::ShiftModifier), "Ctrl", "コントロール"},
            // A held modifier is what the guide names; F4 closes only with Alt.
            {"Ctrl+F4", Qt::Key_F4, int(Qt::ControlModifier), "Ctrl", "コントロール"},
            {"Windows key+F4: the Windows key counts for nothing", Qt::Key_F4, int(Qt::MetaModifier), "Ｆ４", "ﾌｧﾝｸｼｮﾝ4"}};
        for (const auto &[name, key, modifiers, display, reading] : rows)
            QTest::newRow(name) << key << modifiers << QString::fromUtf8(display) << QString::fromUtf8(reading);
    }

    void keys_are_named_and_do_not_close_or_move_focus()
    {
        // State: open. Action: the key, pressed and held for one auto-repeat.
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, display);
        QFETCH(QString, reading);
        QSignalSpy endProgram(m_window.get(), &ModeWindow::endProgramRequested);
        QWidget *focusBefore = QApplication::focusWidget();
        QTest::sendKeyEvent(QTest::Press, m_window.get(), Qt::Key(key), QString(), Qt::KeyboardModifiers(modifiers));
        QKeyEvent held(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), QString(), true);
        QApplication::sendEvent(m_window.get(), &held);
        QTest::sendKeyEvent(QTest::Release, m_window.get(), Qt::Key(key), QString(), Qt::KeyboardModifiers(modifiers));
        // Expected: shown, each label sized to what it now shows; the key then its reading
        // announced at each press; still open, the focus where it was.
        QCOMPARE(label("lblKey")->text(), display);
        QCOMPARE(label("lblYomi")->text(), reading);
        for (const char *name : {"lblKey", "lblYomi"})
            QVERIFY2(label(name)->width() >= label(name)->sizeHint().width(), name);
        const QStringList heard = m_services.announcements();
        QCOMPARE(heard.mid(heard.size() - 4), (QStringList{display, reading, display, reading}));
        QVERIFY(m_window->isVisible());
        QCOMPARE(QApplication::focusWidget(), focusBefore);
        // Action: Alt+F4 after it (Alt's re-press queued). Expected: closed, the program goes on,
        // and the queued re-press says nothing.
        QTest::keyClick(m_window.get(), Qt::Key_F4, Qt::AltModifier);
        QVERIFY(!m_window->isVisible());
        const qsizetype announcedAtClose = m_services.announcements().size();
        QCoreApplication::processEvents();
        QCOMPARE(m_services.announcements().size(), announcedAtClose);
        QCOMPARE(endProgram.count(), 0);
    }

    void alt_f10_and_the_windows_key_leave_the_menu_bar_alone()
    {
        const std::tuple<Qt::Key, Qt::KeyboardModifiers, const char *> rows[]{
            {Qt::Key_Alt, Qt::AltModifier, "オルト"}, {Qt::Key_F10, {}, "ﾌｧﾝｸｼｮﾝ10"}, {Qt::Key_Meta, Qt::MetaModifier, "ｳｨﾝﾄﾞｰｽﾞｷｰ"}};
        for (const auto &[key, modifiers, reading] : rows) {
            // State: just opened, armed. Action: the key through Qt's shortcut check, then a letter.
            init();
            realKey(m_window.get(), key, modifiers);
            // Expected: the re-press comes back as a key-down of its own and re-arms; the letter is named.
            QTRY_COMPARE(m_services.announcements().count(QString::fromUtf8(reading)), 2);
            QVERIFY(m_window->guideState().injectArmed);
            realKey(m_window.get(), Qt::Key_B, Qt::NoModifier, QStringLiteral("b"));
            QCOMPARE(label("lblKey")->text(), QStringLiteral("ｂ"));
            QCOMPARE(m_services.announcements().last(), QStringLiteral("Ｂ"));
            QVERIFY(!m_window->menuBar()->hasFocus());
        }
    }

    void a_box_of_its_own_keeps_its_keys()
    {
        // State: the version box open over the guide. Action: Enter, pressed in the box.
        bool closedByKey = false;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || !QApplication::focusWidget() || QApplication::focusWidget()->window() != box)
                return;
            poll.stop();
            realKey(box, Qt::Key_Return, Qt::NoModifier);
            closedByKey = !box->isVisible();
            box->reject();
        });
        poll.start(10);
        m_window->findChild<QAction *>(QStringLiteral("mnuVersion"))->trigger();
        // Expected: the box closed by it; the guide named nothing.
        QVERIFY(closedByKey);
        QCOMPARE(label("lblKey")->text(), KeyGuide::initialKeyText());
    }

    void read_reopened_and_ended_by_a_double_click()
    {
        // State: open: silent, no panel taken for a window. Action: A. Expected: the labels read as they stand.
        QVERIFY(m_services.announcements().isEmpty());
        QCOMPARE(hoshi::testing::windowsInside(*m_window), QStringList());
        QTest::keyClick(m_window.get(), Qt::Key_A);
        QCOMPARE(QStringList({heard("lblKey"), heard("lblYomi"), heard("Label2")}),
                 QStringList({"ａ", "Ａ", "Alt＋F4で終了"}));
        // Action: F10 (its re-press posted), closed, reopened. Expected: the prompt again, armed, its hint said.
        realKey(m_window.get(), Qt::Key_F10, Qt::NoModifier);
        m_window->close();
        QTest::qWait(0); // let the posted F10 re-press reach the hidden window
        m_window->open();
        QCOMPARE(label("lblKey")->text(), KeyGuide::initialKeyText());
        QCOMPARE(label("lblYomi")->text(), QString());
        QVERIFY(m_window->guideState().injectArmed);
        QCOMPARE(m_services.hints(), QStringList(2, QStringLiteral("キーをおしてね")));
        // Action: a double-click on the key text. Expected: closed, the program ended.
        QSignalSpy endProgram(m_window.get(), &ModeWindow::endProgramRequested);
        QTest::mouseDClick(label("lblKey"), Qt::LeftButton);
        QCOMPARE(endProgram.count(), 1);
        QVERIFY(!m_window->isVisible());
    }

private:
    QLabel *label(const char *name) const { return m_window->findChild<QLabel *>(QString::fromLatin1(name)); }
    QString heard(const char *name) const { return accessible(label(name))->text(QAccessible::Name); }

    RecordingServices m_services;
    std::unique_ptr<KeyGuideWindow> m_window;
};

QTEST_MAIN(TestKeyGuideWindow)
#include "test_key_guide_window.moc"
