// SPDX-License-Identifier: GPL-3.0-or-later
// The command of a freedesktop application entry, started without a file.
#include "platform/linux/desktop_entry.h"

#include <QTest>

class TestDesktopEntry : public QObject {
    Q_OBJECT
private slots:
    void command_of_desktop_entry()
    {
        // The lines of an application entry (a link where given), and the program and arguments to start without a file; none: {}.
        const std::pair<const char *, QStringList> entries[]{
            {"Exec=gedit %U", {"gedit"}},
            {"Exec=kate -b %U", {"kate", "-b"}},
            {"Exec=\"/opt/My Editor/editor\" --new-window %F", {"/opt/My Editor/editor", "--new-window"}},
            {"Exec=ed \"--title=say \\\\\"hi\\\\\"\"", {"ed", "--title=say \"hi\""}},
            {"Exec=ed --title=100%% %f", {"ed", "--title=100%"}},
            {"Exec=ed --file=%f --x", {"ed", "--file=", "--x"}},
            {"Exec=ed %i %c %k", {"ed"}},
            {"Exec=/usr/bin/flatpak run --command=ed org.x.Ed @@ %F @@", {"/usr/bin/flatpak", "run", "--command=ed", "org.x.Ed"}},
            {"Exec=  ed    -n  ", {"ed", "-n"}},
            {"# Exec=evil\nExec=ed\nExec=other", {"ed"}},
            {"Exec=vim %F\nTerminal=true", {}},
            {"Exec=ed\nHidden=true", {}},
            {"", {}},
            {"Exec=%F", {}},
            {"Exec=\"ed %F", {}},
            {"Type=Link\nExec=ed", {}},
            {"[Desktop Action new]\nExec=ed --new", {}}};
        for (const auto &[lines, expected] : entries) {
            const QString entry = QString::fromUtf8(lines);
            const auto command = hoshi::commandOfDesktopEntry(QStringLiteral("[Desktop Entry]\n%1%2\n").arg(
                entry.startsWith(QLatin1String("Type=")) ? QString() : QStringLiteral("Type=Application\nName=Editor\n"), entry));
            QVERIFY2((command ? QStringList{command->program} + command->arguments : QStringList()) == expected, lines);
        }
    }
};

QTEST_GUILESS_MAIN(TestDesktopEntry)
#include "test_desktop_entry.moc"
