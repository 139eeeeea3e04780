// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Starting the desktop's default application for a type the way the desktop
// does, through GIO. The program does not link GIO: it is loaded when first
// needed, and where it is missing the answer says so.

#include <QString>

namespace hoshi {

enum class GioLaunch {
    Started,
    Failed,          ///< GIO named an application, but it did not start
    NoDefault,       ///< GIO knows no application for the type that runs in a window
    NoGio            ///< GIO is not installed
};

/// Starts GIO's default application for the content type (on Linux a MIME
/// type such as text/plain) without a file, not waiting for it. One that
/// runs in a terminal does not count as a default here.
GioLaunch launchGioDefault(const QString &contentType);

} // namespace hoshi
