// Announcing puts exactly the text on the clipboard, every time.
#include "platform/clipboard_announcer.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTest>

using hoshi::ClipboardAnnouncer;

class TestClipboardAnnouncer : public QObject {
    Q_OBJECT
private slots:
    void the_clipboard_holds_exactly_the_text_with_its_line_end()
    {
        // State: something else on the clipboard.
        QGuiApplication::clipboard()->setText(QStringLiteral("old"));
        ClipboardAnnouncer announcer;
        // Action: announce the launcher's first entry.
        announcer.announce(QStringLiteral("１\r\n押せばわかる"));
        // Expected: exactly that text, CR LF included.
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("１\r\n押せばわかる"));
    }

    void the_same_text_twice_is_written_twice()
    {
        // State: a text already announced.
        ClipboardAnnouncer announcer;
        announcer.announce(QStringLiteral("Ａ"));
        QSignalSpy changes(QGuiApplication::clipboard(), &QClipboard::dataChanged);
        // Action: announce it again (a reading tool speaks on every change).
        announcer.announce(QStringLiteral("Ａ"));
        // Expected: the clipboard changed again and still holds the text.
        QVERIFY(changes.count() > 0);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Ａ"));
    }
};

QTEST_MAIN(TestClipboardAnnouncer)
#include "test_clipboard_announcer.moc"
