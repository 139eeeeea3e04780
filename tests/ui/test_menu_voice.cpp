// SPDX-License-Identifier: GPL-3.0-or-later
// Menus heard through a window's menu voice: captions without their access
// keys, the entries highlighted, what a setting became, a menu left alone.
#include "ui/menu_voice.h"
#include "ui/menus.h"

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

using namespace hoshi;

class MenuVoiceTest : public QObject {
    Q_OBJECT
private slots:
    void heardCaption()
    {
        // Access keys dropped wherever they stand; a doubled ampersand is one.
        QCOMPARE(hoshi::heardCaption(QStringLiteral("ファイル(&F)")), QStringLiteral("ファイル"));
        QCOMPARE(hoshi::heardCaption(QStringLiteral("終了(&X or Escape)")), QStringLiteral("終了(X or Escape)"));
        QCOMPARE(hoshi::heardCaption(QStringLiteral("E&xit")), QStringLiteral("Exit"));
        QCOMPARE(hoshi::heardCaption(QStringLiteral("Tom && Jerry")), QStringLiteral("Tom & Jerry"));
    }

    void entriesChoicesAndLeavingAreHeard()
    {
        // State: a window with a file menu and a settings menu, its menus heard.
        QMainWindow window;
        window.setWindowTitle(QStringLiteral("アルファベットに挑戦"));
        QMenu *file = addMenu(&window, QStringLiteral("mnuFile"), QStringLiteral("ファイル(&F)"));
        QAction *end = addEntry(file, QStringLiteral("mnuEnd"), QStringLiteral("終了(&X)"), [] {});
        QMenu *settings = addMenu(&window, QStringLiteral("mnuSetei"), QStringLiteral("設定(&S)"));
        int shown = 0;
        QAction *show = saysItsChoice(addEntry(settings, QStringLiteral("mnuHintAri"),
                                               QStringLiteral("指の名前あり(&A)"), [&shown] { ++shown; }));
        QStringList heard;
        speakMenus(&window, [&heard](const QString &text) { heard << text; });
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        // A menu opened alone and left without a choice says so, and where the child is.
        settings->popup(QPoint(0, 0));
        QTRY_VERIFY(settings->isVisible());
        heard.clear();
        settings->hide();
        QTRY_COMPARE(heard, QStringList{"めにゅーを とじたよ、アルファベットに挑戦"});
        heard.clear();

        // The bar's first highlight says the bar, then the entry; a later one only the entry.
        window.menuBar()->setActiveAction(file->menuAction());
        QTRY_VERIFY(heard.size() >= 2);
        QCOMPARE(heard.mid(0, 2), (QStringList{"めにゅー", "ファイル"}));
        heard.clear();
        file->setActiveAction(end);
        // (the announcer says a text repeated within one event once)
        QTRY_VERIFY(!heard.isEmpty());
        QCOMPARE(heard.last(), QStringLiteral("終了"));

        // A setting chosen says what it became, and leaving after it adds nothing.
        heard.clear();
        show->trigger();
        QCOMPARE(shown, 1);
        QCOMPARE(heard, QStringList{"指の名前あり に したよ"});
        // An entry that is no setting says nothing of its own when chosen.
        heard.clear();
        end->trigger();
        QVERIFY(heard.isEmpty());
    }
};

QTEST_MAIN(MenuVoiceTest)
#include "test_menu_voice.moc"
