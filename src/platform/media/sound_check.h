// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

class QTextStream;

namespace hoshi {

/// Answers --check-sounds: for each cue, where its file was found and
/// whether it loads, one line each. True when every cue would play rather
/// than beep. Needs a QCoreApplication, no display.
bool checkCueFiles(QTextStream &out, const QStringList &folders);

} // namespace hoshi
