// SPDX-License-Identifier: GPL-3.0-or-later
// Soak of the typing exercise, Japanese and English, with fair and careless
// draws: typed lines right and wrong, Enter, Ctrl, Esc, ticks, time-limit
// entries, practice files loaded while they are rewritten, deleted or are no
// files at all, closing and reopening.
// A run feeds 100,000 seeded events to the shared event script, which
// checks the invariants after every event; the run must also have gone
// through the states that matter.
#include "soak/soak_run.h"
#include "support/behaviour_scripts/scripts.h"

#include <QTest>

using hoshi::soak::SoakInput;
namespace scripts = hoshi::scripts;

class TypingExerciseSoak : public QObject {
    Q_OBJECT

private slots:
    void typing_keeps_counts_timer_and_text_true_data();
    void typing_keeps_counts_timer_and_text_true();
};

void TypingExerciseSoak::typing_keeps_counts_timer_and_text_true_data()
{
    QTest::addColumn<bool>("english");
    QTest::addColumn<bool>("careless");
    QTest::addColumn<uint>("seed");
    QTest::newRow("Japanese, fair draws") << false << false << 20240401u;
    QTest::newRow("English, fair draws") << true << false << 20240402u;
    QTest::newRow("Japanese, careless draws") << false << true << 20240403u;
    QTest::newRow("English, careless draws") << true << true << 20240404u;
}

void TypingExerciseSoak::typing_keeps_counts_timer_and_text_true()
{
    QFETCH(bool, english);
    QFETCH(bool, careless);
    QFETCH(uint, seed);
    SoakInput input(QStringLiteral("typing: %1").arg(QString::fromUtf8(QTest::currentDataTag())), seed);
    HOSHI_SOAK(input, scripts::runTypingScript(input, english, careless));
    QVERIFY(input.counted("time-ups") > 0);
    QVERIFY(input.counted("right lines") > 0);
    QVERIFY(input.counted("wrong tries") > 0);
    QVERIFY(input.counted("loads checked line by line") > 0);
    QVERIFY(input.counted("failed loads") > 0);
}

QTEST_GUILESS_MAIN(TypingExerciseSoak)
#include "test_typing_exercise.moc"
