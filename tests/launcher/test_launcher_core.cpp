// SPDX-License-Identifier: GPL-3.0-or-later
// The launcher's layout in twips and its title ticker.
#include "launcher/launcher_layout.h"
#include "launcher/title_ticker.h"

#include <QTest>

using namespace hoshi;

class LauncherCoreTest : public QObject {
    Q_OBJECT
private slots:
    void launcherLayoutInTwips()
    {
        // A 1000 x 1000 twips client: U = 200, W = 990.
        const LauncherLayout layout = launcherLayout(hoshi::layoutUnits(1000, 1000));
        QCOMPARE(layout.title, (TwipsRect{49.5, 40, 891, 120}));
        const std::array<TwipsRect, 6> entries{{{49.5, 200, 396, 200}, {49.5, 450, 396, 200},
                                                {49.5, 700, 396, 200}, {544.5, 200, 396, 200},
                                                {544.5, 450, 396, 200}, {544.5, 700, 396, 200}}};
        for (std::size_t i = 0; i < entries.size(); ++i)
            QCOMPARE(layout.entries[i], entries[i]);
    }

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
