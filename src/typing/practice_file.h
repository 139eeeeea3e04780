// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading a practice file: once, and only as far as the window can use it.

#include <QString>
#include <QStringList>

class QIODevice;

namespace hoshi {

/// A practice text holds at most this many lines (table indexes 0 to 100).
inline constexpr int PracticeLineLimit = 101;
/// Longer lines are cut: no one types them, and a huge one would stall drawing.
inline constexpr int PracticeLineLengthLimit = 10000;
/// No more of a file is read than this, so a huge file cannot stall the window.
inline constexpr qsizetype PracticeReadLimitBytes = 4 * 1024 * 1024;

enum class PracticeReadError {
    None,
    Missing,      ///< no such file, or it vanished
    Folder,       ///< a folder was chosen
    NotAFile,     ///< a device, a pipe or another special file
    NoPermission, ///< the user may not read it
    ReadFailed,   ///< opening or reading failed for another reason
    Blank         ///< nothing to type: only blanks and empty lines
};

/// What one reading of a practice file gave. On an error there are no lines.
struct PracticeFileContent {
    QStringList lines;      ///< at most PracticeLineLimit
    bool moreLines = false; ///< the file had more lines than were kept
    bool lineCut = false;   ///< a line was too long and only its beginning was kept
    bool unreadableCharacters = false; ///< no Japanese encoding read every byte
    PracticeReadError error = PracticeReadError::None;

    bool ok() const { return error == PracticeReadError::None; }
};

/// Reads the file once: UTF-8 with or without a byte-order mark, UTF-16 with
/// one, EUC-JP, anything else as Shift_JIS; lines end in CR LF, LF or CR.
PracticeFileContent readPracticeFile(const QString &path);

/// The same for an open device: reads no more than the lines need.
PracticeFileContent readPracticeText(QIODevice &device);

} // namespace hoshi
