// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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
};

/// What the records window shows of one mode.
struct ModeSummary {
    QString mode;
    int runCount = 0;
    std::optional<int> best;
    std::vector<RunRow> lastRuns;   ///< newest first
    std::vector<DayPoint> days;     ///< oldest first
    std::vector<std::pair<QString, int>> weakKeys; ///< most missed first
};

/// Every mode with runs kept.
struct RecordsSummary {
    std::vector<ModeSummary> modes;
};

} // namespace hoshi
