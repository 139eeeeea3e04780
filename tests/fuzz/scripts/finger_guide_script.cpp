// SPDX-License-Identifier: GPL-3.0-or-later
// The finger guide: the shown step is always one of the walk's, a right
// character (folded to upper case) moves one on, wrapping after the last, and
// announces the next reading alone; a wrong one announces the key again with
// the cue. Escape asks to close and the window reopens at step 1.

#include "fingers/finger_guide.h"
#include "fingers/finger_steps.h"
#include "platform/api/key_codes.h"
#include "fuzz/scripts/scripts.h"

namespace hoshi::scripts {

namespace {

QString folded(int charCode)
{
    const auto code = static_cast<char32_t>(charCode);
    return QString::fromUcs4(&code, 1).toUpper();
}

class FingerGuideScript : public Script {
public:
    explicit FingerGuideScript(ScriptInput &input) : m_input(input) {}

    void open()
    {
        m_guide.load();
        m_namesShown = true;
        HOSHI_FUZZ_CHECK(m_guide.currentStep() == 1 && m_guide.view().typedText.isEmpty());
        expect(Effect::Announce, fingerSteps().front().reading);
        expect(Effect::Announce, fingerSteps().front().reading);
    }

    void step()
    {
        const int stepBefore = m_guide.currentStep();
        const QString keyBefore = m_guide.view().keyText;
        switch (m_input.between(0, 19)) {
        case 0: return open();
        case 1: case 2: {
            const int keyCode = pickKeyCode(m_input);
            const bool close = m_guide.keyDown(keyCode, pickModifiers(m_input)) == FingerGuide::Request::Close;
            HOSHI_FUZZ_CHECK(close == (keyCode == VkEscape) && m_guide.currentStep() == stepBefore);
            if (close)
                open();
            return;
        }
        case 3: case 4:
            m_namesShown = m_input.flip();
            m_namesShown ? m_guide.showFingerNames() : m_guide.hideFingerNames();
            return;
        case 5:
            m_guide.CurrentStatus();
            return advanced(stepBefore);
        default: {
            const int charCode = pickCharCode(m_input, keyBefore.isEmpty() ? 0 : keyBefore.at(0).unicode());
            m_guide.keyPress(charCode);
            HOSHI_FUZZ_CHECK(m_guide.view().typedText == folded(charCode));
            if (folded(charCode) == keyBefore)
                return advanced(stepBefore);
            HOSHI_FUZZ_CHECK(m_guide.currentStep() == stepBefore);
            expect(Effect::Announce, keyBefore);
            expectCue(Cue::Ding);
        }
        }
    }

    // The shown texts always belong to the current step.
    void check() const
    {
        const int step = m_guide.currentStep();
        HOSHI_FUZZ_CHECK(step >= 1 && step <= FingerStepCount);
        const FingerStep &shown = fingerSteps()[static_cast<std::size_t>(step - 1)];
        const FingerGuideView &view = m_guide.view();
        HOSHI_FUZZ_CHECK(view.keyText == shown.key && view.fingerLabel == shown.fingerLabel);
        HOSHI_FUZZ_CHECK(view.reading == shown.reading && view.fingerLabelVisible == m_namesShown);
    }

private:
    void advanced(int stepBefore)
    {
        HOSHI_FUZZ_CHECK(m_guide.currentStep() == stepBefore % FingerStepCount + 1);
        expect(Effect::Announce, m_guide.view().reading);
    }

    ScriptInput &m_input;
    FingerGuide m_guide{log, log};
    bool m_namesShown = true;
};

} // namespace

void runFingerGuideScript(ScriptInput &input) { drive(input, FingerGuideScript(input)); }

} // namespace hoshi::scripts
