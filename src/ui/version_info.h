// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace hoshi {

QString productName();
/// The version box's lines: name, blank, version, copyright, licence.
QString versionMessage();
QString versionBoxTitle();
/// "2.0", from the build's version numbers.
QString versionNumber();
/// "Copyright (C) <year> <holders>", the same in the box and in --version.
QString copyrightLine();
/// What --version prints: name and version, copyright, licence, no warranty.
QString versionText();

} // namespace hoshi
