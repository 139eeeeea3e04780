#pragma once
// Random event scripts for the behaviour classes, decoded from fuzz input,
// with each class's invariants checked after every event.

#include "fuzz/fuzz_check.h"
#include "platform/random_source.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>

namespace hoshi::fuzzing {

/// More events than this teach nothing new and only slow the fuzzer down.
inline constexpr int MaxEvents = 4000;

/// Draws from the fuzz input. Wild draws break the [0, count) promise on
/// purpose: every table index must stay inside its table all the same.
class InputRandom final : public RandomSource {
public:
    InputRandom(FuzzedDataProvider &input, bool wild) : m_input(input), m_wild(wild) {}

    int below(int count) override
    {
        if (m_wild)
            return m_input.ConsumeIntegral<int>();
        return count < 1 ? 0 : m_input.ConsumeIntegralInRange(0, count - 1);
    }

private:
    FuzzedDataProvider &m_input;
    bool m_wild;
};

/// A key code: often one the windows act on, sometimes any code at all.
int pickKeyCode(FuzzedDataProvider &input);
/// A 1/2/4 modifier mask, now and then a nonsense one.
int pickModifiers(FuzzedDataProvider &input);
/// A character code: often `likely` (the character the window waits for).
int pickCharCode(FuzzedDataProvider &input, int likely);

void runKeyGuideScript(FuzzedDataProvider &input);
void runFingerGuideScript(FuzzedDataProvider &input);
void runDrillScript(FuzzedDataProvider &input, bool numbersAndSymbols);
void runTypingScript(FuzzedDataProvider &input, bool english);

} // namespace hoshi::fuzzing
