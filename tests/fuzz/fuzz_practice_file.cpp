// SPDX-License-Identifier: GPL-3.0-or-later
// Bytes in, lines out: any content through the reading path of practice
// texts, in every encoding, line end and size below the read limit.
// Input: the payload's form (raw, or its text written with a UTF-8 or UTF-16
// mark or as Shift_JIS), the route it is read by, how often it is repeated,
// the size of a short read, then the payload.

#include "fuzz/fuzz_check.h"
#include "support/short_read_device.h"
#include "typing/practice_file.h"
#include "typing/text_decoding.h"

#include <QBuffer>
#include <QStringEncoder>

#include <algorithm>
#include <cstdint>

namespace {

using namespace hoshi;

// Past the line length limit and across a few read chunks, yet quick to read.
constexpr qsizetype MaxFileBytes = 160 * 1024;

/// Route 0 a buffer, 1 short reads of a file, 2 short reads of a pipe. Reading
/// a file on disk is left to the typing script, which changes real files.
PracticeFileContent readBy(int route, const QByteArray &bytes, qint64 step)
{
    if (route == 0) {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        return readPracticeText(buffer);
    }
    testing::ShortReadDevice device(bytes, step, route == 2);
    return readPracticeText(device);
}

/// What a reader must give for the whole text: its lines, split plainly at
/// CR LF, LF or CR (none after a last line end), at most PracticeLineLimit of
/// them, each cut to PracticeLineLengthLimit characters but never inside a pair.
PracticeFileContent expectedFor(QString text)
{
    QStringList lines = text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n').split(u'\n');
    if (lines.back().isEmpty())
        lines.removeLast();
    PracticeFileContent expected;
    expected.moreLines = lines.size() > PracticeLineLimit;
    for (QString line : lines.mid(0, PracticeLineLimit)) {
        if (line.size() > PracticeLineLengthLimit) {
            expected.lineCut = true;
            line.truncate(PracticeLineLengthLimit - (line.at(PracticeLineLengthLimit - 1).isHighSurrogate() ? 1 : 0));
        }
        expected.lines << line;
    }
    return expected;
}

void checkSame(const PracticeFileContent &actual, const PracticeFileContent &expected)
{
    HOSHI_FUZZ_CHECK(actual.ok() && actual.lines == expected.lines);
    HOSHI_FUZZ_CHECK(actual.moreLines == expected.moreLines && actual.lineCut == expected.lineCut);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 4)
        return 0;
    const QByteArray payload(reinterpret_cast<const char *>(data + 4), static_cast<qsizetype>(size - 4));
    // Most inputs are read once; one in sixteen is repeated 2^k times.
    const qsizetype repeats = data[2] >= 240 ? qsizetype(1) << (data[2] - 240) : 1;
    const qsizetype times = payload.isEmpty() ? 1 : std::clamp<qsizetype>(MaxFileBytes / payload.size(), 1, repeats);
    const QString text = QString::fromUtf8(payload).repeated(times);
    const int form = data[0] % 5;
    QByteArray bytes;
    switch (form) {
    case 0: bytes = payload.repeated(times); break;
    case 1: bytes = QByteArray("\xEF\xBB\xBF") + text.toUtf8(); break;
    case 2: case 3:
        bytes = QStringEncoder(form == 2 ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                               QStringConverter::Flag::WriteBom).encode(text);
        break;
    default: bytes = QStringEncoder("Shift_JIS").encode(text); // not every character has a form there: judged as raw bytes
    }

    const PracticeFileContent buffered = readBy(0, bytes, 1);
    // How the bytes arrive changes nothing.
    checkSame(readBy(data[1] % 3, bytes, 1 + data[3]), buffered);
    if (form >= 1 && form <= 3) {
        checkSame(buffered, expectedFor(text));
        return 0;
    }
    if (encodingFromBom(bytes))
        return 0;
    // Raw bytes: valid UTF-8 (Qt's decoder and ours agree which is) is read as
    // UTF-8, anything else as a legacy encoding, where CR and LF are never part
    // of another character: with no more lines than are kept, the reader saw it all.
    const bool utf8 = QString::fromUtf8(bytes).toUtf8() == bytes;
    HOSHI_FUZZ_CHECK(utf8 == isValidUtf8(bytes, true));
    if (utf8 || !expectedFor(QString::fromLatin1(bytes)).moreLines)
        checkSame(buffered, expectedFor(utf8 ? QString::fromUtf8(bytes) : decodeFile(bytes, true).text));
    else
        HOSHI_FUZZ_CHECK(buffered.lines.size() == PracticeLineLimit);
    return 0;
}
