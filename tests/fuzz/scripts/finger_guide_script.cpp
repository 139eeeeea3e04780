// SPDX-License-Identifier: GPL-3.0-or-later
// The finger guide: the shown step is always one of the 43, a right
// character (judged folded to upper case) moves on, wrapping after ":", and
// announces the next reading alone; a wrong one announces the key again and
// plays the cue. Escape asks to close and the window reopens at step 1.

#include "fingers/finger_guide.h"
#include "fingers/finger_steps.h"
#include "platform/api/key_codes.h"
#include "fuzz/scripts/scripts.h"
#include "support/fakes.h"

#include <vector>

namespace hoshi::scripts {

namespace {

using testing::Effect;
using testing::RecordingServices;

// What the guide compares: the typed character folded to upper case.
QString folded(int charCode)
{
    const auto code = static_cast<char32_t>(charCode);
    return QString::fromUcs4(&code, 1).toUpper();
}

class FingerGuideScript {
public:
    explicit FingerGuideScript(ScriptInput &input) : m_input(input), m_guide(m_log, m_log) {}

    void run()
    {
        open();
        while (m_input.nextEvent()) {
            step();
            checkStep();
        }
    }

private:
    void step()
    {
        const std::size_t logSize = m_log.log.size();
        switch (m_input.between(0, 19)) {
        case 0: open(); break;
        case 1: case 2: keyDown(logSize); break;
        case 3: case 4: {
            m_namesShown = m_input.flip();
            m_namesShown ? m_guide.showFingerNames() : m_guide.hideFingerNames();
            HOSHI_SCRIPT_CHECK(m_log.log.size() == logSize);
            break;
        }
        case 5: {
            const int stepBefore = m_guide.currentStep();
            m_guide.CurrentStatus();
            checkAdvance(logSize, stepBefore);
            break;
        }
        default: keyPress(logSize); break;
        }
    }

    void open()
    {
        const std::size_t logSize = m_log.log.size();
        m_guide.load();
        m_namesShown = true;
        checkStep();
        HOSHI_SCRIPT_CHECK(m_guide.currentStep() == 1);
        HOSHI_SCRIPT_CHECK(m_guide.view().typedText.isEmpty());
        const QString first = fingerSteps().front().reading;
        HOSHI_SCRIPT_CHECK(m_log.effectsSince(logSize)
                           == (std::vector<Effect>{{Effect::Announce, first}, {Effect::Announce, first}}));
    }

    void keyDown(std::size_t logSize)
    {
        const int stepBefore = m_guide.currentStep();
        const int keyCode = pickKeyCode(m_input);
        const FingerGuide::Request request = m_guide.keyDown(keyCode, pickModifiers(m_input));
        HOSHI_SCRIPT_CHECK((request == FingerGuide::Request::Close) == (keyCode == VkEscape));
        HOSHI_SCRIPT_CHECK(m_log.log.size() == logSize && m_guide.currentStep() == stepBefore);
        if (request == FingerGuide::Request::Close) {
            open(); // the window closes; the next opening loads afresh
        }
    }

    void keyPress(std::size_t logSize)
    {
        const int stepBefore = m_guide.currentStep();
        const QString keyBefore = m_guide.view().keyText;
        const int charCode = pickCharCode(m_input, keyBefore.isEmpty() ? 0 : keyBefore.at(0).unicode());
        m_guide.keyPress(charCode);
        HOSHI_SCRIPT_CHECK(m_guide.view().typedText == folded(charCode));
        if (folded(charCode) == keyBefore) {
            checkAdvance(logSize, stepBefore);
            return;
        }
        HOSHI_SCRIPT_CHECK(m_guide.currentStep() == stepBefore);
        const std::vector<Effect> wrong{{Effect::Announce, keyBefore}, {Effect::Cue, {}, Cue::Ding}};
        HOSHI_SCRIPT_CHECK(m_log.effectsSince(logSize) == wrong);
    }

    // One step on, wrapping after the last, and its reading announced alone.
    void checkAdvance(std::size_t logSize, int stepBefore)
    {
        HOSHI_SCRIPT_CHECK(m_guide.currentStep() == stepBefore % FingerStepCount + 1);
        HOSHI_SCRIPT_CHECK(m_log.effectsSince(logSize) == std::vector<Effect>{{Effect::Announce, m_guide.view().reading}});
    }

    // The shown texts always belong to the current step, and the step is in the walk.
    void checkStep() const
    {
        const int step = m_guide.currentStep();
        HOSHI_SCRIPT_CHECK(step >= 1 && step <= FingerStepCount);
        const FingerStep &shown = fingerSteps()[static_cast<std::size_t>(step - 1)];
        HOSHI_SCRIPT_CHECK(m_guide.view().keyText == shown.key);
        HOSHI_SCRIPT_CHECK(m_guide.view().fingerLabel == shown.fingerLabel);
        HOSHI_SCRIPT_CHECK(m_guide.view().reading == shown.reading);
        HOSHI_SCRIPT_CHECK(m_guide.view().fingerLabelVisible == m_namesShown);
    }

    ScriptInput &m_input;
    RecordingServices m_log;
    FingerGuide m_guide;
    bool m_namesShown = true; ///< what the menu last asked for
};

} // namespace

void runFingerGuideScript(ScriptInput &input)
{
    FingerGuideScript script(input);
    script.run();
}

} // namespace hoshi::scripts
