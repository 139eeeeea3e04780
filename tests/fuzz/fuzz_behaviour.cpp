// The behaviour classes fed random event scripts: keys, characters, ticks,
// menu choices and loads, with their invariants checked after every event.
//
// Input: byte 0 chooses the class (key guide, finger guide, the two drills,
// the two typing profiles); the rest is the script.

#include "fuzz/behaviour/scripts.h"

#include <QtGlobal>

#include <cstdint>

namespace hoshi::fuzzing {

int pickKeyCode(FuzzedDataProvider &input)
{
    static constexpr int acted[] = {13, 16, 17, 18, 27, 32, 29, 91, 121, 229, 48, 65, 90, 0, 255};
    switch (input.ConsumeIntegralInRange(0, 3)) {
    case 0: return input.ConsumeIntegral<int>();
    case 1: return input.ConsumeIntegralInRange(0, 255);
    default: return input.PickValueInArray(acted);
    }
}

int pickModifiers(FuzzedDataProvider &input)
{
    const auto choice = input.ConsumeIntegral<std::uint8_t>();
    return choice < 240 ? choice % 8 : input.ConsumeIntegral<int>();
}

int pickCharCode(FuzzedDataProvider &input, int likely)
{
    switch (input.ConsumeIntegralInRange(0, 7)) {
    case 0: return input.ConsumeIntegral<int>();
    case 1: return input.ConsumeIntegralInRange(0, 0xFFFF);
    case 2: return input.ConsumeIntegralInRange(0, 127);
    case 3: return likely >= 'A' && likely <= 'Z' ? likely + ('a' - 'A') : likely;
    default: return likely;
    }
}

} // namespace hoshi::fuzzing

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace hoshi::fuzzing;
    FuzzedDataProvider input(data, size);
    switch (input.ConsumeIntegralInRange(0, 5)) {
    case 0: runKeyGuideScript(input); break;
    case 1: runFingerGuideScript(input); break;
    case 2: runDrillScript(input, false); break;
    case 3: runDrillScript(input, true); break;
    case 4: runTypingScript(input, false); break;
    default: runTypingScript(input, true); break;
    }
    return 0;
}
