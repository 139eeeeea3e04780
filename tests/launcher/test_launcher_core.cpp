// SPDX-License-Identifier: GPL-3.0-or-later
// The launcher's title ticker.
#include "launcher/title_ticker.h"

#include <QTest>

using namespace hoshi;

class LauncherCoreTest : public QObject {
    Q_OBJECT
private slots:
    void tickerRotatesByCharacters()
    {
        // State: the title. Action: 15 rotations. Expected: one character a step, back at the start.
        const QString start = QStringLiteral("ほしのたまご Ver.２   ");
        QString title = rotateTitle(start);
        QCOMPARE(title, QStringLiteral("しのたまご Ver.２   ほ"));
        for (int tick = 2; tick <= 15; ++tick)
            title = rotateTitle(title);
        QCOMPARE(title, start);
        QCOMPARE(rotateTitle(QString()), QString());
        // A character outside the BMP moves whole, never split into halves.
        QCOMPARE(rotateTitle(QStringLiteral("😀ab")), QStringLiteral("ab😀"));
    }
};

QTEST_GUILESS_MAIN(LauncherCoreTest)
#include "test_launcher_core.moc"
