// SPDX-License-Identifier: GPL-3.0-or-later
#include "typing/practice_file.h"

#include "typing/text_decoding.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace hoshi {

namespace {

constexpr qsizetype ChunkBytes = 64 * 1024;

// Counts line ends in the raw code units while the file is read, so that
// reading stops as soon as a line past the limit has begun.
class LineEndCounter {
public:
    explicit LineEndCounter(QByteArrayView start)
    {
        const auto encoding = encodingFromBom(start);
        m_unitSize = encoding ? codeUnitSize(*encoding) : 1;
        m_bigEndian = encoding == TextEncoding::Utf16BE;
    }

    /// Once a line after the first PracticeLineLimit lines has begun: the
    /// offset in the file of its first byte.
    std::optional<qsizetype> feed(QByteArrayView bytes)
    {
        for (const char byte : bytes) {
            ++m_fed;
            if (m_unitSize == 2 && !m_halfUnit) {
                m_halfUnit = static_cast<unsigned char>(byte);
                continue;
            }
            if (unitEndsFull(m_unitSize == 2 ? unitOf(*m_halfUnit, byte) : static_cast<unsigned char>(byte)))
                return m_fed - m_unitSize;
            m_halfUnit.reset();
        }
        return std::nullopt;
    }

private:
    int unitOf(unsigned char first, char second) const
    {
        const auto other = static_cast<unsigned char>(second);
        return m_bigEndian ? (first << 8 | other) : (other << 8 | first);
    }

    bool unitEndsFull(int unit)
    {
        const bool lfOfCrLf = m_afterCr && unit == '\n';
        m_afterCr = unit == '\r';
        if (lfOfCrLf)
            return false;
        if (m_ends >= PracticeLineLimit)
            return true;
        if (unit == '\r' || unit == '\n')
            ++m_ends;
        return false;
    }

    int m_unitSize = 1;
    bool m_bigEndian = false;
    std::optional<unsigned char> m_halfUnit;
    bool m_afterCr = false;
    int m_ends = 0;
    qsizetype m_fed = 0;
};

PracticeReadError checkPath(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return PracticeReadError::Missing;
    if (info.isDir())
        return PracticeReadError::Folder;
    // A pipe or a device could block or never end.
    if (!info.isFile())
        return PracticeReadError::NotAFile;
    return PracticeReadError::None;
}

PracticeReadError openError(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return PracticeReadError::Missing;
    if (!info.isReadable())
        return PracticeReadError::NoPermission;
    return PracticeReadError::ReadFailed;
}

struct RawText {
    QByteArray bytes;
    bool complete = false; ///< the whole file was read
    bool failed = false;
};

RawText readAsFarAsNeeded(QIODevice &device)
{
    RawText raw;
    std::optional<LineEndCounter> counter;
    qsizetype counted = 0; // bytes the counter has seen
    while (raw.bytes.size() < PracticeReadLimitBytes) {
        const qsizetype before = raw.bytes.size();
        raw.bytes.resize(before + std::min(ChunkBytes, PracticeReadLimitBytes - before));
        const qint64 got = device.read(raw.bytes.data() + before, raw.bytes.size() - before);
        raw.bytes.resize(before + std::max<qint64>(got, 0));
        if (got < 0) {
            raw.failed = true;
            return raw;
        }
        if (got == 0) {
            raw.complete = true;
            return raw;
        }
        // The mark that makes the units two bytes wide is two bytes long, and
        // a device may hand out fewer at a time.
        if (!counter && raw.bytes.size() >= 2)
            counter.emplace(QByteArrayView(raw.bytes));
        if (!counter)
            continue;
        if (const auto pastLimit = counter->feed(QByteArrayView(raw.bytes).sliced(counted))) {
            // Only the kept lines decide the encoding, however far the reads went.
            raw.bytes.truncate(*pastLimit);
            return raw;
        }
        counted = raw.bytes.size();
    }
    // A stream cannot tell whether more would come; take it that it would.
    raw.complete = !device.isSequential() && device.atEnd();
    return raw;
}

} // namespace

PracticeFileContent readPracticeFile(const QString &path)
{
    PracticeFileContent content;
    content.error = checkPath(path);
    if (!content.ok())
        return content;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        content.error = openError(path);
        return content;
    }
    return readPracticeText(file);
}

PracticeFileContent readPracticeText(QIODevice &device)
{
    PracticeFileContent content;
    const RawText raw = readAsFarAsNeeded(device);
    if (raw.failed) {
        content.error = PracticeReadError::ReadFailed;
        return content;
    }
    const DecodedText decoded = decodeFile(raw.bytes, raw.complete);
    SplitText split = splitLines(decoded.text, PracticeLineLimit, PracticeLineLengthLimit, raw.complete);
    content.unreadableCharacters = decoded.unreadable;
    content.lines = std::move(split.lines);
    content.moreLines = split.moreLines;
    content.lineCut = split.lineCut;
    return content;
}

} // namespace hoshi
