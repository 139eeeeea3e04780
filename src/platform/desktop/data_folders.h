// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The folders the program's own files lie in.

#include <QString>
#include <QStringList>

namespace hoshi {

/// The executable's folder (a build tree), then the installed data folder
/// `../share/hoshinotamago` beside it.
QStringList programDataFolders();

/// The first of `<data folder>/texts/<language>` that exists; empty if none does.
QString sampleTextFolder(const QString &language);

} // namespace hoshi
