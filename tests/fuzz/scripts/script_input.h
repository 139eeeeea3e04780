// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the event scripts take their choices from (the fuzzer's bytes), how a
// broken invariant is reported, and what a run went through.

#include "platform/api/random_source.h"

#include <climits>
#include <cstddef>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>

namespace hoshi::scripts {

/// A broken invariant: the fuzzer names the event and aborts, keeping the input.
class InvariantBroken : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

[[noreturn]] void invariantBroken(const char *condition, const char *file, int line);

/// The choices one script makes, and the count of events it has run.
class ScriptInput {
public:
    virtual ~ScriptInput() = default;

    /// Starts the next event, if the input has one. `pending`: the script
    /// still has an event of its own to deliver (a re-posted key).
    bool nextEvent(bool pending = false)
    {
        ++m_event;
        return hasMore(m_event, pending);
    }
    /// The index of the event being run, from 0.
    int eventIndex() const { return m_event; }

    /// A whole number in [low, high].
    virtual int between(int low, int high) = 0;
    virtual bool flip() = 0;
    /// Exactly `length` bytes, fewer where the input runs out.
    virtual std::string bytes(std::size_t length) = 0;
    /// A short text of any length up to `maxLength`.
    virtual std::string text(std::size_t maxLength) = 0;

    int any() { return between(INT_MIN, INT_MAX); }
    template <typename T, std::size_t N>
    T pick(const T (&choices)[N]) { return choices[between(0, static_cast<int>(N) - 1)]; }

    /// Counts what the run went through, by name, so that a run looked at in a
    /// debugger shows which states it reached.
    void count(std::string_view what) { ++m_tally[what]; }
    int counted(std::string_view what) const
    {
        const auto found = m_tally.find(what);
        return found == m_tally.end() ? 0 : found->second;
    }
    const std::map<std::string_view, int> &tally() const { return m_tally; }

protected:
    virtual bool hasMore(int eventIndex, bool pending) const = 0;

private:
    int m_event = -1;
    std::map<std::string_view, int> m_tally;
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

} // namespace hoshi::scripts

// Variadic, so that a condition may hold braces with commas.
#define HOSHI_SCRIPT_CHECK(...) \
    ((__VA_ARGS__) ? void() : ::hoshi::scripts::invariantBroken(#__VA_ARGS__, __FILE__, __LINE__))
