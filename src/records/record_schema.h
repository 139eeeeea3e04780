// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/store_problem.h"

class QSqlDatabase;

namespace hoshi {

/// The schema version this program writes (SQLite's user_version).
int currentSchemaVersion();

/// Brings an open database from its version up to the current one, each step
/// in a transaction of its own; Newer when the file is from a later program.
StoreProblem migrateSchema(QSqlDatabase &db);

/// Builds the schema of exactly `version` (tests start a database there).
bool migrateTo(QSqlDatabase &db, int version);

} // namespace hoshi
