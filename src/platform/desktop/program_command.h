// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace hoshi {

/// A program to start and its arguments; started directly, never by a shell.
struct ProgramCommand {
    QString program;
    QStringList arguments;

    bool operator==(const ProgramCommand &) const = default;
};

} // namespace hoshi
