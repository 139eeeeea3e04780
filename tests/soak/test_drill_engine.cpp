// SPDX-License-Identifier: GPL-3.0-or-later
// Soak of the drill engine with both drill tables, with fair and with
// careless random draws: targets typed right and wrong, ticks, Space,
// START/RETRY, Escape and reopening, the finger-name menu.
// A run feeds 100,000 seeded events to the shared event script, which
// checks the invariants after every event; the run must also have gone
// through the states that matter.
#include "soak/soak_run.h"
#include "support/behaviour_scripts/scripts.h"

#include <QTest>

using hoshi::soak::SoakInput;
namespace scripts = hoshi::scripts;

class DrillEngineSoak : public QObject {
    Q_OBJECT

private slots:
    void drills_keep_counts_labels_and_timer_true_data();
    void drills_keep_counts_labels_and_timer_true();
};

void DrillEngineSoak::drills_keep_counts_labels_and_timer_true_data()
{
    QTest::addColumn<bool>("numbersAndSymbols");
    QTest::addColumn<bool>("careless");
    QTest::addColumn<uint>("seed");
    QTest::newRow("alphabet, fair draws") << false << false << 20240303u;
    QTest::newRow("numbers and symbols, fair draws") << true << false << 20240304u;
    QTest::newRow("alphabet, careless draws") << false << true << 20240305u;
    QTest::newRow("numbers and symbols, careless draws") << true << true << 20240306u;
}

void DrillEngineSoak::drills_keep_counts_labels_and_timer_true()
{
    QFETCH(bool, numbersAndSymbols);
    QFETCH(bool, careless);
    QFETCH(uint, seed);
    SoakInput input(QStringLiteral("drill: %1").arg(QString::fromUtf8(QTest::currentDataTag())), seed);
    HOSHI_SOAK(input, scripts::runDrillScript(input, numbersAndSymbols, careless));
    QVERIFY2(input.counted("every row drawn") == 1, "a row of the table was never drawn");
    QVERIFY(input.counted("time-ups") > 0);
    QVERIFY(input.counted("hits") > 0);
    QVERIFY(input.counted("misses") > 0);
    QVERIFY(input.counted("start characters swallowed") > 0);
}

QTEST_GUILESS_MAIN(DrillEngineSoak)
#include "test_drill_engine.moc"
