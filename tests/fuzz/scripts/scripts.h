// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Random event scripts for the behaviour classes, with each class's
// invariants checked after every event; fuzz_behaviour feeds them its bytes.

#include "fuzz/fuzz_check.h"
#include "platform/api/random_source.h"
#include "support/fakes.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <vector>

namespace hoshi::scripts {

using testing::Effect;

/// The choices of one script. More than 4000 events teach nothing new.
struct ScriptInput : FuzzedDataProvider {
    using FuzzedDataProvider::FuzzedDataProvider;
    bool nextEvent(bool pending) { return events++ < 4000 && (remaining_bytes() > 0 || pending); }
    int between(int low, int high) { return ConsumeIntegralInRange(low, high); }
    bool flip() { return ConsumeBool(); }
    int any() { return between(INT_MIN, INT_MAX); }
    template <typename T, std::size_t N>
    T pick(const T (&choices)[N]) { return choices[between(0, static_cast<int>(N) - 1)]; }
    int events = 0;
};

/// Draws for the drills and the typing exercise. Careless draws now and then break
/// the [0, count) promise: every table index must stay inside its table all the same.
class InputRandom final : public RandomSource {
public:
    explicit InputRandom(ScriptInput &input) : m_input(input), m_careless(input.flip()) {}
    int below(int count) override
    {
        if (m_careless && m_input.between(0, 9) == 0)
            return m_input.flip() ? count : m_input.any();
        return count < 1 ? 0 : m_input.between(0, count - 1);
    }

private:
    ScriptInput &m_input;
    bool m_careless;
};

/// A key code: often one the windows act on, sometimes any code at all.
inline int pickKeyCode(ScriptInput &input)
{
    static constexpr int acted[] = {13, 16, 17, 18, 27, 32, 29, 91, 121, 229, 48, 65, 90, 0, 255,
                                    9, 92, 186, 220, 226, -1, 256, 65535};
    const int choice = input.between(0, 3);
    return choice == 0 ? input.any() : choice == 1 ? input.between(0, 255) : input.pick(acted);
}

/// A 1/2/4 modifier mask, now and then a nonsense one.
inline int pickModifiers(ScriptInput &input)
{
    const int choice = input.between(0, 255);
    return choice < 240 ? choice % 8 : input.any();
}

/// A character code: mostly `likely` (what the window waits for) or its small letter.
inline int pickCharCode(ScriptInput &input, int likely)
{
    switch (input.between(0, 7)) {
    case 0: return input.any();
    case 1: return input.between(0, 0xFFFF);
    case 2: return input.between(0, 127);
    case 3: return likely >= 'A' && likely <= 'Z' ? likely + ('a' - 'A') : likely;
    default: return likely;
    }
}

/// What a window said and played, and what the current event should have added.
struct Script {
    testing::RecordingServices log;
    std::vector<Effect> expected;
    void expect(Effect::Kind kind, const QString &text) { expected.push_back({kind, text}); }
    void expectCue(Cue cue) { expected.push_back({Effect::Cue, {}, cue}); }
    bool pending() const { return false; }
};

/// The one driver: opens the window, then takes events while the input lasts
/// (or the script still has one of its own to deliver). After each event the
/// window has said and played exactly what was expected and its invariants hold.
template <typename S>
void drive(S &&script, ScriptInput &input)
{
    for (void (S::*event)() = &S::open; event; event = input.nextEvent(script.pending()) ? &S::step : nullptr) {
        const std::size_t logSize = script.log.log.size();
        script.expected.clear();
        (script.*event)();
        HOSHI_FUZZ_CHECK(script.log.effectsSince(logSize) == script.expected);
        script.check();
    }
}

void runKeyGuideScript(ScriptInput &input);
void runDrillScript(ScriptInput &input, bool numbersAndSymbols);
void runTypingScript(ScriptInput &input, bool english);

} // namespace hoshi::scripts
