// Starting a text editor: found on the path or named by the desktop, started
// detached and without waiting; false when there is none.
#include "platform/editor_launcher.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <map>

using hoshi::DesktopEditorLauncher;
using hoshi::ProgramCommand;

namespace {

// Environment the editor lookup reads; replaced by empty folders per test.
const char *const IsolatedVariables[] = {"PATH", "HOME", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS",
                                         "XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CURRENT_DESKTOP"};

void writeFile(const QString &path, const QByteArray &contents, bool executable = false)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
    file.close();
    if (executable)
        file.setPermissions(file.permissions() | QFile::ExeOwner | QFile::ExeUser);
}

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
        QVERIFY(m_root.emplace().isValid());
        for (const char *name : IsolatedVariables)
            m_saved[name] = qgetenv(name);
        for (const char *sub : {"bin", "home", "config", "configdirs", "data", "datadirs"})
            QDir().mkpath(path(sub));
        qputenv("PATH", path("bin").toLocal8Bit());
        qputenv("HOME", path("home").toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", path("config").toLocal8Bit());
        qputenv("XDG_CONFIG_DIRS", path("configdirs").toLocal8Bit());
        qputenv("XDG_DATA_HOME", path("data").toLocal8Bit());
        qputenv("XDG_DATA_DIRS", path("datadirs").toLocal8Bit());
        qunsetenv("XDG_CURRENT_DESKTOP");
    }

    void cleanup()
    {
        // Let any fake editor still waiting finish.
        writeFile(path("go"), "");
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
        // State: an empty PATH folder and no desktop defaults.
        DesktopEditorLauncher launcher;
        // Action / Expected: nothing starts, and it says so.
        QVERIFY(!launcher.startEditor());
    }

    void injected_candidates_that_do_not_exist_give_false()
    {
        DesktopEditorLauncher launcher([] {
            return QList<ProgramCommand>{{QStringLiteral("hoshi-no-such-editor"), {}},
                                         {QStringLiteral("/nonexistent/editor"), {}}};
        });
        QVERIFY(!launcher.startEditor());
    }

    void a_common_editor_on_the_path_is_started_detached()
    {
        // State: a fake "mousepad" on PATH that finishes only when told to.
        installFakeEditor(QStringLiteral("mousepad"));
        DesktopEditorLauncher launcher;
        // Action: start the editor.
        QVERIFY(launcher.startEditor());
        // Expected: startEditor returned while the editor still runs (no waiting)...
        QTRY_VERIFY(QFile::exists(path("started-mousepad")));
        QVERIFY(!QFile::exists(path("done-mousepad")));
        writeFile(path("go"), "");
        // ...it got no file argument and runs in the home folder.
        QTRY_VERIFY(QFile::exists(path("done-mousepad")));
        QCOMPARE(readFile(path("done-mousepad")), "args=[]\npwd=" + path("home").toLocal8Bit() + '\n');
    }

    void the_desktop_default_editor_comes_before_the_common_ones()
    {
        // State: gedit on PATH, and the desktop names another editor as default.
        installFakeEditor(QStringLiteral("gedit"));
        installFakeEditor(QStringLiteral("hoshi-fake-default"));
        writeFile(path("config/mimeapps.list"),
                  "[Default Applications]\ntext/plain=missing.desktop;fake-default.desktop;\n");
        writeFile(path("data/applications/fake-default.desktop"),
                  "[Desktop Entry]\nType=Application\nName=Fake\nExec=hoshi-fake-default --new-window %U\n");
        // Action: start the editor.
        QVERIFY(DesktopEditorLauncher().startEditor());
        writeFile(path("go"), "");
        // Expected: the default one ran, with its options but without a file.
        QTRY_VERIFY(QFile::exists(path("done-hoshi-fake-default")));
        QVERIFY(readFile(path("done-hoshi-fake-default")).startsWith("args=[--new-window]\n"));
        QVERIFY(!QFile::exists(path("started-gedit")));
    }

    void a_terminal_default_is_passed_over()
    {
        installFakeEditor(QStringLiteral("gedit"));
        installFakeEditor(QStringLiteral("hoshi-fake-vim"));
        writeFile(path("config/mimeapps.list"), "[Default Applications]\ntext/plain=vim.desktop\n");
        writeFile(path("data/applications/vim.desktop"),
                  "[Desktop Entry]\nType=Application\nName=Vim\nTerminal=true\nExec=hoshi-fake-vim %F\n");
        QVERIFY(DesktopEditorLauncher().startEditor());
        writeFile(path("go"), "");
        QTRY_VERIFY(QFile::exists(path("done-gedit")));
        QVERIFY(!QFile::exists(path("started-hoshi-fake-vim")));
    }

    void a_candidate_that_is_not_executable_is_skipped()
    {
        // State: "kate" exists but cannot be run; "pluma" can.
        writeFile(path("bin/kate"), "not a program");
        installFakeEditor(QStringLiteral("pluma"));
        QVERIFY(DesktopEditorLauncher().startEditor());
        writeFile(path("go"), "");
        QTRY_VERIFY(QFile::exists(path("done-pluma")));
    }

private:
    QString path(const QString &relative) const { return m_root->filePath(relative); }

    // A script that notes its start, waits for the test's "go" file, then
    // writes its arguments and working folder.
    void installFakeEditor(const QString &name)
    {
        const QByteArray root = m_root->path().toLocal8Bit();
        const QByteArray script = "#!/bin/sh\nPATH=/usr/bin:/bin\n"
                                  ": > '" + root + "/started-" + name.toLocal8Bit() + "'\n"
                                  "i=0\nwhile [ ! -e '" + root + "/go' ] && [ $i -lt 600 ]; do\n"
                                  "  sleep 0.05; i=$((i+1))\ndone\n"
                                  "printf 'args=[%s]\\npwd=%s\\n' \"$*\" \"$(pwd)\" > '" + root + "/writing-"
                                  + name.toLocal8Bit() + "'\n"
                                  "mv '" + root + "/writing-" + name.toLocal8Bit() + "' '" + root + "/done-"
                                  + name.toLocal8Bit() + "'\n";
        writeFile(path(QStringLiteral("bin/") + name), script, true);
    }

    std::optional<QTemporaryDir> m_root;
    std::map<const char *, QByteArray> m_saved;
};

QTEST_GUILESS_MAIN(TestEditorLauncher)
#include "test_editor_launcher.moc"
