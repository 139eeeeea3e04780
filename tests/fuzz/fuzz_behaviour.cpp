// SPDX-License-Identifier: GPL-3.0-or-later
// The behaviour classes fed random event scripts: keys, characters, ticks,
// menu choices and loads, with their invariants checked after every event.
//
// Input: byte 0 chooses the class (key guide, finger guide, the two drills,
// the two typing profiles); the rest is the script.

#include "fuzz/scripts/scripts.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

using hoshi::scripts::ScriptInput;

/// More events than this teach nothing new and only slow the fuzzer down.
constexpr int MaxEvents = 4000;

/// The script's choices taken from the fuzz input.
class FuzzInput final : public ScriptInput {
public:
    explicit FuzzInput(FuzzedDataProvider &data) : m_data(data) {}

    int between(int low, int high) override { return m_data.ConsumeIntegralInRange(low, high); }
    bool flip() override { return m_data.ConsumeBool(); }
    std::string bytes(std::size_t length) override { return m_data.ConsumeBytesAsString(length); }
    std::string text(std::size_t maxLength) override { return m_data.ConsumeRandomLengthString(maxLength); }

protected:
    bool hasMore(int eventIndex, bool pending) const override
    {
        return eventIndex < MaxEvents && (m_data.remaining_bytes() > 0 || pending);
    }

private:
    FuzzedDataProvider &m_data;
};

} // namespace

// A broken invariant aborts, so that the fuzzer keeps the input that broke it.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace hoshi::scripts;
    FuzzedDataProvider provider(data, size);
    FuzzInput input(provider);
    try {
        switch (provider.ConsumeIntegralInRange(0, 5)) {
        case 0: runKeyGuideScript(input); break;
        case 1: runFingerGuideScript(input); break;
        case 2: runDrillScript(input, false); break;
        case 3: runDrillScript(input, true); break;
        case 4: runTypingScript(input, false); break;
        default: runTypingScript(input, true); break;
        }
    } catch (const InvariantBroken &broken) {
        std::fprintf(stderr, "invariant broken at event %d: %s\n", input.eventIndex(), broken.what());
        std::abort();
    }
    return 0;
}
