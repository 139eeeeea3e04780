// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace hoshi {

/// Why the file at `path` must not be handed to the dynamic loader, or an
/// empty string when it may. The loader maps a library's segments from the
/// file and reads them as memory, so a file cut short ends the program with
/// SIGBUS, and opening a FIFO blocks while holding the loader's lock. The
/// file must be a regular one (a symbolic link to one will do) that can be
/// read, an ELF shared library of this program's class, byte order and
/// machine, with every loaded segment and its section headers inside it.
/// Opens the file without blocking and never waits on it. Linux only; on
/// other systems every file is accepted.
QString moduleFileProblem(const QString &path);

} // namespace hoshi
