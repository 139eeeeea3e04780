// The timed drills: the target is always a row of the table, the counts and
// the time match their labels, the timer runs exactly while a run does, and
// the target, a miss and the score are announced when they are due.

#include "fingers/drill_engine.h"
#include "fingers/drill_tables.h"
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

std::vector<Effect> announced(const QString &text)
{
    return {{Effect::Announce, text}};
}

void checkLabels(const DrillEngine &drill)
{
    const DrillView &view = drill.view();
    HOSHI_FUZZ_CHECK(view.timeText == QStringLiteral("TIME ") + QString::number(drill.jikan()));
    HOSHI_FUZZ_CHECK(view.maruText == QStringLiteral("○ ") + QString::number(drill.maru()));
    HOSHI_FUZZ_CHECK(view.batsuText == QStringLiteral("× ") + QString::number(drill.batsu()));
    const int limit = drill.profile().timeLimit;
    const float bar = drill.barWidth(600.0f);
    HOSHI_FUZZ_CHECK(bar >= 0.0f && bar <= 600.0f);
    HOSHI_FUZZ_CHECK(bar == 600.0f / static_cast<float>(limit) * static_cast<float>(drill.jikan()));
}

void checkTarget(const DrillEngine &drill)
{
    const TargetTable &table = drill.profile().table;
    HOSHI_FUZZ_CHECK(drill.keyNo() >= 1 && drill.keyNo() <= static_cast<int>(table.size()));
    if (drill.phase() == DrillPhase::TimeUp)
        return;
    const DrillTarget &target = table[static_cast<std::size_t>(drill.keyNo() - 1)];
    HOSHI_FUZZ_CHECK(drill.view().keyText == target.character);
    HOSHI_FUZZ_CHECK(drill.view().fingerText == target.fingerLabel);
}

void checkPhase(const DrillEngine &drill)
{
    const DrillView &view = drill.view();
    const int limit = drill.profile().timeLimit;
    HOSHI_FUZZ_CHECK(drill.timerOn() == (drill.phase() == DrillPhase::Running));
    HOSHI_FUZZ_CHECK(view.startEnabled == (drill.phase() != DrillPhase::Running));
    HOSHI_FUZZ_CHECK(view.tokutenVisible == (drill.phase() == DrillPhase::TimeUp));
    switch (drill.phase()) {
    case DrillPhase::Ready:
        HOSHI_FUZZ_CHECK(drill.jikan() == limit && drill.maru() == 0 && drill.batsu() == 0);
        HOSHI_FUZZ_CHECK(!view.keyVisible && view.startCaption == QStringLiteral("START"));
        break;
    case DrillPhase::Running:
        HOSHI_FUZZ_CHECK(drill.jikan() > 0 && drill.jikan() <= limit && view.keyVisible);
        break;
    case DrillPhase::TimeUp:
        HOSHI_FUZZ_CHECK(drill.jikan() == 0 && view.keyText.isEmpty());
        HOSHI_FUZZ_CHECK(view.fingerText == QStringLiteral("Spaceでスタート"));
        HOSHI_FUZZ_CHECK(view.startCaption == QStringLiteral("RETRY"));
        HOSHI_FUZZ_CHECK(view.tokutenText == QStringLiteral("得点 ") + QString::number(drill.maru() - drill.batsu()));
        break;
    }
}

/// One typed character: judged only during a run, a hit draws and announces
/// the next target, a miss announces the target again and plays the cue.
void checkKeyPress(const DrillEngine &drill, const RecordingServices &log, std::size_t logSize,
                   DrillPhase phaseBefore, const QString &keyBefore, int maruBefore, int batsuBefore, bool judged)
{
    if (!judged || phaseBefore != DrillPhase::Running) {
        HOSHI_FUZZ_CHECK(log.log.size() == logSize);
        HOSHI_FUZZ_CHECK(drill.maru() == maruBefore && drill.batsu() == batsuBefore);
        return;
    }
    if (drill.view().echoText == keyBefore) {
        HOSHI_FUZZ_CHECK(drill.maru() == maruBefore + 1 && drill.batsu() == batsuBefore);
        HOSHI_FUZZ_CHECK(effectsSince(log, logSize) == announced(drill.view().keyText));
        return;
    }
    HOSHI_FUZZ_CHECK(drill.maru() == maruBefore && drill.batsu() == batsuBefore + 1);
    HOSHI_FUZZ_CHECK(drill.view().keyText == keyBefore);
    const std::vector<Effect> miss{{Effect::Announce, keyBefore}, {Effect::Cue, {}, Cue::Ding}};
    HOSHI_FUZZ_CHECK(effectsSince(log, logSize) == miss);
}

class DrillScript {
public:
    DrillScript(FuzzedDataProvider &input, const DrillProfile &profile)
        : m_input(input), m_random(input, input.ConsumeBool()), m_drill(profile, m_log, m_log, m_random)
    {
    }

    void run()
    {
        open();
        for (int event = 0; event < MaxEvents && m_input.remaining_bytes() > 0; ++event) {
            step();
            checkLabels(m_drill);
            checkTarget(m_drill);
            checkPhase(m_drill);
        }
    }

private:
    void open()
    {
        m_drill.load();
        m_spacePending = false;
        HOSHI_FUZZ_CHECK(m_drill.phase() == DrillPhase::Ready);
    }

    void step()
    {
        const std::size_t logSize = m_log.log.size();
        switch (m_input.ConsumeIntegralInRange(0, 11)) {
        case 0: open(); break;
        case 1:
            m_drill.start();
            m_spacePending = false;
            HOSHI_FUZZ_CHECK(effectsSince(m_log, logSize) == announced(m_drill.view().keyText));
            break;
        case 2: keyDown(logSize); break;
        case 3: tick(logSize); break;
        case 4:
            while (m_drill.timerOn())
                tick(m_log.log.size());
            break;
        case 5: m_drill.hideFingerNames(); HOSHI_FUZZ_CHECK(!m_drill.view().fingerVisible); break;
        case 6: m_drill.showFingerNames(); HOSHI_FUZZ_CHECK(m_drill.view().fingerVisible); break;
        default: keyPress(logSize); break;
        }
    }

    void keyDown(std::size_t logSize)
    {
        const DrillPhase before = m_drill.phase();
        const int keyCode = m_input.ConsumeBool() ? VkSpace : pickKeyCode(m_input);
        const DrillEngine::KeyResult result = m_drill.keyDown(keyCode, pickModifiers(m_input));
        m_spacePending = result == DrillEngine::KeyResult::Started;
        if (keyCode == VkEscape) {
            HOSHI_FUZZ_CHECK(result == DrillEngine::KeyResult::Close && m_log.log.size() == logSize);
            open(); // the window closes; the next opening loads afresh
        } else if (keyCode == VkSpace && before != DrillPhase::Running) {
            HOSHI_FUZZ_CHECK(result == DrillEngine::KeyResult::Started);
            HOSHI_FUZZ_CHECK(m_drill.phase() == DrillPhase::Running);
            HOSHI_FUZZ_CHECK(effectsSince(m_log, logSize) == announced(m_drill.view().keyText));
        } else {
            HOSHI_FUZZ_CHECK(result == DrillEngine::KeyResult::None && m_log.log.size() == logSize);
        }
    }

    void keyPress(std::size_t logSize)
    {
        const QString key = m_drill.view().keyText;
        const DrillPhase phase = m_drill.phase();
        const int maru = m_drill.maru();
        const int batsu = m_drill.batsu();
        const int charCode = m_spacePending && m_input.ConsumeBool()
            ? ' '
            : pickCharCode(m_input, key.isEmpty() ? ' ' : key.at(0).unicode());
        // The blank of the Space that started the run is not judged.
        const bool judged = !(m_spacePending && charCode == ' ');
        m_spacePending = false;
        m_drill.keyPress(charCode);
        checkKeyPress(m_drill, m_log, logSize, phase, key, maru, batsu, judged);
    }

    // The window's timer only ticks while it runs.
    void tick(std::size_t logSize)
    {
        if (!m_drill.timerOn())
            return;
        const int jikan = m_drill.jikan();
        m_drill.tick();
        HOSHI_FUZZ_CHECK(m_drill.jikan() == jikan - 1);
        if (m_drill.jikan() == 0)
            HOSHI_FUZZ_CHECK(effectsSince(m_log, logSize) == announced(m_drill.view().tokutenText));
        else
            HOSHI_FUZZ_CHECK(m_log.log.size() == logSize);
    }

    FuzzedDataProvider &m_input;
    RecordingServices m_log;
    InputRandom m_random;
    DrillEngine m_drill;
    bool m_spacePending = false;
};

} // namespace

void runDrillScript(FuzzedDataProvider &input, bool numbersAndSymbols)
{
    DrillScript script(input, numbersAndSymbols ? numbersAndSymbolsDrillProfile() : alphabetDrillProfile());
    script.run();
}

} // namespace hoshi::fuzzing
