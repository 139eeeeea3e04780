// SPDX-License-Identifier: GPL-3.0-or-later
// On a desktop whose session bus is gone, the watch still answers: no screen
// reader, once, so that the built-in voice is not kept waiting.
#include "platform/speech/screen_reader_watch.h"

#include <QSignalSpy>
#include <QTest>

class TestScreenReaderWatch : public QObject {
    Q_OBJECT
private slots:
    void without_a_session_bus_no_screen_reader_is_reported_once()
    {
        // Set before anything here has connected to a bus.
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/hoshinotamago-bus");
        qunsetenv("AT_SPI_BUS_ADDRESS");
        hoshi::ScreenReaderWatch watch;
        QSignalSpy answers(&watch, &hoshi::ScreenReaderWatch::screenReaderRunningChanged);
        watch.start();
        QTRY_COMPARE(answers.size(), 1);
        QCOMPARE(answers.first().first().toBool(), false);
        QTest::qWait(200);
        QCOMPARE(answers.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestScreenReaderWatch)
#include "test_screen_reader_watch.moc"
