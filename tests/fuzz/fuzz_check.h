// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A broken invariant stops the fuzzer, which keeps the input that broke it.
// Variadic, so that a condition may hold braces with commas.

#include <cstdio>
#include <cstdlib>

#define HOSHI_FUZZ_CHECK(...) \
    ((__VA_ARGS__) ? void() \
                   : (std::fprintf(stderr, "invariant broken: %s (%s:%d)\n", #__VA_ARGS__, __FILE__, __LINE__), std::abort()))
