// SPDX-License-Identifier: GPL-3.0-or-later
// Soak of the finger guide: right and wrong characters of every kind,
// key-downs (Escape closes and the window reopens), the finger-name menu,
// CurrentStatus and reopening.
// A run feeds 100,000 seeded events to the shared event script, which
// checks the invariants after every event; the run must also have gone
// through the states that matter.
#include "soak/soak_run.h"
#include "support/behaviour_scripts/scripts.h"

#include <QTest>

using hoshi::soak::SoakInput;
namespace scripts = hoshi::scripts;

class FingerGuideSoak : public QObject {
    Q_OBJECT

private slots:
    void finger_guide_walks_the_steps_in_order();
};

void FingerGuideSoak::finger_guide_walks_the_steps_in_order()
{
    SoakInput input(QStringLiteral("finger guide"), 20240202u);
    HOSHI_SOAK(input, scripts::runFingerGuideScript(input));
    QVERIFY(input.counted("wraps") > 0);
    QVERIFY(input.counted("wrong keys") > 0);
    QVERIFY(input.counted("closes") > 0);
}

QTEST_GUILESS_MAIN(FingerGuideSoak)
#include "test_finger_guide.moc"
