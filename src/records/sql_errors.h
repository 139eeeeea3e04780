// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/store_problem.h"

#include <QSqlError>

namespace hoshi {

/// The problem an SQLite error stands for, from its result code.
inline StoreProblem problemOf(const QSqlError &error)
{
    if (error.type() == QSqlError::NoError)
        return StoreProblem::None;
    switch (error.nativeErrorCode().toInt() & 0xff) {
    case 5:  // SQLITE_BUSY
    case 6:  // SQLITE_LOCKED
        return StoreProblem::Locked;
    case 8:  // SQLITE_READONLY
    case 14: // SQLITE_CANTOPEN
    case 23: // SQLITE_AUTH
        return StoreProblem::ReadOnly;
    case 13: // SQLITE_FULL
        return StoreProblem::Full;
    case 11: // SQLITE_CORRUPT
    case 26: // SQLITE_NOTADB
        return StoreProblem::Corrupt;
    default:
        return StoreProblem::Failed;
    }
}

} // namespace hoshi
