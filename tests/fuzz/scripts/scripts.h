// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Random event scripts for the behaviour classes, with each class's
// invariants checked after every event; fuzz_behaviour feeds them its bytes.

#include "fuzz/fuzz_check.h"
#include "platform/api/random_source.h"
#include "support/fakes.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <cstddef>
#include <string>
#include <vector>

namespace hoshi::scripts {

/// More events than this teach nothing new and only slow the fuzzer down.
constexpr int MaxEvents = 4000;

/// The choices one script makes, taken from the fuzzer's bytes.
class ScriptInput {
public:
    explicit ScriptInput(FuzzedDataProvider &data) : m_data(data) {}

    /// Starts the next event, if the input has one. `pending`: the script
    /// still has an event of its own to deliver (a re-posted key).
    bool nextEvent(bool pending = false)
    {
        return ++m_event < MaxEvents && (m_data.remaining_bytes() > 0 || pending);
    }

    /// A whole number in [low, high].
    int between(int low, int high) { return m_data.ConsumeIntegralInRange(low, high); }
    bool flip() { return m_data.ConsumeBool(); }
    /// Exactly `length` bytes, fewer where the input runs out.
    std::string bytes(std::size_t length) { return m_data.ConsumeBytesAsString(length); }
    /// A short text of any length up to `maxLength`.
    std::string text(std::size_t maxLength) { return m_data.ConsumeRandomLengthString(maxLength); }
    int any() { return between(INT_MIN, INT_MAX); }
    template <typename T, std::size_t N>
    T pick(const T (&choices)[N]) { return choices[between(0, static_cast<int>(N) - 1)]; }

private:
    FuzzedDataProvider &m_data;
    int m_event = -1;
};

/// Draws for the behaviour classes. Careless draws now and then break the
/// [0, count) promise on purpose: every table index must stay inside its
/// table all the same.
class InputRandom final : public RandomSource {
public:
    InputRandom(ScriptInput &input, bool careless) : m_input(input), m_careless(careless) {}

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

/// A character code: often `likely` (the character the window waits for), or its small letter.
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

using testing::Effect;
using testing::RecordingServices;

/// What every script holds: the log of what its window said and played, and
/// what the current event should have left in it.
struct Script {
    RecordingServices log;
    std::vector<Effect> expected;

    void expect(Effect::Kind kind, const QString &text) { expected.push_back({kind, text}); }
    void expectCue(Cue cue) { expected.push_back({Effect::Cue, {}, cue}); }
    bool pending() const { return false; }
};

/// The one driver: the script opens its window, then takes events while the
/// input lasts (or it still has one of its own). After each event the window
/// has said and played exactly what was expected, and its invariants hold.
template <typename S>
void drive(ScriptInput &input, S &&script)
{
    const auto event = [&script](auto &&act) {
        const std::size_t logSize = script.log.log.size();
        script.expected.clear();
        act();
        HOSHI_FUZZ_CHECK(script.log.effectsSince(logSize) == script.expected);
        script.check();
    };
    event([&script] { script.open(); });
    while (input.nextEvent(script.pending()))
        event([&script] { script.step(); });
}

// The drills and the typing exercise take a first choice: whether their
// random draws may leave [0, count).
void runKeyGuideScript(ScriptInput &input);
void runFingerGuideScript(ScriptInput &input);
void runDrillScript(ScriptInput &input, bool numbersAndSymbols);
void runTypingScript(ScriptInput &input, bool english);

} // namespace hoshi::scripts

