// SPDX-License-Identifier: GPL-3.0-or-later
// Starting a text editor: the desktop's default, or one named by xdg-mime or
// found on the path, started detached and without waiting; false when there is none.
#include "platform/desktop/editor_candidates.h"
#include "platform/desktop/editor_launcher.h"

#include "support/test_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <map>

using hoshi::DesktopEditorLauncher;
using hoshi::ProgramCommand;

namespace {

// The lookup without GIO's default, which test_gio_launch checks on its own.
DesktopEditorLauncher withoutGio()
{
    return DesktopEditorLauncher([] { return false; }, &hoshi::systemEditorCandidates);
}

using hoshi::testing::writeFileAt;

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestEditorLauncher : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
#if !defined(Q_OS_UNIX)
        QSKIP("The fake editors are shell scripts.");
#endif
        // The environment the lookup reads points at empty folders of our own.
        QVERIFY(m_root.emplace().isValid());
        const std::pair<const char *, const char *> folders[]{
            {"PATH", "bin"},          {"HOME", "home"},          {"XDG_CONFIG_HOME", "config"},
            {"XDG_CONFIG_DIRS", "configdirs"}, {"XDG_DATA_HOME", "data"}, {"XDG_DATA_DIRS", "datadirs"}};
        for (const auto &[name, folder] : folders) {
            m_saved[name] = qgetenv(name);
            QDir().mkpath(path(folder));
            qputenv(name, path(folder).toLocal8Bit());
        }
        m_saved["XDG_CURRENT_DESKTOP"] = qgetenv("XDG_CURRENT_DESKTOP");
        qunsetenv("XDG_CURRENT_DESKTOP");
    }

    void cleanup()
    {
        writeFileAt(path("go"), ""); // lets any fake editor still waiting finish
        for (const auto &[name, value] : m_saved) {
            if (value.isNull())
                qunsetenv(name);
            else
                qputenv(name, value);
        }
        m_root.reset();
    }

    void no_editor_anywhere_gives_false()
    {
        // State: an empty PATH, no desktop defaults; or candidates that do not exist. Expected: false.
        QVERIFY(!withoutGio().startEditor());
        DesktopEditorLauncher injected([] { return false; }, [] {
            return QList<ProgramCommand>{{QStringLiteral("hoshi-no-such-editor"), {}},
                                         {QStringLiteral("/nonexistent/editor"), {}}};
        });
        QVERIFY(!injected.startEditor());
    }

    void a_common_editor_on_the_path_is_started_detached()
    {
        // State: "kate" on PATH but not executable; a fake "mousepad" that finishes only when told to.
        writeFileAt(path("bin/kate"), "not a program");
        installFakeEditor("mousepad");
        // Action: start the editor.
        QVERIFY(withoutGio().startEditor());
        // Expected: kate passed over; it returned while mousepad still runs (no waiting)...
        QTRY_VERIFY(QFile::exists(path("started-mousepad")));
        QVERIFY(!QFile::exists(path("done-mousepad")));
        writeFileAt(path("go"), "");
        // ...and the editor got no file argument and runs in the home folder.
        QTRY_VERIFY(QFile::exists(path("done-mousepad")));
        QCOMPARE(readFile(path("done-mousepad")), "args=[]\npwd=" + path("home").toLocal8Bit() + '\n');
    }

    void the_desktop_default_comes_first()
    {
        // State: the desktop starts its default; a fake gedit on PATH.
        installFakeEditor("gedit");
        int defaultStarts = 0;
        DesktopEditorLauncher launcher([&defaultStarts] { return ++defaultStarts > 0; },
                                       &hoshi::systemEditorCandidates);
        // Action: start the editor. Expected: the default only; gedit never started.
        QVERIFY(launcher.startEditor());
        QCOMPARE(defaultStarts, 1);
        writeFileAt(path("go"), "");
        QTest::qWait(200);
        QVERIFY(!QFile::exists(path("started-gedit")));
    }

    void xdg_mime_default_comes_next_unless_unusable_data()
    {
        QTest::addColumn<QByteArray>("entry");
        QTest::addColumn<QString>("started");
        QTest::newRow("the desktop's default") << QByteArray("Exec=hoshi-fake-default --new-window %U")
                                               << "hoshi-fake-default";
        QTest::newRow("a terminal default is passed over")
            << QByteArray("Terminal=true\nExec=hoshi-fake-default %F") << "gedit";
    }

    void xdg_mime_default_comes_next_unless_unusable()
    {
        // State: gedit on PATH; xdg-mime names our entry as the default for text/plain.
        QFETCH(QByteArray, entry);
        QFETCH(QString, started);
        installFakeEditor("gedit");
        installFakeEditor("hoshi-fake-default");
        writeFileAt(path("bin/xdg-mime"),
                  "#!/bin/sh\n[ \"$*\" = 'query default text/plain' ] && echo ours.desktop\n", true);
        writeFileAt(path("data/applications/ours.desktop"),
                  "[Desktop Entry]\nType=Application\nName=Ours\n" + entry + '\n');
        // Action: start the editor.
        QVERIFY(withoutGio().startEditor());
        writeFileAt(path("go"), "");
        // Expected: that one ran, with its options but without a file; the other never started.
        QTRY_VERIFY(QFile::exists(path("done-" + started)));
        if (started == QStringLiteral("hoshi-fake-default"))
            QCOMPARE(readFile(path("done-" + started)).split('\n').first(), "args=[--new-window]");
        QCOMPARE(QDir(m_root->path()).entryList({"started-*"}), QStringList{"started-" + started});
    }

private:
    QString path(const QString &relative) const { return m_root->filePath(relative); }

    // A script that notes its start, waits for the test's "go" file, then
    // writes its arguments and working folder.
    void installFakeEditor(const QString &name)
    {
        const QByteArray at = m_root->path().toLocal8Bit() + '/';
        const QByteArray n = name.toLocal8Bit();
        writeFileAt(path("bin/" + name),
                  "#!/bin/sh\nPATH=/usr/bin:/bin\n: > '" + at + "started-" + n + "'\n"
                  "i=0\nwhile [ ! -e '" + at + "go' ] && [ $i -lt 600 ]; do sleep 0.05; i=$((i+1)); done\n"
                  "printf 'args=[%s]\\npwd=%s\\n' \"$*\" \"$(pwd)\" > '" + at + "writing-" + n + "'\n"
                  "mv '" + at + "writing-" + n + "' '" + at + "done-" + n + "'\n",
                  true);
    }

    std::optional<QTemporaryDir> m_root;
    std::map<const char *, QByteArray> m_saved;
};

QTEST_GUILESS_MAIN(TestEditorLauncher)
#include "test_editor_launcher.moc"
