// SPDX-License-Identifier: GPL-3.0-or-later
// The choices every script shares.

#include "fuzz/scripts/scripts.h"

namespace hoshi::scripts {

int pickKeyCode(ScriptInput &input)
{
    static constexpr int acted[] = {13, 16, 17, 18, 27, 32, 29, 91, 121, 229, 48, 65, 90, 0, 255,
                                    9, 92, 186, 220, 226, -1, 256, 65535};
    switch (input.between(0, 3)) {
    case 0: return input.any();
    case 1: return input.between(0, 255);
    default: return input.pick(acted);
    }
}

int pickModifiers(ScriptInput &input)
{
    const int choice = input.between(0, 255);
    return choice < 240 ? choice % 8 : input.any();
}

int pickCharCode(ScriptInput &input, int likely)
{
    switch (input.between(0, 7)) {
    case 0: return input.any();
    case 1: return input.between(0, 0xFFFF);
    case 2: return input.between(0, 127);
    case 3: return likely >= 'A' && likely <= 'Z' ? likely + ('a' - 'A') : likely;
    default: return likely;
    }
}

} // namespace hoshi::scripts
