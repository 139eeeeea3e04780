// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/standing_phrase.h"

#include "platform/api/text_forms.h"

#include <cstdlib>

namespace hoshi {

namespace {

/// The words of one language; %1 in a change is the points, %2 the direction.
struct StandingWords {
    const char16_t *first;
    const char16_t *bestEver;
    const char16_t *bestToday;
    const char16_t *same;
    const char16_t *change;
    const char16_t *up;
    const char16_t *down;
    QString (*points)(int points);
};

const StandingWords Japanese{u"はじめての きろく だよ", u"さいこう きろく！ ", u"きょうの さいこう！ ",
                             u"まえと おなじ てんすう だよ", u"まえより %1てん %2", u"あがったよ", u"さがったよ",
                             [](int points) -> QString { return fullWidthDigits(points); }};

const StandingWords English{u"Your first record!", u"Your best ever! ", u"Your best today! ",
                            u"The same as last time.", u"%1 %2 than last time.", u"more", u"fewer",
                            [](int points) -> QString {
                                return QString::number(points) + QString::fromUtf16(points == 1 ? u" point" : u" points");
                            }};

} // namespace

QString standingPhrase(const RunStanding &standing, RunLanguage language)
{
    const StandingWords &words = language == RunLanguage::English ? English : Japanese;
    if (standing.first)
        return QString::fromUtf16(words.first);
    const QString best = QString::fromUtf16(standing.bestEver ? words.bestEver
                                            : standing.bestToday ? words.bestToday
                                                                 : u"");
    if (standing.change == 0)
        return best + QString::fromUtf16(words.same);
    return best + QString::fromUtf16(words.change)
                      .arg(words.points(std::abs(standing.change)),
                           QString::fromUtf16(standing.change > 0 ? words.up : words.down));
}

} // namespace hoshi
