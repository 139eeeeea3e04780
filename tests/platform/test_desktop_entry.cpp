// Reading the desktop's default text editor from freedesktop files.
#include "platform/desktop_entry.h"

#include <QTest>

class TestDesktopEntry : public QObject {
    Q_OBJECT
private slots:
    void command_of_desktop_entry_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("command"); // program, then arguments; empty: none to start
        const auto entry = [](const char *lines) {
            return QStringLiteral("[Desktop Entry]\nType=Application\nName=Editor\n") + QString::fromUtf8(lines) + u'\n';
        };
        QTest::newRow("file code dropped") << entry("Exec=gedit %U") << QStringList{"gedit"};
        QTest::newRow("options kept") << entry("Exec=kate -b %U") << QStringList{"kate", "-b"};
        QTest::newRow("quoted program") << entry("Exec=\"/opt/My Editor/editor\" --new-window %F")
                                        << QStringList{"/opt/My Editor/editor", "--new-window"};
        QTest::newRow("escaped quote in quotes") << entry("Exec=ed \"--title=say \\\\\"hi\\\\\"\"")
                                                 << QStringList{"ed", "--title=say \"hi\""};
        QTest::newRow("percent sign kept") << entry("Exec=ed --title=100%% %f") << QStringList{"ed", "--title=100%"};
        QTest::newRow("code inside an argument") << entry("Exec=ed --file=%f --x") << QStringList{"ed", "--file=", "--x"};
        QTest::newRow("icon and name codes") << entry("Exec=ed %i %c %k") << QStringList{"ed"};
        QTest::newRow("flatpak markers") << entry("Exec=/usr/bin/flatpak run --command=ed org.x.Ed @@ %F @@")
                                         << QStringList{"/usr/bin/flatpak", "run", "--command=ed", "org.x.Ed"};
        QTest::newRow("spaces collapse") << entry("Exec=  ed    -n  ") << QStringList{"ed", "-n"};
        QTest::newRow("first exec wins, comments skipped") << entry("# Exec=evil\nExec=ed\nExec=other")
                                                           << QStringList{"ed"};
        QTest::newRow("terminal editor refused") << entry("Exec=vim %F\nTerminal=true") << QStringList();
        QTest::newRow("hidden entry refused") << entry("Exec=ed\nHidden=true") << QStringList();
        QTest::newRow("no exec") << entry("") << QStringList();
        QTest::newRow("only a field code") << entry("Exec=%F") << QStringList();
        QTest::newRow("unbalanced quote") << entry("Exec=\"ed %F") << QStringList();
        QTest::newRow("link, not application") << QStringLiteral("[Desktop Entry]\nType=Link\nExec=ed\n") << QStringList();
        QTest::newRow("exec of an action only")
            << QStringLiteral("[Desktop Entry]\nType=Application\n[Desktop Action new]\nExec=ed --new\n") << QStringList();
    }

    void command_of_desktop_entry()
    {
        // State: the text of a .desktop file. Action: read its command.
        QFETCH(QString, text);
        const std::optional<hoshi::ProgramCommand> command = hoshi::commandOfDesktopEntry(text);
        // Expected: the program and arguments to start without a file, or none.
        QTEST(command ? QStringList{command->program} + command->arguments : QStringList(), "command");
    }

    void defaults_in_mime_apps_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("list in order") << "[Default Applications]\ntext/plain=a.desktop;b.desktop;\n"
                                       << QStringList{"a.desktop", "b.desktop"};
        QTest::newRow("other sections ignored")
            << "[Added Associations]\ntext/plain=c.desktop\n[Default Applications]\ntext/html=h.desktop\n" << QStringList{};
        QTest::newRow("other types ignored") << "[Default Applications]\ntext/plain-x=x.desktop\ntext/plain = p.desktop\n"
                                             << QStringList{"p.desktop"};
        QTest::newRow("empty file") << "" << QStringList{};
    }

    void defaults_in_mime_apps()
    {
        QFETCH(QString, text);
        QTEST(hoshi::defaultsInMimeApps(text, QStringLiteral("text/plain")), "expected");
    }
};

QTEST_GUILESS_MAIN(TestDesktopEntry)
#include "test_desktop_entry.moc"
