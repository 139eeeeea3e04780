// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What both modules answer the program with: the interface they were built
// for, and themselves only to the program version they were built as.

#include <cstring>

// A test builds a module as another version's.
#ifndef HOSHI_MODULE_VERSION
#define HOSHI_MODULE_VERSION HOSHI_VERSION
#endif

namespace hoshi {

inline bool builtAsVersion(const char *version)
{
    return version && std::strcmp(version, HOSHI_MODULE_VERSION) == 0;
}

} // namespace hoshi
