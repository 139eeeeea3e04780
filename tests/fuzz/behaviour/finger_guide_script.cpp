// The finger guide: the shown step is always one of the 43, a right
// character moves on (wrapping after ":") and announces the next reading, a
// wrong one announces the key again and plays the cue.

#include "fingers/finger_guide.h"
#include "fingers/finger_steps.h"
#include "fuzz/behaviour/scripts.h"
#include "platform/key_event.h"
#include "support/fakes.h"

#include <vector>

namespace hoshi::fuzzing {

namespace {

using testing::Effect;
using testing::RecordingServices;

std::vector<Effect> effectsSince(const RecordingServices &log, std::size_t from)
{
    return {log.log.begin() + static_cast<std::ptrdiff_t>(from), log.log.end()};
}

void checkStep(const FingerGuide &guide)
{
    const int step = guide.currentStep();
    HOSHI_FUZZ_CHECK(step >= 1 && step <= FingerStepCount);
    const FingerStep &shown = fingerSteps()[static_cast<std::size_t>(step - 1)];
    HOSHI_FUZZ_CHECK(guide.view().keyText == shown.key);
    HOSHI_FUZZ_CHECK(guide.view().fingerLabel == shown.fingerLabel);
    HOSHI_FUZZ_CHECK(guide.view().reading == shown.reading);
}

void checkKeyPress(const FingerGuide &guide, const RecordingServices &log, std::size_t logSize,
                   int stepBefore, const QString &keyBefore)
{
    if (guide.view().typedText == keyBefore) {
        const int next = stepBefore == FingerStepCount ? 1 : stepBefore + 1;
        HOSHI_FUZZ_CHECK(guide.currentStep() == next);
        HOSHI_FUZZ_CHECK(effectsSince(log, logSize) == std::vector<Effect>{{Effect::Announce, guide.view().reading}});
        return;
    }
    HOSHI_FUZZ_CHECK(guide.currentStep() == stepBefore);
    const std::vector<Effect> wrong{{Effect::Announce, keyBefore}, {Effect::Cue, {}, Cue::Ding}};
    HOSHI_FUZZ_CHECK(effectsSince(log, logSize) == wrong);
}

} // namespace

void runFingerGuideScript(FuzzedDataProvider &input)
{
    RecordingServices log;
    FingerGuide guide(log, log);
    guide.load();
    checkStep(guide);
    for (int event = 0; event < MaxEvents && input.remaining_bytes() > 0; ++event) {
        const std::size_t logSize = log.log.size();
        const int stepBefore = guide.currentStep();
        const QString keyBefore = guide.view().keyText;
        switch (input.ConsumeIntegralInRange(0, 9)) {
        case 0:
            guide.load();
            HOSHI_FUZZ_CHECK(guide.currentStep() == 1);
            HOSHI_FUZZ_CHECK(effectsSince(log, logSize)
                             == (std::vector<Effect>{{Effect::Announce, guide.view().reading},
                                                     {Effect::Announce, guide.view().reading}}));
            break;
        case 1: {
            const int keyCode = pickKeyCode(input);
            const FingerGuide::Request request = guide.keyDown(keyCode, pickModifiers(input));
            HOSHI_FUZZ_CHECK((request == FingerGuide::Request::Close) == (keyCode == VkEscape));
            HOSHI_FUZZ_CHECK(log.log.size() == logSize && guide.currentStep() == stepBefore);
            break;
        }
        case 2:
            guide.hideFingerNames();
            HOSHI_FUZZ_CHECK(!guide.view().fingerLabelVisible && log.log.size() == logSize);
            break;
        case 3:
            guide.showFingerNames();
            HOSHI_FUZZ_CHECK(guide.view().fingerLabelVisible && log.log.size() == logSize);
            break;
        default:
            guide.keyPress(pickCharCode(input, keyBefore.isEmpty() ? 0 : keyBefore.at(0).unicode()));
            checkKeyPress(guide, log, logSize, stepBefore, keyBefore);
            break;
        }
        checkStep(guide);
    }
}

} // namespace hoshi::fuzzing
