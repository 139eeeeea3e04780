// SPDX-License-Identifier: GPL-3.0-or-later
// Announcing puts exactly the text on the clipboard, every time, as a change
// a clipboard reader sees even when the text is the one already there.
#include "platform/speech/clipboard_announcer.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTest>

namespace {

// What the clipboard held at each of its changes: its text, or "(empty)" when it held nothing.
class ChangeLog {
public:
    explicit ChangeLog(QClipboard *clipboard)
    {
        QObject::connect(clipboard, &QClipboard::dataChanged, &m_context, [this, clipboard] {
            const QMimeData *data = clipboard->mimeData();
            seen << (data == nullptr || data->formats().isEmpty() ? QStringLiteral("(empty)") : clipboard->text());
        });
    }
    QStringList seen;

private:
    QObject m_context;
};

} // namespace

class TestClipboardAnnouncer : public QObject {
    Q_OBJECT
private slots:
    void each_announcement_is_a_change_from_an_empty_clipboard_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("a launcher entry, CR LF and all") << QStringList{"１\r\n押せばわかる"};
        QTest::newRow("the same text twice") << QStringList{"○ 1", "○ 1"};
        QTest::newRow("two texts") << QStringList{"○ 1", "× 1"};
        QTest::newRow("the text already there") << QStringList{"old"};
    }

    void each_announcement_is_a_change_from_an_empty_clipboard()
    {
        // State: a text on the clipboard; a reader that speaks at each change.
        QFETCH(QStringList, texts);
        QClipboard *clipboard = QGuiApplication::clipboard();
        clipboard->setText(QStringLiteral("old"));
        hoshi::ClipboardAnnouncer announcer;
        for (const QString &text : texts) {
            // Action: announce.
            ChangeLog changes(clipboard);
            announcer.announce(text);
            // Expected: the clipboard changes, first to empty, last to exactly the text; a reader
            // waiting for a new text sees one even when it equals the one before.
            QVERIFY(!changes.seen.isEmpty());
            QCOMPARE(changes.seen.first(), QStringLiteral("(empty)"));
            QCOMPARE(changes.seen.last(), text);
            QCOMPARE(clipboard->text(), text);
        }
    }
};

QTEST_MAIN(TestClipboardAnnouncer)
#include "test_clipboard_announcer.moc"
