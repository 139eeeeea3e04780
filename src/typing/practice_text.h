// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "typing/practice_file.h"

#include <QString>
#include <QStringView>

#include <array>

namespace hoshi {

class RandomSource;

/// A line of a file as it is practised: a tab becomes a space, and every
/// other control character (C0, DEL, C1) is dropped, an escape sequence with
/// all its characters, so that none reaches the screen, the clipboard or a voice.
QString practiceLine(QStringView fileLine);

/// The practice text of one typing window: `LineTable` (101 lines), the
/// current line `LineNo`, the highest index a draw may yield `LastLineNo`, and
/// `PracticeFile`, the file they came from (empty: no text loaded). It lives
/// as long as its window object, across closing and reopening the window.
class PracticeText {
public:
    static constexpr int TableSize = PracticeLineLimit;

    /// Entry `index` of `LineTable`; an empty line outside the table.
    const QString &line(int index) const;
    const QString &currentLine() const { return line(m_lineNo); }
    int lineNo() const { return m_lineNo; }
    int lastLineNo() const { return m_lastLineNo; }
    const QString &practiceFile() const { return m_practiceFile; }
    bool isLoaded() const { return !m_practiceFile.isEmpty(); }

    /// Reads the file once. On success the whole table is replaced (entries
    /// past the new lines are emptied), `LineNo` = 1 and `LastLineNo` = lines - 1.
    /// On an error nothing changes; a file with nothing to type, only blanks
    /// and empty lines, is the error Blank.
    PracticeFileContent load(const QString &path);

    /// Makes a random line from 0 to `LastLineNo` the current one.
    const QString &drawLine(RandomSource &random);

private:
    std::array<QString, TableSize> m_lineTable;
    int m_lineNo = 0;
    int m_lastLineNo = 0;
    QString m_practiceFile;
};

} // namespace hoshi
