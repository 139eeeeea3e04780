// SPDX-License-Identifier: GPL-3.0-or-later
#include "typing/practice_text.h"

#include "platform/api/random_source.h"

#include <algorithm>

namespace hoshi {

namespace {

constexpr char16_t Tab = 0x09;
constexpr char16_t Bel = 0x07;
constexpr char16_t Esc = 0x1B;
constexpr char16_t C1Csi = 0x9B;        // the one-character form of ESC [
constexpr char16_t C1StringEnd = 0x9C;  // ST, the end of a control string

bool isControl(char16_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

bool inRange(QStringView line, qsizetype at, char16_t low, char16_t high)
{
    return at < line.size() && line[at].unicode() >= low && line[at].unicode() <= high;
}

// The parameters, intermediates and final character of a control sequence.
qsizetype controlSequenceEnd(QStringView line, qsizetype at)
{
    while (inRange(line, at, 0x30, 0x3F))
        ++at;
    while (inRange(line, at, 0x20, 0x2F))
        ++at;
    return inRange(line, at, 0x40, 0x7E) ? at + 1 : at;
}

// A control string (a title, a device command) runs to BEL, ESC \ or ST, or to the line's end.
qsizetype controlStringEnd(QStringView line, qsizetype at)
{
    for (; at < line.size(); ++at) {
        const char16_t c = line[at].unicode();
        if (c == Bel || c == C1StringEnd)
            return at + 1;
        if (c == Esc && at + 1 < line.size() && line[at + 1] == u'\\')
            return at + 2;
    }
    return at;
}

// OSC, DCS, SOS, PM and APC: by the character after ESC, and in their C1 form.
bool startsStringAfterEsc(char16_t c)
{
    return c == u']' || c == u'P' || c == u'X' || c == u'^' || c == u'_';
}

bool isC1StringStart(char16_t c)
{
    return c == 0x9D || c == 0x90 || c == 0x98 || c == 0x9E || c == 0x9F;
}

// One past the control character at `at` and whatever it introduces.
qsizetype controlEnd(QStringView line, qsizetype at)
{
    const char16_t c = line[at].unicode();
    if (c == C1Csi)
        return controlSequenceEnd(line, at + 1);
    if (isC1StringStart(c))
        return controlStringEnd(line, at + 1);
    if (c != Esc || at + 1 >= line.size())
        return at + 1;
    const char16_t next = line[at + 1].unicode();
    if (next == u'[')
        return controlSequenceEnd(line, at + 2);
    if (startsStringAfterEsc(next))
        return controlStringEnd(line, at + 2);
    // ESC, intermediates (a character set chosen: ESC $ B), one final character.
    qsizetype end = at + 1;
    while (inRange(line, end, 0x20, 0x2F))
        ++end;
    return inRange(line, end, 0x30, 0x7E) ? end + 1 : end;
}

// A child types nothing here: only blanks, the full-width space among them.
bool isBlank(const QString &line)
{
    return line.trimmed().isEmpty();
}

} // namespace

QString practiceLine(QStringView fileLine)
{
    QString line;
    line.reserve(fileLine.size());
    for (qsizetype i = 0; i < fileLine.size();) {
        const char16_t c = fileLine[i].unicode();
        if (c == Tab) {
            // The input box hands Tab to the next control: a space can be typed.
            line += u' ';
            ++i;
        } else if (isControl(c)) {
            i = controlEnd(fileLine, i);
        } else {
            line += fileLine[i];
            ++i;
        }
    }
    return line;
}

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
    for (QString &line : content.lines)
        line = practiceLine(line);
    if (std::all_of(content.lines.cbegin(), content.lines.cend(), isBlank)) {
        content = PracticeFileContent{};
        content.error = PracticeReadError::Blank;
        return content;
    }
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
