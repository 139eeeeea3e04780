// SPDX-License-Identifier: GPL-3.0-or-later
// Prints every change of the clipboard's owner, one a line: its text with \, CR and
// LF escaped, or "(empty)". Through XFixes even a change back to the same text is seen.
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
        line.replace(QStringLiteral("\\"), QStringLiteral("\\\\")).replace(QStringLiteral("\r"), QStringLiteral("\\r"));
        line.replace(QStringLiteral("\n"), QStringLiteral("\\n"));
        std::printf("%s\n", line.toUtf8().constData());
        std::fflush(stdout);
    });
    std::printf("watching\n");
    std::fflush(stdout);
    return QGuiApplication::exec();
}
