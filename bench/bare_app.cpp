// SPDX-License-Identifier: GPL-3.0-or-later
// The floor: a bare Qt Widgets program that shows a full-screen window and
// puts one text on the clipboard once shown, as the launcher does.
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMainWindow>
#include <QScreen>
#include <QTimer>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("bare"));
    window.setCentralWidget(new QLabel(QStringLiteral("ほしのたまご"), &window));
    window.setGeometry(QGuiApplication::primaryScreen()->geometry());
    window.show();
    QTimer::singleShot(0, &app, [] {
        QGuiApplication::clipboard()->setText(QStringLiteral("１\r\n押せばわかる"));
    });
    return QApplication::exec();
}
