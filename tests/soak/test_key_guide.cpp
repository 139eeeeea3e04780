// SPDX-License-Identifier: GPL-3.0-or-later
// Soak of the key guide: random key-downs (any code, any modifier mask, the
// re-presses it injects fed back as the window would, or dropped), auto-repeat,
// closing and reopening.
// A run feeds 100,000 seeded events to the shared event script, which
// checks the invariants after every event; the run must also have gone
// through the states that matter.
#include "soak/soak_run.h"
#include "support/behaviour_scripts/scripts.h"

#include <QTest>

using hoshi::soak::SoakInput;
namespace scripts = hoshi::scripts;

class KeyGuideSoak : public QObject {
    Q_OBJECT

private slots:
    void key_guide_stays_sound();
};

void KeyGuideSoak::key_guide_stays_sound()
{
    SoakInput input(QStringLiteral("key guide"), 20240101u);
    HOSHI_SOAK(input, scripts::runKeyGuideScript(input));
    QVERIFY(input.counted("injections") > 0);
    QVERIFY(input.counted("re-presses fed back") > 0);
    QVERIFY(input.counted("reopens") > 0);
}

QTEST_GUILESS_MAIN(KeyGuideSoak)
#include "test_key_guide.moc"
