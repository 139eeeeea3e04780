// SPDX-License-Identifier: GPL-3.0-or-later
// The floor: a bare Qt Widgets program that draws what the launcher must draw
// first (a screen-sized window, 80-point Japanese text) and puts one text on
// the clipboard once shown, as the launcher does.
#include <QApplication>
#include <QClipboard>
#include <QFont>
#include <QLabel>
#include <QMainWindow>
#include <QScreen>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("bare"));
    auto *label = new QLabel(QStringLiteral("１　押せばわかる"), &window);
    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setPointSize(80);
    label->setFont(font);
    window.setCentralWidget(label);
    window.setGeometry(QGuiApplication::primaryScreen()->geometry());
    window.show();
    QGuiApplication::clipboard()->setText(QStringLiteral("１\r\n押せばわかる"));
    return QApplication::exec();
}
