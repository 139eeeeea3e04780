// SPDX-License-Identifier: GPL-3.0-or-later
// The behaviour classes fed random event scripts: keys, characters, ticks,
// menu choices and loads, with their invariants checked after every event.
// The last byte chooses the class (key guide, the two drills, the two typing
// profiles); the rest is the script.

#include "fuzz/scripts/scripts.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace hoshi::scripts;
    ScriptInput input(data, size);
    switch (const int choice = input.between(0, 4)) {
    case 0: runKeyGuideScript(input); break;
    case 1: case 2: runDrillScript(input, choice == 2); break;
    default: runTypingScript(input, choice == 4); break;
    }
    return 0;
}
