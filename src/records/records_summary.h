// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/api/run_records.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

namespace hoshi {

/// One of the last runs of a mode, as the records window lists it.
struct RunRow {
    QDateTime started;
    int score = 0;
    double charsPerMinute = 0;
    double accuracy = 0;
    bool cutShort = false;
};

/// A day of a mode's chart: the best score, and typing's mean speed and accuracy.
struct DayPoint {
    QDate day;
    int bestScore = 0;
    double charsPerMinute = 0;
    double accuracy = 0;
    int runs = 0; ///< the finished runs of the day the means are taken over
};

/// How much of each mode the records window shows.
struct SummaryLimits {
    int lastRuns = 10;
    int days = 30;
};

/// What the records window shows of one mode.
struct ModeSummary {
    QString mode;
    int runCount = 0;
    std::optional<int> best;
    std::vector<RunRow> lastRuns;   ///< newest first
    std::vector<DayPoint> days;     ///< oldest first
    std::vector<std::pair<QString, int>> weakKeys; ///< every key missed, most missed first
};

/// Every mode with runs kept.
struct RecordsSummary {
    std::vector<ModeSummary> modes;
};

RunRow rowOf(const RunRecord &run);

/// Counts a run into its day of `days` (oldest first); a run cut short counts not.
void countDay(std::vector<DayPoint> &days, const RunRow &run);

/// Takes a run the database has not taken yet (locked, read-only, full) into
/// the figures read from it, each list kept within `limits`.
void addRun(RecordsSummary &summary, const RunRecord &run, const SummaryLimits &limits);

} // namespace hoshi
