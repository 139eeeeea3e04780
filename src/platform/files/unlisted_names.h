// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace hoshi {

/// How many entries of the folder the file dialog would offer (folders and
/// text files, not hidden) but cannot list: Qt reads file names as UTF-8 and
/// leaves out every name that is not, such as one written in Shift_JIS.
int unlistedNameCount(const QString &folder);

} // namespace hoshi
