// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A broken invariant stops the fuzzer, which keeps the input that broke it.

#include <cstdio>
#include <cstdlib>

namespace hoshi::fuzzing {

[[noreturn]] inline void invariantBroken(const char *condition, const char *file, int line)
{
    std::fprintf(stderr, "invariant broken: %s (%s:%d)\n", condition, file, line);
    std::abort();
}

} // namespace hoshi::fuzzing

// Variadic, so that a condition may hold braces with commas.
#define HOSHI_FUZZ_CHECK(...) \
    ((__VA_ARGS__) ? void() : ::hoshi::fuzzing::invariantBroken(#__VA_ARGS__, __FILE__, __LINE__))
