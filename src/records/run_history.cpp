// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/run_history.h"

#include <algorithm>

namespace hoshi {

RunStanding RunHistory::standing(const RunRecord &run) const
{
    RunStanding result;
    const ModeHistory *mode = of(run.mode);
    if (!mode || !mode->lastScore)
        return result;
    result.first = false;
    result.change = run.score - *mode->lastScore;
    result.bestEver = run.score > mode->bestEver.value_or(run.score);
    result.bestToday = !result.bestEver && mode->bestDay == run.started.date()
                       && run.score > mode->bestOfDay.value_or(run.score);
    return result;
}

void RunHistory::add(const QString &mode, QDate day, int score)
{
    ModeHistory &history = m_modes[mode];
    history.lastScore = score;
    history.bestEver = std::max(history.bestEver.value_or(score), score);
    if (history.bestDay != day)
        history.bestOfDay.reset();
    history.bestDay = day;
    history.bestOfDay = std::max(history.bestOfDay.value_or(score), score);
}

void RunHistory::mergeEarlier(const RunHistory &earlier)
{
    for (const auto &[name, old] : earlier.m_modes) {
        auto found = m_modes.find(name);
        if (found == m_modes.end()) {
            m_modes[name] = old;
            continue;
        }
        ModeHistory &now = found->second;
        if (old.bestEver)
            now.bestEver = std::max(now.bestEver.value_or(*old.bestEver), *old.bestEver);
        if (old.bestDay == now.bestDay && old.bestOfDay)
            now.bestOfDay = std::max(now.bestOfDay.value_or(*old.bestOfDay), *old.bestOfDay);
    }
}

const ModeHistory *RunHistory::of(const QString &mode) const
{
    const auto found = m_modes.find(mode);
    return found == m_modes.end() ? nullptr : &found->second;
}

} // namespace hoshi
