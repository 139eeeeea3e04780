// SPDX-License-Identifier: GPL-3.0-or-later
#include "typing/practice_text.h"

#include "platform/api/random_source.h"

#include <algorithm>

namespace hoshi {

const QString &PracticeText::line(int index) const
{
    static const QString none;
    if (index < 0 || index >= TableSize)
        return none;
    return m_lineTable[static_cast<std::size_t>(index)];
}

PracticeFileContent PracticeText::load(const QString &path)
{
    PracticeFileContent content = readPracticeFile(path);
    if (!content.ok())
        return content;
    // The table and the count come from the same read, so they always agree,
    // and no line of an earlier file survives.
    m_lineTable.fill(QString());
    const int count = static_cast<int>(std::min<qsizetype>(content.lines.size(), TableSize));
    for (int i = 0; i < count; ++i)
        m_lineTable[static_cast<std::size_t>(i)] = content.lines.at(i);
    m_lineNo = 1;
    m_lastLineNo = count - 1;
    m_practiceFile = path;
    return content;
}

const QString &PracticeText::drawLine(RandomSource &random)
{
    // below() gives 0 for an empty file; an answer out of range is held to
    // the file's lines, which lie inside the table.
    m_lineNo = std::clamp(random.below(m_lastLineNo + 1), 0, std::max(m_lastLineNo, 0));
    return currentLine();
}

} // namespace hoshi
