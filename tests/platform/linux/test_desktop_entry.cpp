// SPDX-License-Identifier: GPL-3.0-or-later
// The command of a freedesktop application entry, started without a file.
#include "platform/linux/desktop_entry.h"

#include <QTest>

class TestDesktopEntry : public QObject {
    Q_OBJECT
private slots:
    void command_of_desktop_entry_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("command"); // program, then arguments; empty: none to start
        const auto row = [](const char *name, const char *lines, const QStringList &command) {
            QTest::newRow(name) << QStringLiteral("[Desktop Entry]\nType=Application\nName=Editor\n%1\n").arg(lines)
                                << command;
        };
        row("file code dropped", "Exec=gedit %U", {"gedit"});
        row("options kept", "Exec=kate -b %U", {"kate", "-b"});
        row("quoted program", "Exec=\"/opt/My Editor/editor\" --new-window %F",
            {"/opt/My Editor/editor", "--new-window"});
        row("escaped quote in quotes", "Exec=ed \"--title=say \\\\\"hi\\\\\"\"", {"ed", "--title=say \"hi\""});
        row("percent sign kept", "Exec=ed --title=100%% %f", {"ed", "--title=100%"});
        row("code inside an argument", "Exec=ed --file=%f --x", {"ed", "--file=", "--x"});
        row("icon and name codes", "Exec=ed %i %c %k", {"ed"});
        row("flatpak markers", "Exec=/usr/bin/flatpak run --command=ed org.x.Ed @@ %F @@",
            {"/usr/bin/flatpak", "run", "--command=ed", "org.x.Ed"});
        row("spaces collapse", "Exec=  ed    -n  ", {"ed", "-n"});
        row("first exec wins, comments skipped", "# Exec=evil\nExec=ed\nExec=other", {"ed"});
        row("terminal editor refused", "Exec=vim %F\nTerminal=true", {});
        row("hidden entry refused", "Exec=ed\nHidden=true", {});
        row("no exec", "", {});
        row("only a field code", "Exec=%F", {});
        row("unbalanced quote", "Exec=\"ed %F", {});
        QTest::newRow("link, not application")
            << QStringLiteral("[Desktop Entry]\nType=Link\nExec=ed\n") << QStringList();
        row("exec of an action only", "[Desktop Action new]\nExec=ed --new", {});
    }

    void command_of_desktop_entry()
    {
        // State: the text of a .desktop file. Action: read its command.
        QFETCH(QString, text);
        const std::optional<hoshi::ProgramCommand> command = hoshi::commandOfDesktopEntry(text);
        // Expected: the program and arguments to start without a file, or none.
        QTEST(command ? QStringList{command->program} + command->arguments : QStringList(), "command");
    }
};

QTEST_GUILESS_MAIN(TestDesktopEntry)
#include "test_desktop_entry.moc"
