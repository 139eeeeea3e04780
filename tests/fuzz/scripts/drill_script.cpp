// SPDX-License-Identifier: GPL-3.0-or-later
// The timed drills, followed by a small model: the target is always a row of
// the table, the counts, the time and the phase follow the events, the bar is
// the share of time left, the timer runs exactly while a run does, and the
// target, a miss and the score are announced when they are due.

#include "fingers/drill_engine.h"
#include "fingers/drill_tables.h"
#include "platform/api/key_codes.h"
#include "fuzz/scripts/scripts.h"

#include <cmath>

namespace hoshi::scripts {

namespace {

bool isTarget(int charCode, const QString &target)
{
    const int t = target.size() == 1 ? target.at(0).unicode() : -1;
    return charCode == t || (t >= 'A' && t <= 'Z' && charCode == t + ('a' - 'A'));
}

class DrillScript : public Script {
public:
    DrillScript(ScriptInput &input, const DrillProfile &profile, bool careless)
        : m_input(input), m_random(input, careless), m_drill(profile, log, log, m_random)
    {
    }

    void open()
    {
        m_drill.load();
        reset(DrillPhase::Ready);
        // Hidden until a start shows the names last chosen: shown, until the window applies its choice.
        m_namesShown = false;
        m_namesWanted = true;
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
            return started(false);
        case 2: return keyDown();
        case 3: return tick();
        case 4:
            while (m_drill.timerOn())
                tick();
            return;
        case 5: case 6:
            m_namesWanted = m_namesShown = m_input.flip();
            m_namesWanted ? m_drill.showFingerNames() : m_drill.hideFingerNames();
            return;
        default: return keyPress();
        }
    }

    void check() const
    {
        const DrillView &view = m_drill.view();
        HOSHI_FUZZ_CHECK(m_drill.phase() == m_phase && m_drill.jikan() == m_jikan);
        HOSHI_FUZZ_CHECK(m_drill.maru() == m_maru && m_drill.batsu() == m_batsu);
        HOSHI_FUZZ_CHECK(view.fingerVisible == m_namesShown);
        HOSHI_FUZZ_CHECK(m_drill.timerOn() == (m_phase == DrillPhase::Running));
        HOSHI_FUZZ_CHECK(view.startEnabled == (m_phase != DrillPhase::Running));
        HOSHI_FUZZ_CHECK(view.tokutenVisible == (m_phase == DrillPhase::TimeUp));
        HOSHI_FUZZ_CHECK(view.keyVisible == (m_phase == DrillPhase::Running) || m_phase == DrillPhase::TimeUp);
        // The bar never spills past its box, and is the share of time left.
        for (const int box : {0, 1, 7, 333, 1279, 7680}) {
            const float width = m_drill.barWidth(static_cast<float>(box));
            HOSHI_FUZZ_CHECK(width >= 0.0f && std::lround(width) <= box);
            HOSHI_FUZZ_CHECK(std::abs(width - box * static_cast<double>(m_jikan) / limit()) < 0.5);
        }
        const TargetTable &table = m_drill.profile().table;
        HOSHI_FUZZ_CHECK(m_drill.keyNo() >= 1 && m_drill.keyNo() <= static_cast<int>(table.size()));
        if (m_phase == DrillPhase::TimeUp) {
            HOSHI_FUZZ_CHECK(view.keyText.isEmpty());
            return;
        }
        const DrillTarget &target = table[static_cast<std::size_t>(m_drill.keyNo() - 1)];
        HOSHI_FUZZ_CHECK(view.keyText == target.character && view.fingerText == target.fingerLabel);
    }

private:
    int limit() const { return m_drill.profile().timeLimit; }

    void reset(DrillPhase phase)
    {
        m_phase = phase;
        m_maru = m_batsu = m_ticks = 0;
        m_jikan = limit();
    }

    void started(bool bySpace)
    {
        reset(DrillPhase::Running);
        m_namesShown = m_namesWanted;
        m_spacePending = bySpace; // the character of that Space may follow
        expect(Effect::Announce, m_drill.view().keyText);
    }

    void keyDown()
    {
        int keyCode = m_input.flip() ? VkSpace : pickKeyCode(m_input);
        if (keyCode == VkEscape && m_phase == DrillPhase::Running && m_input.between(0, 7) != 0)
            keyCode = VkSpace;
        const DrillEngine::KeyResult result = m_drill.keyDown(keyCode, pickModifiers(m_input));
        m_spacePending = false;
        if (keyCode == VkEscape) {
            HOSHI_FUZZ_CHECK(result == DrillEngine::KeyResult::Close);
            open(); // the window closes; the next opening loads afresh
        } else if (keyCode == VkSpace && m_phase != DrillPhase::Running) {
            HOSHI_FUZZ_CHECK(result == DrillEngine::KeyResult::Started);
            started(true);
        } else {
            HOSHI_FUZZ_CHECK(result == DrillEngine::KeyResult::None);
        }
    }

    /// Judged only during a run, and not the blank of the Space that started it:
    /// a hit announces the next target, a miss the same one again with the cue.
    void keyPress()
    {
        const QString key = m_drill.view().keyText;
        const QString echo = m_drill.view().echoText;
        const int charCode = m_spacePending && m_input.flip() ? ' ' : pickCharCode(m_input, key.isEmpty() ? ' ' : key.at(0).unicode());
        const bool swallowed = m_spacePending && charCode == ' ';
        m_spacePending = false;
        m_drill.keyPress(charCode);
        if (swallowed || m_phase != DrillPhase::Running) {
            HOSHI_FUZZ_CHECK(m_drill.view().echoText == echo);
            return;
        }
        if (charCode >= 32 && charCode < 127)
            HOSHI_FUZZ_CHECK(m_drill.view().echoText == QString(QChar(charCode)).toUpper());
        if (isTarget(charCode, key)) {
            ++m_maru;
            expect(Effect::Announce, m_drill.view().keyText);
            return;
        }
        ++m_batsu;
        HOSHI_FUZZ_CHECK(m_drill.view().keyText == key);
        expect(Effect::Announce, key);
        expectCue(Cue::Ding);
    }

    // A stray tick outside a run does nothing; the last one of a run says the score.
    void tick()
    {
        m_drill.tick();
        if (m_phase != DrillPhase::Running)
            return;
        ++m_ticks;
        if (--m_jikan == 0) {
            m_phase = DrillPhase::TimeUp;
            HOSHI_FUZZ_CHECK(m_ticks == limit());
            expect(Effect::Announce, QStringLiteral("得点 ") + QString::number(m_maru - m_batsu));
        }
    }

    ScriptInput &m_input;
    InputRandom m_random;
    DrillEngine m_drill;
    DrillPhase m_phase = DrillPhase::Ready;
    int m_maru = 0, m_batsu = 0, m_jikan = 0, m_ticks = 0;
    bool m_namesShown = false, m_namesWanted = true, m_spacePending = false;
};

} // namespace

void runDrillScript(ScriptInput &input, bool numbersAndSymbols)
{
    const bool careless = input.flip();
    drive(input, DrillScript(input, numbersAndSymbols ? numbersAndSymbolsDrillProfile() : alphabetDrillProfile(), careless));
}

} // namespace hoshi::scripts
