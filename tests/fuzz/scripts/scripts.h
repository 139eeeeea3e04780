// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Random event scripts for the behaviour classes, with each class's
// invariants checked after every event; fuzz_behaviour feeds them its bytes.

#include "fuzz/scripts/script_input.h"

#include <optional>

namespace hoshi::scripts {

/// A key code: often one the windows act on, sometimes any code at all.
int pickKeyCode(ScriptInput &input);
/// A 1/2/4 modifier mask, now and then a nonsense one.
int pickModifiers(ScriptInput &input);
/// A character code: often `likely` (the character the window waits for).
int pickCharCode(ScriptInput &input, int likely);

// `careless`: whether the class's random draws may leave [0, count);
// without it the input decides.
void runKeyGuideScript(ScriptInput &input);
void runFingerGuideScript(ScriptInput &input);
void runDrillScript(ScriptInput &input, bool numbersAndSymbols, std::optional<bool> careless = std::nullopt);
void runTypingScript(ScriptInput &input, bool english, std::optional<bool> careless = std::nullopt);

} // namespace hoshi::scripts
