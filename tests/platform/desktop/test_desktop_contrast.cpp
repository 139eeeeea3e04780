// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's high-contrast choice read through the real GSettings, from a
// key file of our own; asked before the application exists, or of a desktop that hangs.
#include "platform/desktop/desktop_contrast.h"

#include "support/test_files.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <future>

// Set when Qt, made after an early query, said it was not on its main thread.
static bool s_appOffMainThread = false;

class TestDesktopContrast : public QObject {
    Q_OBJECT
private slots:
    // Asked before QApplication exists, on a thread that uses Qt: Qt still takes the program's thread as main.
    void earlyQueryLeavesMainThread() { QVERIFY(!s_appOffMainThread); }

    // GSettings picks its backend once and keeps what it read: one case of the real read.
    void desktopAskingIsHeard()
    {
        QTemporaryDir home;
        qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
        qputenv("GSETTINGS_BACKEND", "keyfile");
        hoshi::testing::writeFileAt(home.filePath(QStringLiteral("glib-2.0/settings/keyfile")),
                                    "[org/gnome/desktop/a11y/interface]\nhigh-contrast=true\n");
        const std::optional<bool> answer = hoshi::DesktopContrastQuery().answer(std::chrono::seconds(10));
        if (!answer)
            QSKIP("GNOME's accessibility schema is not installed");
        QCOMPARE(*answer, true);
    }

    // A settings service that does not answer counts as no answer, in time.
    void stuckDesktopIsNoAnswer()
    {
        std::promise<void> release;
        const hoshi::DesktopContrastQuery query([released = release.get_future().share()]() -> std::optional<bool> {
            released.wait();
            return true;
        });
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(query.answer(std::chrono::milliseconds(50)), std::nullopt);
        QVERIFY(clock.elapsed() < 5000);
        release.set_value();
        QCOMPARE(query.answer(std::chrono::seconds(10)), std::optional<bool>(true));
    }
};

int main(int argc, char **argv)
{
    // The asking thread has used Qt and is still at work when the application is made.
    std::promise<void> asked, made;
    const hoshi::DesktopContrastQuery early([&asked, appMade = made.get_future().share()] {
        QThread::currentThread();
        asked.set_value();
        appMade.wait();
        return std::optional<bool>();
    });
    asked.get_future().wait();
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &message) {
        s_appOffMainThread |= message.contains(QStringLiteral("main() thread"));
    });
    QCoreApplication app(argc, argv);
    qInstallMessageHandler(nullptr);
    made.set_value();
    early.answer(std::chrono::seconds(10));
    TestDesktopContrast test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_desktop_contrast.moc"
