#pragma once

#include <QString>

namespace hoshi {

QString productName();
/// The version box's four lines: name, blank, version, copyright.
QString versionMessage();
QString versionBoxTitle();
/// "2.0", from the build's version numbers.
QString versionNumber();

} // namespace hoshi
