// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/api/run_records.h"

#include <QDate>
#include <QString>

#include <map>
#include <optional>

namespace hoshi {

/// How a finished run stands against the runs of its mode before it.
struct RunStanding {
    bool first = true;      ///< no finished run of this mode before
    bool bestEver = false;  ///< above every earlier score
    bool bestToday = false; ///< above every earlier score of the same day (there was one)
    int change = 0;         ///< the score minus the last run's
};

/// What the comparison needs of one mode's finished runs.
struct ModeHistory {
    std::optional<int> lastScore;
    std::optional<int> bestEver;
    QDate bestDay; ///< the day bestOfDay belongs to
    std::optional<int> bestOfDay;
};

/// The finished runs' scores by mode, kept in memory on the UI thread so the
/// comparison at time-up never waits for the store. Runs cut short count not.
class RunHistory {
public:
    RunStanding standing(const RunRecord &run) const;
    /// A finished run of `mode` on `day`, later than every run added before.
    void add(const QString &mode, QDate day, int score);
    /// Takes in a history of earlier runs (loaded from the store) under the
    /// runs added here meanwhile.
    void mergeEarlier(const RunHistory &earlier);
    const ModeHistory *of(const QString &mode) const;

private:
    std::map<QString, ModeHistory> m_modes;
};

} // namespace hoshi
