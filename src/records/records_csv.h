// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/api/run_records.h"

#include <QString>
#include <QStringList>

#include <vector>

class QIODevice;

namespace hoshi {

/// The CSV header line's fields, in order.
QStringList csvHeader();
/// Every run as CSV for a teacher: UTF-8, a header line, one run a line.
QByteArray runsAsCsv(const std::vector<RunRecord> &runs);
/// One CSV line split into its fields (quotes undone), as a spreadsheet reads it.
QStringList csvFields(const QString &line);

/// --export-records: writes the records at `databasePath` to `file`.
/// Returns 0, or 1 with a message for standard error in `error`.
int exportRecords(const QString &databasePath, const QString &file, QString &error);

} // namespace hoshi
