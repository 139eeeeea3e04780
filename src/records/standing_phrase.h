// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/api/run_records.h"
#include "records/run_history.h"

#include <QString>

namespace hoshi {

/// What the voice says of a run's standing, short enough for a child:
/// "さいこう きろく！ まえより ５てん あがったよ", in English for the English window.
QString standingPhrase(const RunStanding &standing, RunLanguage language);

} // namespace hoshi
