// The launcher driven offscreen: focus, colours, announcements, opening modes.
#include "shell/launcher_entry.h"
#include "shell/launcher_window.h"
#include "shell/mode_window.h"
#include "shell/mode_windows.h"
#include "support/fakes.h"

#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>

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

const QString Entry1 = QStringLiteral("１\r\n押せばわかる");
const QString Entry2 = QStringLiteral("２\r\nどの指使うの");
const QString Entry6 = QStringLiteral("６\r\n応用英語入力");

} // namespace

class LauncherWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_services = std::make_unique<RecordingServices>();
        m_modes = std::make_unique<ModeWindows>();
        m_opened.clear();
        for (int mode = 1; mode <= 6; ++mode) {
            m_modes->setFactory(mode, [this, mode] {
                m_opened.append(mode);
                return std::make_unique<CountingWindow>();
            });
        }
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

    void startsOnEntryOne()
    {
        // State: just shown. Expected: entry 1 focused, white on black, announced first.
        QCOMPARE(m_services->announcements().first(), Entry1);
        LauncherEntry *first = m_launcher->entry(1);
        QVERIFY(first->hasFocus());
        QCOMPARE(first->palette().color(QPalette::Window), QColor(Qt::black));
        QCOMPARE(first->palette().color(QPalette::WindowText), QColor(Qt::white));
        for (int n = 2; n <= 6; ++n) {
            QCOMPARE(m_launcher->entry(n)->palette().color(QPalette::Window), QColor(0, 0, 255));
            QCOMPARE(m_launcher->entry(n)->palette().color(QPalette::WindowText), QColor(255, 255, 0));
        }
        QCOMPARE(m_launcher->windowTitle(), QStringLiteral("ほしのたまごいりぐち"));
        QCOMPARE(m_launcher->titleText(), LauncherWindow::initialTitle());
    }

    void entryTexts()
    {
        const QStringList expected{Entry1, Entry2, QStringLiteral("３\r\nｱﾙﾌｧﾍﾞｯﾄに挑戦"),
                                   QStringLiteral("４\r\n記号と数字も登場"), QStringLiteral("５\r\n応用日本語入力"),
                                   Entry6};
        for (int n = 1; n <= 6; ++n)
            QCOMPARE(m_launcher->entry(n)->announcement(), expected[n - 1]);
    }

    void downAndUpWrapAround()
    {
        // Down from 1 goes to 2; Up from 1 wraps to 6; Down from 6 wraps to 1.
        m_services->clear();
        QTest::keyClick(focused(), Qt::Key_Down);
        QTRY_VERIFY(m_launcher->entry(2)->hasFocus());
        QTest::keyClick(focused(), Qt::Key_Up);
        QTRY_VERIFY(m_launcher->entry(1)->hasFocus());
        QTest::keyClick(focused(), Qt::Key_Up);
        QTRY_VERIFY(m_launcher->entry(6)->hasFocus());
        QTest::keyClick(focused(), Qt::Key_Down);
        QTRY_VERIFY(m_launcher->entry(1)->hasFocus());
        QCOMPARE(m_services->announcements(), (QStringList{Entry2, Entry1, Entry6, Entry1}));
        QCOMPARE(m_launcher->entry(6)->palette().color(QPalette::Window), QColor(0, 0, 255));
    }

    void arrowsMoveWhateverTheModifiers()
    {
        QTest::keyClick(focused(), Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_VERIFY(m_launcher->entry(2)->hasFocus());
    }

    void digitsOpenTheirModeOnly()
    {
        // 4 opens mode 4 and the focus stays on entry 1; Shift+3 opens 3; keypad 3 nothing.
        QTest::keyClick(focused(), Qt::Key_4);
        QTest::keyClick(focused(), Qt::Key_NumberSign, Qt::ShiftModifier);
        QTest::keyClick(focused(), Qt::Key_3, Qt::KeypadModifier);
        QCOMPARE(m_opened, (QList<int>{4, 3}));
        QVERIFY(m_launcher->entry(1)->hasFocus() || !m_launcher->isActiveWindow());
        QVERIFY(m_modes->window(4)->isVisible());
        m_modes->window(4)->close();
        m_modes->window(3)->close();
    }

    void enterAndSpaceOpenTheFocusedEntry()
    {
        QTest::keyClick(focused(), Qt::Key_Down);
        QTRY_VERIFY(m_launcher->entry(2)->hasFocus());
        QTest::keyClick(focused(), Qt::Key_Return);
        QCOMPARE(m_opened, QList<int>{2});
        m_launcher->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_launcher.get()));
        QTest::keyClick(focused(), Qt::Key_Space);
        // The same window again, loaded only once since it stayed open.
        QCOMPARE(m_opened, QList<int>{2});
        auto *window = static_cast<CountingWindow *>(m_modes->window(2));
        QCOMPARE(window->loads, 1);
        QCOMPARE(m_launcher->entry(2)->announcement(), Entry2);
        window->close();
    }

    void reopeningAClosedWindowLoadsItAgain()
    {
        m_modes->open(5);
        auto *window = static_cast<CountingWindow *>(m_modes->window(5));
        window->close();
        m_modes->open(5);
        QCOMPARE(window->loads, 2);
        QCOMPARE(m_opened, QList<int>{5});
        window->close();
    }

    void mouseClickFocusesAndAnnouncesButOpensNothing()
    {
        m_services->clear();
        QTest::mouseClick(m_launcher->entry(5), Qt::LeftButton);
        QTRY_VERIFY(m_launcher->entry(5)->hasFocus());
        QCOMPARE(m_services->announcements(), QStringList{QStringLiteral("５\r\n応用日本語入力")});
        QVERIFY(m_opened.isEmpty());
    }

    void escapeEndsTheProgram()
    {
        QSignalSpy ended(m_launcher.get(), &LauncherWindow::endProgramRequested);
        QTest::keyClick(focused(), Qt::Key_Escape);
        QCOMPARE(ended.count(), 1);
        auto *endEntry = m_launcher->findChild<QAction *>(QStringLiteral("mnuEnd"));
        QCOMPARE(endEntry->text(), QStringLiteral("終了(&X or Escape)"));
        endEntry->trigger();
        QCOMPARE(ended.count(), 2);
    }

    void menusCarryTheirCaptions()
    {
        const QList<QAction *> bar = m_launcher->menuBar()->actions();
        QCOMPARE(bar.size(), 2);
        QCOMPARE(bar[0]->text(), QStringLiteral("ファイル(&F)"));
        QCOMPARE(bar[1]->text(), QStringLiteral("バージョン(&V)"));
        QVERIFY(bar[1]->menu() == nullptr);
    }

    void tickerScrollsEveryHalfSecond()
    {
        const QString start = m_launcher->titleText();
        QTRY_VERIFY_WITH_TIMEOUT(m_launcher->titleText() != start, 2000);
        QCOMPARE(m_launcher->titleText(), start.mid(1) + start.left(1));
    }

    void layoutFollowsTheClientArea()
    {
        // Entries: two columns of three, 0.4 W wide and U high, none overlapping.
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

private:
    QWidget *focused() const { return QApplication::focusWidget() ? QApplication::focusWidget() : m_launcher.get(); }

    std::unique_ptr<RecordingServices> m_services;
    std::unique_ptr<ModeWindows> m_modes;
    std::unique_ptr<LauncherWindow> m_launcher;
    QList<int> m_opened;
};

QTEST_MAIN(LauncherWindowTest)
#include "test_launcher_window.moc"
