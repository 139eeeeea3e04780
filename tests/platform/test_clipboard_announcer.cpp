// SPDX-License-Identifier: GPL-3.0-or-later
// Announcing puts exactly the text on the clipboard, every time.
#include "platform/clipboard_announcer.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTest>

class TestClipboardAnnouncer : public QObject {
    Q_OBJECT
private slots:
    void the_clipboard_holds_exactly_the_text_every_time()
    {
        // State: something else on the clipboard. Action: announce the launcher's first entry.
        QClipboard *clipboard = QGuiApplication::clipboard();
        clipboard->setText(QStringLiteral("old"));
        hoshi::ClipboardAnnouncer announcer;
        announcer.announce(QStringLiteral("１\r\n押せばわかる"));
        // Expected: exactly that text, CR LF included.
        QCOMPARE(clipboard->text(), QStringLiteral("１\r\n押せばわかる"));
        // Action: the same text again. Expected: the clipboard changed again (a reader speaks on every change).
        QSignalSpy changes(clipboard, &QClipboard::dataChanged);
        announcer.announce(QStringLiteral("１\r\n押せばわかる"));
        QVERIFY(changes.count() > 0);
        QCOMPARE(clipboard->text(), QStringLiteral("１\r\n押せばわかる"));
    }
};

QTEST_MAIN(TestClipboardAnnouncer)
#include "test_clipboard_announcer.moc"
