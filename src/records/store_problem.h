// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace hoshi {

/// Why the records database could not be used just now. Every one of them
/// keeps the runs in memory; they are written once the database answers.
enum class StoreProblem {
    None,
    Locked,   ///< another copy of the program holds it
    ReadOnly, ///< the file or its folder cannot be written
    Full,     ///< the disk is full
    Corrupt,  ///< it was unreadable: kept aside under a new name, a fresh one started
    Newer,    ///< written by a newer version of the program: left as it is
    Failed    ///< any other error of the database or the disk
};

} // namespace hoshi
