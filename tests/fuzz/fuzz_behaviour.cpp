// SPDX-License-Identifier: GPL-3.0-or-later
// The behaviour classes fed random event scripts: keys, characters, ticks,
// menu choices and loads, with their invariants checked after every event.
//
// Input: byte 0 chooses the class (key guide, finger guide, the two drills,
// the two typing profiles); the rest is the script.

#include "fuzz/scripts/scripts.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace hoshi::scripts;
    FuzzedDataProvider provider(data, size);
    ScriptInput input(provider);
    switch (provider.ConsumeIntegralInRange(0, 5)) {
    case 0: runKeyGuideScript(input); break;
    case 1: runFingerGuideScript(input); break;
    case 2: runDrillScript(input, false); break;
    case 3: runDrillScript(input, true); break;
    case 4: runTypingScript(input, false); break;
    default: runTypingScript(input, true); break;
    }
    return 0;
}
