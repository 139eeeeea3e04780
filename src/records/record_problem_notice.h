// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/store_problem.h"

#include <QString>

namespace hoshi {

class Announcer;

/// The message of a records problem, in Japanese for a child and a helper.
QString recordProblemMessage(StoreProblem problem);

/// Says it (clipboard and voice) and shows it in a box that does not wait.
void tellRecordProblem(Announcer &announcer, StoreProblem problem);

} // namespace hoshi
