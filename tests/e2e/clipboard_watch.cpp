// SPDX-License-Identifier: GPL-3.0-or-later
// Prints every change of the system clipboard made by any program, one a
// line: its text with CR, LF and backslash written \r, \n and \\, or
// "(empty)". On X11 Qt learns of each new owner through XFixes, so even a
// change back to the same text is seen.
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QClipboard *clipboard = QGuiApplication::clipboard();
    QObject::connect(clipboard, &QClipboard::dataChanged, clipboard, [clipboard] {
        const QMimeData *data = clipboard->mimeData();
        QString line = data == nullptr || data->formats().isEmpty() ? QStringLiteral("(empty)") : clipboard->text();
        line.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
        line.replace(QLatin1Char('\r'), QStringLiteral("\\r")).replace(QLatin1Char('\n'), QStringLiteral("\\n"));
        std::printf("%s\n", line.toUtf8().constData());
        std::fflush(stdout);
    });
    std::printf("watching\n");
    std::fflush(stdout);
    return QGuiApplication::exec();
}
