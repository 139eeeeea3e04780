// SPDX-License-Identifier: GPL-3.0-or-later
// The timed drills against a small model of their run: what is shown is always
// a row of the table, the counts, the time and the phase follow the events, and
// the targets, the misses (with the cue) and the score are announced when due.
// (The finger guide's walk has no draws and is tested key by key in tests/fingers.)

#include "fingers/drill_engine.h"
#include "platform/api/key_codes.h"
#include "fuzz/scripts/scripts.h"

#include <cmath>

namespace hoshi::scripts {

namespace {

/// A run is started by Start or by Space and judges characters until its
/// last tick; the bar is the share of time left.
class DrillScript : public Script {
public:
    DrillScript(ScriptInput &input, const DrillProfile &profile)
        : m_input(input), m_random(input), m_drill(profile, log, log, m_random) {}

    void open()
    {
        m_drill.load();
        reset(DrillPhase::Ready);
    }

    void step()
    {
        switch (m_input.between(0, 11)) {
        case 0:
            // Rare while running, so that most runs go on to time-up.
            if (m_phase != DrillPhase::Running || m_input.between(0, 15) == 0)
                open();
            return;
        case 1:
            m_drill.start();
            return reset(DrillPhase::Running);
        case 2: return keyDown();
        case 3: return tick();
        case 4:
            while (m_drill.timerOn())
                tick();
            return;
        case 5: case 6: return m_input.flip() ? m_drill.showFingerNames() : m_drill.hideFingerNames();
        default: return keyPress();
        }
    }

    void check() const
    {
        const DrillView &view = m_drill.view();
        const TargetTable &table = m_drill.profile().table;
        HOSHI_FUZZ_CHECK(m_drill.phase() == m_phase && m_drill.jikan() == m_jikan);
        HOSHI_FUZZ_CHECK(m_drill.maru() == m_maru && m_drill.batsu() == m_batsu);
        HOSHI_FUZZ_CHECK(view.startEnabled == (m_phase != DrillPhase::Running));
        HOSHI_FUZZ_CHECK(view.tokutenVisible == (m_phase == DrillPhase::TimeUp));
        HOSHI_FUZZ_CHECK(std::abs(m_drill.barWidth(1000.0f) - 1000.0 * m_jikan / m_drill.profile().timeLimit) < 0.5);
        HOSHI_FUZZ_CHECK(m_drill.keyNo() >= 1 && m_drill.keyNo() <= static_cast<int>(table.size()));
        const DrillTarget &target = table[static_cast<std::size_t>(m_drill.keyNo() - 1)];
        HOSHI_FUZZ_CHECK(m_phase == DrillPhase::TimeUp ? view.keyText.isEmpty()
                                                       : view.keyText == target.character && view.fingerText == target.fingerLabel);
    }

private:
    // A run starts with its first target announced.
    void reset(DrillPhase phase)
    {
        m_phase = phase;
        m_maru = m_batsu = 0;
        m_jikan = m_drill.profile().timeLimit;
        m_spacePending = false;
        if (phase == DrillPhase::Running)
            expect(Effect::Announce, m_drill.view().keyText);
    }

    // Escape asks to close (the next opening loads afresh); Space outside a run starts one.
    void keyDown()
    {
        int keyCode = m_input.flip() ? VkSpace : pickKeyCode(m_input);
        if (keyCode == VkEscape && m_phase == DrillPhase::Running && m_input.between(0, 7) != 0)
            keyCode = VkSpace;
        const bool starts = keyCode == VkSpace && m_phase != DrillPhase::Running;
        const DrillEngine::KeyResult result = m_drill.keyDown(keyCode, pickModifiers(m_input));
        using enum DrillEngine::KeyResult;
        HOSHI_FUZZ_CHECK(result == (keyCode == VkEscape ? Close : starts ? Started : None));
        if (keyCode == VkEscape)
            open();
        else if (starts)
            reset(DrillPhase::Running);
        m_spacePending = starts; // the character of that Space may follow
    }

    /// Judged only during a run, and not the blank of the Space that started it:
    /// a hit announces the next target, a miss the same one again with the cue.
    void keyPress()
    {
        const QString key = m_drill.view().keyText;
        const int target = key.isEmpty() ? ' ' : key.at(0).unicode();
        const int charCode = m_spacePending && m_input.flip() ? ' ' : pickCharCode(m_input, target);
        const bool swallowed = std::exchange(m_spacePending, false) && charCode == ' ';
        m_drill.keyPress(charCode);
        if (swallowed || m_phase != DrillPhase::Running)
            return;
        if (charCode == target || (target >= 'A' && target <= 'Z' && charCode == target + ('a' - 'A'))) {
            ++m_maru;
            return expect(Effect::Announce, m_drill.view().keyText);
        }
        ++m_batsu;
        expect(Effect::Announce, key);
        expectCue(Cue::Ding);
    }

    // A stray tick outside a run does nothing; the last one of a run says the score.
    void tick()
    {
        m_drill.tick();
        if (m_phase == DrillPhase::Running && --m_jikan == 0) {
            m_phase = DrillPhase::TimeUp;
            expect(Effect::Announce, QStringLiteral("得点 ") + QString::number(m_maru - m_batsu));
        }
    }

    ScriptInput &m_input;
    InputRandom m_random;
    DrillEngine m_drill;
    DrillPhase m_phase = DrillPhase::Ready;
    int m_maru = 0, m_batsu = 0, m_jikan = 0;
    bool m_spacePending = false;
};

} // namespace

void runDrillScript(ScriptInput &input, bool numbersAndSymbols)
{
    drive(DrillScript(input, numbersAndSymbols ? numbersAndSymbolsDrillProfile() : alphabetDrillProfile()), input);
}

} // namespace hoshi::scripts
