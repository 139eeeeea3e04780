// SPDX-License-Identifier: GPL-3.0-or-later
// Starting a text editor: the desktop's default through GIO, or one named by xdg-mime (its entry's
// command) or found on the path, started detached and without waiting; false when there is none.
// The editors are scripts that note how they were started.
#include "platform/desktop/editor_candidates.h"
#include "platform/desktop/editor_launcher.h"
#include "platform/desktop/gio_launch.h"
#include "platform/linux/desktop_entry.h"

#include "support/test_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using hoshi::DesktopEditorLauncher;
using hoshi::GioLaunch;
using hoshi::testing::writeFileAt;

namespace {
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
        // The environment the lookup reads points at empty folders of each case's own.
        QVERIFY(m_root.emplace().isValid());
        const std::pair<const char *, const char *> folders[]{
            {"PATH", "bin"},   {"HOME", "home"},          {"XDG_CONFIG_HOME", "config"}, {"XDG_CONFIG_DIRS", "configdirs"},
            {"XDG_DATA_HOME", "data"}, {"XDG_DATA_DIRS", "datadirs"}};
        for (const auto &[name, folder] : folders) {
            QDir().mkpath(path(folder));
            qputenv(name, path(folder).toLocal8Bit());
        }
        qunsetenv("XDG_CURRENT_DESKTOP");
    }

    void cleanup() { writeFileAt(path("go"), ""); } // lets any fake editor still waiting finish

    // GIO reads where applications lie once per process: this comes first, and alone uses GIO.
    void gio_starts_the_windowed_default_without_a_file()
    {
        // A fake editor that a desktop registered only in mimeinfo.cache, and a terminal one.
        installFakeEditor("hoshi-fake-editor");
        const QByteArray editor = path("bin/hoshi-fake-editor").toLocal8Bit();
        for (const char *entry : {"hoshi-fake-editor", "hoshi-fake-terminal"})
            writeFileAt(path("data/applications/%1.desktop").arg(entry), "[Desktop Entry]\nType=Application\nName=Fake\n"
                        + QByteArray(entry == QByteArray("hoshi-fake-terminal") ? "Terminal=true\n" : "") + "Exec=" + editor + " %F\n");
        writeFileAt(path("data/applications/mimeinfo.cache"), "[MIME Cache]\ntext/plain=hoshi-fake-editor.desktop;\n"
                                                              "text/x-hoshi-terminal=hoshi-fake-terminal.desktop;\n");
        const GioLaunch result = hoshi::launchGioDefault(QStringLiteral("text/plain"));
        if (result == GioLaunch::NoGio)
            QSKIP("GIO is not installed here");
        QCOMPARE(result, GioLaunch::Started);
        QTRY_VERIFY(QFile::exists(path("started-hoshi-fake-editor")));
        writeFileAt(path("go"), "");
        QTRY_VERIFY(readFile(path("done-hoshi-fake-editor")).startsWith("args=[]\n"));
        QFile::remove(path("started-hoshi-fake-editor"));
        // No application at all, or only one that runs in a terminal: none started.
        QCOMPARE(hoshi::launchGioDefault(QStringLiteral("application/x-hoshi-nothing")), GioLaunch::NoDefault);
        QCOMPARE(hoshi::launchGioDefault(QStringLiteral("text/x-hoshi-terminal")), GioLaunch::NoDefault);
        QTest::qWait(100);
        QVERIFY(!QFile::exists(path("started-hoshi-fake-editor")));
    }

    void no_editor_anywhere_gives_false()
    {
        // An empty PATH, no desktop default: none of the common editors is found.
        QVERIFY(!DesktopEditorLauncher([] { return false; }, &hoshi::systemEditorCandidates).startEditor());
    }

    void the_command_of_a_desktop_entry()
    {
        // An application entry's lines (a link where given), and the command that starts it without a file.
        const std::pair<const char *, QStringList> entries[]{
            {"Exec=gedit %U", {"gedit"}}, {"Exec=kate -b %U", {"kate", "-b"}},
            {"Exec=\"/opt/My Editor/editor\" --new-window %F", {"/opt/My Editor/editor", "--new-window"}},
            {"Exec=ed \"--title=say \\\\\"hi\\\\\"\"", {"ed", "--title=say \"hi\""}},
            {"Exec=ed --title=100%% %f", {"ed", "--title=100%"}}, {"Exec=ed --file=%f --x", {"ed", "--file=", "--x"}},
            {"Exec=ed %i %c %k", {"ed"}},
            {"Exec=/usr/bin/flatpak run --command=ed org.x.Ed @@ %F @@", {"/usr/bin/flatpak", "run", "--command=ed", "org.x.Ed"}},
            {"Exec=  ed    -n  ", {"ed", "-n"}}, {"# Exec=evil\nExec=ed\nExec=other", {"ed"}},
            {"Exec=vim %F\nTerminal=true", {}}, {"Exec=ed\nHidden=true", {}}, {"", {}}, {"Exec=%F", {}},
            {"Exec=\"ed %F", {}}, {"Type=Link\nExec=ed", {}}, {"[Desktop Action new]\nExec=ed --new", {}}};
        for (const auto &[lines, expected] : entries) {
            const QString entry = QString::fromUtf8(lines);
            const auto command = hoshi::commandOfDesktopEntry(QStringLiteral("[Desktop Entry]\n%1%2\n").arg(
                entry.startsWith(QLatin1String("Type=")) ? QString() : QStringLiteral("Type=Application\nName=Editor\n"), entry));
            QVERIFY2((command ? QStringList{command->program} + command->arguments : QStringList()) == expected, lines);
        }
    }

    void the_first_usable_editor_is_started_detached_data()
    {
        // On PATH: "kate", not executable, and fake "mousepad" and "hoshi-fake-default" editors.
        QTest::addColumn<bool>("desktopDefault"); // the desktop starts its own default
        QTest::addColumn<QByteArray>("entry");    // what xdg-mime names as the default; empty: nothing
        QTest::addColumn<QString>("started");     // which fake editor runs; empty: none
        QTest::addColumn<QByteArray>("options");
        QTest::newRow("the desktop's default comes first") << true << QByteArray("Exec=hoshi-fake-default %U") << "" << QByteArray();
        QTest::newRow("xdg-mime's default next, with its options but no file")
            << false << QByteArray("Exec=hoshi-fake-default --new-window %U") << "hoshi-fake-default" << QByteArray("--new-window");
        QTest::newRow("a terminal default is passed over")
            << false << QByteArray("Terminal=true\nExec=hoshi-fake-default %F") << "mousepad" << QByteArray();
        QTest::newRow("then a common editor, one that cannot run passed over") << false << QByteArray() << "mousepad" << QByteArray();
    }

    void the_first_usable_editor_is_started_detached()
    {
        QFETCH(bool, desktopDefault);
        QFETCH(QByteArray, entry);
        QFETCH(QString, started);
        QFETCH(QByteArray, options);
        writeFileAt(path("bin/kate"), "not a program");
        installFakeEditor("mousepad");
        installFakeEditor("hoshi-fake-default");
        if (!entry.isEmpty()) {
            writeFileAt(path("bin/xdg-mime"), "#!/bin/sh\n[ \"$*\" = 'query default text/plain' ] && echo ours.desktop\n", true);
            writeFileAt(path("data/applications/ours.desktop"), "[Desktop Entry]\nType=Application\nName=Ours\n" + entry + '\n');
        }
        int defaultStarts = 0;
        DesktopEditorLauncher launcher([&] { return ++defaultStarts > 0 && desktopDefault; }, &hoshi::systemEditorCandidates);
        QVERIFY(launcher.startEditor());
        QCOMPARE(defaultStarts, 1);
        if (!started.isEmpty()) {
            // It came back while the editor still runs: nothing waits for it.
            QTRY_VERIFY(QFile::exists(path("started-" + started)));
            QVERIFY(!QFile::exists(path("done-" + started)));
            writeFileAt(path("go"), "");
            QTRY_COMPARE(readFile(path("done-" + started)), "args=[" + options + "]\npwd=" + path("home").toLocal8Bit() + '\n');
        } else {
            writeFileAt(path("go"), "");
            QTest::qWait(200);
        }
        QCOMPARE(QDir(m_root->path()).entryList({"started-*"}), started.isEmpty() ? QStringList() : QStringList{"started-" + started});
    }

private:
    QString path(const QString &relative) const { return m_root->filePath(relative); }

    // A script that notes its start, waits for the test's "go" file, then
    // writes its arguments and working folder.
    void installFakeEditor(const QString &name)
    {
        const QByteArray at = m_root->path().toLocal8Bit() + '/', n = name.toLocal8Bit();
        writeFileAt(path("bin/" + name),
                    "#!/bin/sh\nPATH=/usr/bin:/bin\n: > '" + at + "started-" + n + "'\n"
                    "i=0\nwhile [ ! -e '" + at + "go' ] && [ $i -lt 600 ]; do sleep 0.05; i=$((i+1)); done\n"
                    "printf 'args=[%s]\\npwd=%s\\n' \"$*\" \"$(pwd)\" > '" + at + "writing-" + n + "'\n"
                    "mv '" + at + "writing-" + n + "' '" + at + "done-" + n + "'\n", true);
    }

    std::optional<QTemporaryDir> m_root;
};

QTEST_GUILESS_MAIN(TestEditorLauncher)
#include "test_editor_launcher.moc"
