// Soak of the finger guide: right and wrong characters of every kind,
// key-downs (Escape closes and the window reopens), the finger-name menu and
// reopening, with its invariants checked after every event.
#include "fingers/finger_guide.h"
#include "fingers/finger_steps.h"
#include "soak/soak_run.h"
#include "support/fakes.h"

#include <QTest>

#include <climits>

using hoshi::Cue;
using hoshi::FingerGuide;
using hoshi::fingerSteps;
using hoshi::FingerStepCount;
using hoshi::soak::SoakFailure;
using hoshi::soak::SoakRun;
using hoshi::testing::Effect;
using hoshi::testing::RecordingServices;

namespace {

constexpr int Escape = 27;

struct Rig {
    RecordingServices services;
    FingerGuide guide{services, services};
    bool namesShown = true; ///< what the menu last asked for
};

// The character that types the shown key: the key itself, or a letter in lower case.
int rightCharacter(SoakRun &run, const QString &key)
{
    const QChar c = key.at(0);
    return run.percent(50) ? c.toLower().unicode() : c.unicode();
}

int randomCharacter(SoakRun &run)
{
    static const int controls[] = {8, 9, 13, 27, 0, 127};
    static const int odd[] = {-1, 0xD800, 0xDFFF, 0xFFFF, 0x110000, INT_MAX, INT_MIN, 0x0131, 0x017F, 0xFF21};
    const int kind = run.below(100);
    if (kind < 60)
        return run.between(32, 126);
    if (kind < 75)
        return run.pick(controls);
    if (kind < 92)
        return run.between(0x80, 0xFFFF);
    return run.pick(odd);
}

// What the guide compares: the typed character folded to upper case.
QString folded(int charCode)
{
    const auto code = static_cast<char32_t>(charCode);
    return QString::fromUcs4(&code, 1).toUpper();
}

} // namespace

class FingerGuideSoak : public QObject {
    Q_OBJECT

private slots:
    void random_typing_walks_the_steps_in_order();

private:
    void checkStep(SoakRun &run, const Rig &rig);
    void checkOpen(SoakRun &run, Rig &rig);
    void checkKeyPress(SoakRun &run, Rig &rig, int charCode, bool meantRight);
    void checkAdvance(SoakRun &run, const Rig &rig, int stepBefore);
};

// The shown texts always belong to the current step, and the step is in the walk.
void FingerGuideSoak::checkStep(SoakRun &run, const Rig &rig)
{
    const int step = rig.guide.currentStep();
    run.require(step >= 1 && step <= FingerStepCount, "step inside the walk");
    const hoshi::FingerStep &shown = fingerSteps()[static_cast<std::size_t>(step - 1)];
    run.requireEqual(rig.guide.view().keyText, shown.key, "key text of the step");
    run.requireEqual(rig.guide.view().fingerLabel, shown.fingerLabel, "finger label of the step");
    run.requireEqual(rig.guide.view().reading, shown.reading, "reading of the step");
    run.require(rig.guide.view().fingerLabelVisible == rig.namesShown, "finger label shown as the menu asked");
}

void FingerGuideSoak::checkOpen(SoakRun &run, Rig &rig)
{
    rig.guide.load();
    rig.namesShown = true;
    checkStep(run, rig);
    run.requireEqual(rig.guide.currentStep(), 1, "opening starts at step 1");
    run.requireEqual(rig.guide.view().typedText, QString(), "no typed character on opening");
    const QStringList said = rig.services.announcements();
    run.requireEqual(static_cast<long long>(rig.services.log.size()), 2, "opening announces twice, nothing else");
    run.requireEqual(said.value(0), fingerSteps().front().reading, "first announcement on opening");
    run.requireEqual(said.value(1), fingerSteps().front().reading, "second announcement on opening");
}

// One step on, wrapping after the last, and its reading announced alone.
void FingerGuideSoak::checkAdvance(SoakRun &run, const Rig &rig, int stepBefore)
{
    run.requireEqual(rig.guide.currentStep(), stepBefore % FingerStepCount + 1, "the next step");
    run.requireEqual(static_cast<long long>(rig.services.log.size()), 1, "one effect for a step");
    run.require(rig.services.log.front().kind == Effect::Announce, "a step is announced");
    run.requireEqual(rig.services.log.front().text, rig.guide.view().reading, "the new step's reading");
    if (stepBefore == FingerStepCount)
        run.count("wraps");
}

void FingerGuideSoak::checkKeyPress(SoakRun &run, Rig &rig, int charCode, bool meantRight)
{
    const int stepBefore = rig.guide.currentStep();
    const QString keyBefore = rig.guide.view().keyText;
    const bool right = folded(charCode) == keyBefore;
    run.require(!meantRight || right, "the shown key, typed, is right");
    rig.guide.keyPress(charCode);
    run.requireEqual(rig.guide.view().typedText, folded(charCode), "typed character shown folded");
    if (right) {
        checkAdvance(run, rig, stepBefore);
        run.count("right keys");
        return;
    }
    run.requireEqual(rig.guide.currentStep(), stepBefore, "a wrong key keeps the step");
    const auto &log = rig.services.log;
    run.requireEqual(static_cast<long long>(log.size()), 2, "a wrong key: announcement and cue");
    run.require(log[0].kind == Effect::Announce, "the target is announced first");
    run.requireEqual(log[0].text, keyBefore, "a wrong key announces the target again");
    run.require(log[1].kind == Effect::Cue && log[1].cue == Cue::Ding, "then the wrong-key cue");
    run.count("wrong keys");
}

void FingerGuideSoak::random_typing_walks_the_steps_in_order()
{
    SoakRun run(QStringLiteral("finger guide"), 20240202u);
    Rig rig;
    try {
        run.begin(0, QStringLiteral("open"));
        checkOpen(run, rig);
        for (int i = 1; i < run.eventCount(); ++i) {
            rig.services.clear();
            const int kind = run.below(100);
            if (kind < 50) {
                const int c = rightCharacter(run, rig.guide.view().keyText);
                run.begin(i, QStringLiteral("keyPress(%1) right").arg(c));
                checkKeyPress(run, rig, c, true);
            } else if (kind < 78) {
                const int c = randomCharacter(run);
                run.begin(i, QStringLiteral("keyPress(%1)").arg(c));
                checkKeyPress(run, rig, c, false);
            } else if (kind < 92) {
                const int code = run.percent(10) ? Escape : run.below(256);
                run.begin(i, QStringLiteral("keyDown(%1)").arg(code));
                const FingerGuide::Request request = rig.guide.keyDown(code, run.below(8));
                run.require(request == (code == Escape ? FingerGuide::Request::Close : FingerGuide::Request::None),
                            "only Escape asks to close");
                run.require(rig.services.log.empty(), "a key-down announces nothing");
                if (request == FingerGuide::Request::Close) {
                    run.begin(i, QStringLiteral("reopen after Escape"));
                    checkOpen(run, rig);
                    run.count("closes");
                }
            } else if (kind < 97) {
                rig.namesShown = run.percent(50);
                run.begin(i, rig.namesShown ? QStringLiteral("show finger names") : QStringLiteral("hide finger names"));
                rig.namesShown ? rig.guide.showFingerNames() : rig.guide.hideFingerNames();
                run.require(rig.services.log.empty(), "the menu announces nothing");
            } else if (kind < 99) {
                const int stepBefore = rig.guide.currentStep();
                run.begin(i, QStringLiteral("CurrentStatus()"));
                rig.guide.CurrentStatus();
                checkAdvance(run, rig, stepBefore);
            } else {
                run.begin(i, QStringLiteral("reopen"));
                checkOpen(run, rig);
                run.count("reopens");
            }
            checkStep(run, rig);
        }
    } catch (const SoakFailure &failure) {
        QFAIL(qPrintable(failure.message));
    }
    run.printTally();
    QVERIFY(run.counted("wraps") > 0);
    QVERIFY(run.counted("wrong keys") > 0);
    QVERIFY(run.counted("closes") > 0);
}

QTEST_GUILESS_MAIN(FingerGuideSoak)
#include "test_finger_guide.moc"
