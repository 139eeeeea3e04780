// SPDX-License-Identifier: GPL-3.0-or-later
// The timed drills, followed by a small model: the target is always a row of
// the table, the counts, the time and the phase
// follow the events, the labels and the bar match them, the timer runs
// exactly while a run does, and the target, a miss and the score are
// announced when they are due.

#include "fingers/drill_engine.h"
#include "fingers/drill_tables.h"
#include "platform/api/key_codes.h"
#include "fuzz/scripts/scripts.h"
#include "support/fakes.h"

#include <cmath>
#include <vector>

namespace hoshi::scripts {

namespace {

using testing::Effect;
using testing::RecordingServices;

std::vector<Effect> announced(const QString &text)
{
    return {{Effect::Announce, text}};
}

bool isTarget(int charCode, const QString &target)
{
    if (target.size() != 1)
        return false;
    const int t = target.at(0).unicode();
    return charCode == t || (t >= 'A' && t <= 'Z' && charCode == t + ('a' - 'A'));
}

/// What the engine should hold, followed event by event.
struct Model {
    DrillPhase phase = DrillPhase::Ready;
    int maru = 0;
    int batsu = 0;
    int jikan = 0;
    int ticks = 0;             ///< ticks of the current run
    bool fingerShown = false;  ///< finger label visibility
    bool spacePending = false; ///< the character of a starting Space may follow
};

class DrillScript {
public:
    DrillScript(ScriptInput &input, const DrillProfile &profile, bool careless)
        : m_input(input), m_random(input, careless), m_drill(profile, m_log, m_log, m_random)
    {
    }

    void run()
    {
        open();
        while (m_input.nextEvent()) {
            step();
            checkModel();
            checkBar();
            checkTarget();
            checkPhase();
        }
    }

private:
    int limit() const { return m_drill.profile().timeLimit; }

    void open()
    {
        const std::size_t logSize = m_log.log.size();
        m_drill.load();
        m_model = Model{};
        m_namesWanted = true; // each opening shows them until the window applies its choice
        m_model.jikan = limit();
        HOSHI_SCRIPT_CHECK(m_log.log.size() == logSize);
    }

    void step()
    {
        const std::size_t logSize = m_log.log.size();
        switch (m_input.between(0, 11)) {
        case 0:
            // Rare while running, so that most runs go on to time-up.
            if (m_model.phase != DrillPhase::Running || m_input.between(0, 15) == 0)
                open();
            break;
        case 1:
            m_drill.start();
            started(logSize, false);
            break;
        case 2: keyDown(logSize); break;
        case 3: tick(logSize); break;
        case 4:
            while (m_drill.timerOn())
                tick(m_log.log.size());
            break;
        case 5: case 6:
            // Kept for the next runs and openings too.
            m_namesWanted = m_model.fingerShown = m_input.flip();
            m_namesWanted ? m_drill.showFingerNames() : m_drill.hideFingerNames();
            HOSHI_SCRIPT_CHECK(m_log.log.size() == logSize);
            break;
        default: keyPress(logSize); break;
        }
    }

    void started(std::size_t logSize, bool bySpace)
    {
        m_model = Model{DrillPhase::Running, 0, 0, limit(), 0, m_namesWanted, bySpace};
        HOSHI_SCRIPT_CHECK(m_log.effectsSince(logSize) == announced(m_drill.view().keyText));
    }

    void keyDown(std::size_t logSize)
    {
        int keyCode = m_input.flip() ? VkSpace : pickKeyCode(m_input);
        // Escape in a run is rare, so that most runs go on to time-up.
        if (keyCode == VkEscape && m_model.phase == DrillPhase::Running && m_input.between(0, 7) != 0)
            keyCode = VkSpace;
        const DrillEngine::KeyResult result = m_drill.keyDown(keyCode, pickModifiers(m_input));
        m_model.spacePending = false;
        if (keyCode == VkEscape) {
            HOSHI_SCRIPT_CHECK(result == DrillEngine::KeyResult::Close && m_log.log.size() == logSize);
            open(); // the window closes; the next opening loads afresh
        } else if (keyCode == VkSpace && m_model.phase != DrillPhase::Running) {
            HOSHI_SCRIPT_CHECK(result == DrillEngine::KeyResult::Started);
            started(logSize, true);
        } else {
            HOSHI_SCRIPT_CHECK(result == DrillEngine::KeyResult::None && m_log.log.size() == logSize);
        }
    }

    /// One typed character: judged only during a run, a hit draws and
    /// announces the next target, a miss announces the target again and
    /// plays the cue. The blank of the Space that started the run is not judged.
    void keyPress(std::size_t logSize)
    {
        const QString key = m_drill.view().keyText;
        const QString echo = m_drill.view().echoText;
        const int charCode = m_model.spacePending && m_input.flip()
            ? ' '
            : pickCharCode(m_input, key.isEmpty() ? ' ' : key.at(0).unicode());
        const bool swallowed = m_model.spacePending && charCode == ' ';
        m_model.spacePending = false;
        m_drill.keyPress(charCode);
        if (swallowed || m_model.phase != DrillPhase::Running) {
            HOSHI_SCRIPT_CHECK(m_log.log.size() == logSize);
            HOSHI_SCRIPT_CHECK(m_drill.view().echoText == echo);
            return;
        }
        if (charCode >= 32 && charCode < 127) {
            const int shown = charCode >= 'a' && charCode <= 'z' ? charCode - ('a' - 'A') : charCode;
            HOSHI_SCRIPT_CHECK(m_drill.view().echoText == QString(QChar(shown)));
        }
        if (isTarget(charCode, key)) {
            ++m_model.maru;
            HOSHI_SCRIPT_CHECK(m_log.effectsSince(logSize) == announced(m_drill.view().keyText));
            return;
        }
        ++m_model.batsu;
        HOSHI_SCRIPT_CHECK(m_drill.view().keyText == key);
        const std::vector<Effect> miss{{Effect::Announce, key}, {Effect::Cue, {}, Cue::Ding}};
        HOSHI_SCRIPT_CHECK(m_log.effectsSince(logSize) == miss);
    }

    // The window's timer only ticks while it runs; a stray tick does nothing.
    void tick(std::size_t logSize)
    {
        m_drill.tick();
        if (m_model.phase != DrillPhase::Running) {
            HOSHI_SCRIPT_CHECK(m_log.log.size() == logSize);
            return;
        }
        --m_model.jikan;
        ++m_model.ticks;
        if (m_model.jikan > 0) {
            HOSHI_SCRIPT_CHECK(m_log.log.size() == logSize);
            return;
        }
        m_model.phase = DrillPhase::TimeUp;
        HOSHI_SCRIPT_CHECK(m_model.ticks == limit());
        const QString score = QStringLiteral("得点 ") + QString::number(m_model.maru - m_model.batsu);
        HOSHI_SCRIPT_CHECK(m_log.effectsSince(logSize) == announced(score));
    }

    void checkModel() const
    {
        HOSHI_SCRIPT_CHECK(m_drill.phase() == m_model.phase);
        HOSHI_SCRIPT_CHECK(m_drill.maru() == m_model.maru && m_drill.batsu() == m_model.batsu);
        HOSHI_SCRIPT_CHECK(m_drill.jikan() == m_model.jikan);
        HOSHI_SCRIPT_CHECK(m_drill.view().fingerVisible == m_model.fingerShown);
    }

    void checkBar() const
    {
        // The bar never spills past its box, and is the share of time left.
        static constexpr int boxes[] = {0, 1, 7, 333, 600, 1279, 1920, 7680};
        const double share = static_cast<double>(m_drill.jikan()) / limit();
        for (const int box : boxes) {
            const float width = m_drill.barWidth(static_cast<float>(box));
            HOSHI_SCRIPT_CHECK(width >= 0.0f && std::lround(width) <= box);
            HOSHI_SCRIPT_CHECK(std::abs(width - box * share) < 0.5);
        }
    }

    void checkTarget() const
    {
        const TargetTable &table = m_drill.profile().table;
        HOSHI_SCRIPT_CHECK(m_drill.keyNo() >= 1 && m_drill.keyNo() <= static_cast<int>(table.size()));
        if (m_drill.phase() == DrillPhase::TimeUp)
            return;
        const DrillTarget &target = table[static_cast<std::size_t>(m_drill.keyNo() - 1)];
        HOSHI_SCRIPT_CHECK(m_drill.view().keyText == target.character);
        HOSHI_SCRIPT_CHECK(m_drill.view().fingerText == target.fingerLabel);
    }

    void checkPhase() const
    {
        const DrillView &view = m_drill.view();
        HOSHI_SCRIPT_CHECK(m_drill.timerOn() == (m_drill.phase() == DrillPhase::Running));
        HOSHI_SCRIPT_CHECK(view.startEnabled == (m_drill.phase() != DrillPhase::Running));
        HOSHI_SCRIPT_CHECK(view.tokutenVisible == (m_drill.phase() == DrillPhase::TimeUp));
        switch (m_drill.phase()) {
        case DrillPhase::Ready:
            HOSHI_SCRIPT_CHECK(m_drill.jikan() == limit() && m_drill.maru() == 0 && m_drill.batsu() == 0);
            HOSHI_SCRIPT_CHECK(!view.keyVisible && view.startCaption == QStringLiteral("START"));
            break;
        case DrillPhase::Running:
            HOSHI_SCRIPT_CHECK(m_drill.jikan() > 0 && m_drill.jikan() <= limit() && view.keyVisible);
            break;
        case DrillPhase::TimeUp:
            HOSHI_SCRIPT_CHECK(m_drill.jikan() == 0 && view.keyText.isEmpty());
            HOSHI_SCRIPT_CHECK(view.fingerText == QStringLiteral("Spaceでスタート"));
            HOSHI_SCRIPT_CHECK(view.startCaption == QStringLiteral("RETRY"));
            break;
        }
    }

    ScriptInput &m_input;
    RecordingServices m_log;
    InputRandom m_random;
    DrillEngine m_drill;
    Model m_model;
    bool m_namesWanted = true; ///< the finger names a start shows, as last chosen
};

} // namespace

void runDrillScript(ScriptInput &input, bool numbersAndSymbols)
{
    const bool careless = input.flip();
    DrillScript(input, numbersAndSymbols ? numbersAndSymbolsDrillProfile() : alphabetDrillProfile(), careless).run();
}

} // namespace hoshi::scripts
