// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/records_summary.h"

#include <algorithm>

namespace hoshi {

namespace {

ModeSummary &modeOf(RecordsSummary &summary, const QString &mode)
{
    const auto found = std::find_if(summary.modes.begin(), summary.modes.end(),
                                    [&mode](const ModeSummary &shown) { return shown.mode == mode; });
    if (found != summary.modes.end())
        return *found;
    ModeSummary &added = summary.modes.emplace_back();
    added.mode = mode;
    return added;
}

void addLastRun(std::vector<RunRow> &rows, const RunRow &row, int limit)
{
    const auto later = [](const RunRow &a, const RunRow &b) { return a.started > b.started; };
    rows.insert(std::upper_bound(rows.begin(), rows.end(), row, later), row);
    if (rows.size() > std::size_t(limit))
        rows.resize(std::size_t(limit));
}

void addMissedKeys(std::vector<std::pair<QString, int>> &keys, const std::map<QString, int> &missed)
{
    for (const auto &[key, count] : missed) {
        const auto found = std::find_if(keys.begin(), keys.end(), [&key](const auto &kept) { return kept.first == key; });
        if (found == keys.end())
            keys.emplace_back(key, count);
        else
            found->second += count;
    }
    std::sort(keys.begin(), keys.end(), [](const auto &a, const auto &b) {
        return a.second != b.second ? a.second > b.second : a.first < b.first;
    });
}

} // namespace

RunRow rowOf(const RunRecord &run)
{
    return {run.started, run.score, run.charsPerMinute, run.accuracy, run.cutShort};
}

void countDay(std::vector<DayPoint> &days, const RunRow &run)
{
    if (run.cutShort)
        return;
    const QDate day = run.started.date();
    auto at = std::lower_bound(days.begin(), days.end(), day,
                               [](const DayPoint &point, QDate date) { return point.day < date; });
    if (at == days.end() || at->day != day)
        at = days.insert(at, DayPoint{day, run.score, 0, 0, 0});
    const double before = at->runs++;
    at->bestScore = std::max(at->bestScore, run.score);
    at->charsPerMinute = (at->charsPerMinute * before + run.charsPerMinute) / at->runs;
    at->accuracy = (at->accuracy * before + run.accuracy) / at->runs;
}

void addRun(RecordsSummary &summary, const RunRecord &run, const SummaryLimits &limits)
{
    ModeSummary &mode = modeOf(summary, run.mode);
    ++mode.runCount;
    if (!run.cutShort)
        mode.best = std::max(mode.best.value_or(run.score), run.score);
    addLastRun(mode.lastRuns, rowOf(run), limits.lastRuns);
    countDay(mode.days, rowOf(run));
    if (mode.days.size() > std::size_t(limits.days))
        mode.days.erase(mode.days.begin(), mode.days.end() - limits.days);
    addMissedKeys(mode.weakKeys, run.missedKeys);
}

} // namespace hoshi
