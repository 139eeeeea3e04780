// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's default application started through GIO, loaded at run time:
// here a fake editor that a desktop registered only in mimeinfo.cache.
#include "platform/desktop/gio_launch.h"

#include "support/test_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using hoshi::GioLaunch;
using hoshi::testing::writeFileAt;

class TestGioLaunch : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // GIO reads where applications lie once per process: one set of folders for every case.
        QVERIFY(m_root.isValid());
        const std::pair<const char *, const char *> folders[]{
            {"HOME", "home"}, {"XDG_CONFIG_HOME", "config"}, {"XDG_CONFIG_DIRS", "configdirs"},
            {"XDG_DATA_HOME", "data"}, {"XDG_DATA_DIRS", "datadirs"}};
        for (const auto &[name, folder] : folders) {
            QDir().mkpath(path(folder));
            qputenv(name, path(folder).toLocal8Bit());
        }
        qunsetenv("XDG_CURRENT_DESKTOP");
        const QByteArray editor = path("bin/hoshi-fake-editor").toLocal8Bit();
        writeFileAt(editor, "#!/bin/sh\nprintf 'args=[%s]\\n' \"$*\" > '" + path("started").toLocal8Bit() + "'\n", true);
        const QByteArray entries = path("data/applications/").toLocal8Bit();
        writeFileAt(entries + "hoshi-fake-editor.desktop",
                  "[Desktop Entry]\nType=Application\nName=Fake editor\nExec=" + editor + " %F\n");
        writeFileAt(entries + "hoshi-fake-terminal.desktop",
                  "[Desktop Entry]\nType=Application\nName=Fake terminal editor\nTerminal=true\nExec=" + editor
                      + " %F\n");
        writeFileAt(entries + "mimeinfo.cache", "[MIME Cache]\ntext/plain=hoshi-fake-editor.desktop;\n"
                                              "text/x-hoshi-terminal=hoshi-fake-terminal.desktop;\n");
    }

    void the_windowed_default_is_started_without_a_file_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<bool>("started");
        QTest::newRow("the default in mimeinfo.cache") << "text/plain" << true;
        QTest::newRow("no application at all") << "application/x-hoshi-nothing" << false;
        QTest::newRow("only one that runs in a terminal") << "text/x-hoshi-terminal" << false;
    }

    void the_windowed_default_is_started_without_a_file()
    {
        QFETCH(QString, type);
        QFETCH(bool, started);
        QFile::remove(path("started"));
        const GioLaunch result = hoshi::launchGioDefault(type);
        if (result == GioLaunch::NoGio)
            QSKIP("GIO is not installed here");
        QCOMPARE(result, started ? GioLaunch::Started : GioLaunch::NoDefault);
        const auto log = [this] {
            QFile file(path("started"));
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        if (!started)
            QTest::qWait(100);
        QTRY_COMPARE(log(), QByteArray(started ? "args=[]\n" : ""));
    }

private:
    QString path(const QString &relative) const { return m_root.filePath(relative); }

    QTemporaryDir m_root;
};

QTEST_GUILESS_MAIN(TestGioLaunch)
#include "test_gio_launch.moc"
