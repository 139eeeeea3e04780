// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/standing_phrase.h"

#include "platform/api/text_forms.h"

#include <cstdlib>

namespace hoshi {

namespace {

QString japanese(const RunStanding &standing)
{
    if (standing.first)
        return QStringLiteral("はじめての きろく だよ");
    QString best;
    if (standing.bestEver)
        best = QStringLiteral("さいこう きろく！ ");
    else if (standing.bestToday)
        best = QStringLiteral("きょうの さいこう！ ");
    if (standing.change == 0)
        return best + QStringLiteral("まえと おなじ てんすう だよ");
    const QString points = fullWidthDigits(std::abs(standing.change));
    return best + QStringLiteral("まえより %1てん %2").arg(points, standing.change > 0 ? QStringLiteral("あがったよ")
                                                                                      : QStringLiteral("さがったよ"));
}

QString english(const RunStanding &standing)
{
    if (standing.first)
        return QStringLiteral("Your first record!");
    QString best;
    if (standing.bestEver)
        best = QStringLiteral("Your best ever! ");
    else if (standing.bestToday)
        best = QStringLiteral("Your best today! ");
    if (standing.change == 0)
        return best + QStringLiteral("The same as last time.");
    const int points = std::abs(standing.change);
    return best + QStringLiteral("%1 %2 %3 than last time.")
                      .arg(QString::number(points), points == 1 ? QStringLiteral("point") : QStringLiteral("points"),
                           standing.change > 0 ? QStringLiteral("more") : QStringLiteral("fewer"));
}

} // namespace

QString standingPhrase(const RunStanding &standing, RunLanguage language)
{
    return language == RunLanguage::English ? english(standing) : japanese(standing);
}

} // namespace hoshi
