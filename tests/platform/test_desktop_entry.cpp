// Reading the desktop's default text editor from freedesktop files.
#include "platform/desktop_entry.h"

#include <QTest>

using hoshi::ProgramCommand;

Q_DECLARE_METATYPE(std::optional<ProgramCommand>)

namespace {
QString entry(const QString &lines)
{
    return QStringLiteral("[Desktop Entry]\nType=Application\nName=Editor\n") + lines + QLatin1Char('\n');
}
} // namespace

class TestDesktopEntry : public QObject {
    Q_OBJECT
private slots:
    void command_of_desktop_entry_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<ProgramCommand>>("expected");
        const auto cmd = [](const char *program, QStringList args = {}) {
            return std::optional<ProgramCommand>(ProgramCommand{QString::fromUtf8(program), args});
        };
        QTest::newRow("file code dropped") << entry("Exec=gedit %U") << cmd("gedit");
        QTest::newRow("options kept") << entry("Exec=kate -b %U") << cmd("kate", {"-b"});
        QTest::newRow("quoted program")
            << entry("Exec=\"/opt/My Editor/editor\" --new-window %F")
            << cmd("/opt/My Editor/editor", {"--new-window"});
        QTest::newRow("escaped quote in quotes")
            << entry("Exec=ed \"--title=say \\\\\"hi\\\\\"\"") << cmd("ed", {"--title=say \"hi\""});
        QTest::newRow("percent sign kept") << entry("Exec=ed --title=100%% %f") << cmd("ed", {"--title=100%"});
        QTest::newRow("code inside an argument") << entry("Exec=ed --file=%f --x") << cmd("ed", {"--file=", "--x"});
        QTest::newRow("icon and name codes") << entry("Exec=ed %i %c %k") << cmd("ed");
        QTest::newRow("flatpak markers")
            << entry("Exec=/usr/bin/flatpak run --command=ed org.x.Ed @@ %F @@")
            << cmd("/usr/bin/flatpak", {"run", "--command=ed", "org.x.Ed"});
        QTest::newRow("spaces collapse") << entry("Exec=  ed    -n  ") << cmd("ed", {"-n"});
        const std::optional<ProgramCommand> none;
        QTest::newRow("terminal editor refused") << entry("Exec=vim %F\nTerminal=true") << none;
        QTest::newRow("hidden entry refused") << entry("Exec=ed\nHidden=true") << none;
        QTest::newRow("no exec") << entry("") << none;
        QTest::newRow("only a field code") << entry("Exec=%F") << none;
        QTest::newRow("unbalanced quote") << entry("Exec=\"ed %F") << none;
        QTest::newRow("link, not application")
            << QStringLiteral("[Desktop Entry]\nType=Link\nExec=ed\n") << none;
        QTest::newRow("exec of an action only")
            << QStringLiteral("[Desktop Entry]\nType=Application\n[Desktop Action new]\nExec=ed --new\n")
            << none;
        QTest::newRow("first exec wins, comments skipped")
            << entry("# Exec=evil\nExec=ed\nExec=other") << cmd("ed");
    }

    void command_of_desktop_entry()
    {
        // State: the text of a .desktop file.  Action: read its command.
        QFETCH(QString, text);
        QFETCH(std::optional<ProgramCommand>, expected);
        // Expected: the program and arguments to start without a file, or none.
        const std::optional<ProgramCommand> actual = hoshi::commandOfDesktopEntry(text);
        QCOMPARE(actual.has_value(), expected.has_value());
        if (expected) {
            QCOMPARE(actual->program, expected->program);
            QCOMPARE(actual->arguments, expected->arguments);
        }
    }

    void defaults_in_mime_apps_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("list in order")
            << QStringLiteral("[Default Applications]\ntext/plain=a.desktop;b.desktop;\n")
            << QStringList{"a.desktop", "b.desktop"};
        QTest::newRow("other sections ignored")
            << QStringLiteral("[Added Associations]\ntext/plain=c.desktop\n"
                              "[Default Applications]\ntext/html=h.desktop\n")
            << QStringList{};
        QTest::newRow("other types ignored")
            << QStringLiteral("[Default Applications]\ntext/plain-x=x.desktop\ntext/plain = p.desktop\n")
            << QStringList{"p.desktop"};
        QTest::newRow("empty file") << QString() << QStringList{};
    }

    void defaults_in_mime_apps()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        QCOMPARE(hoshi::defaultsInMimeApps(text, QStringLiteral("text/plain")), expected);
    }
};

QTEST_GUILESS_MAIN(TestDesktopEntry)
#include "test_desktop_entry.moc"
