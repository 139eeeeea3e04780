// SPDX-License-Identifier: GPL-3.0-or-later
// Bytes in, lines out: any file content through the real reading path of
// practice texts, in every encoding, line end and size (below the read
// limit: past it the unit tests read). Input: the payload's form (raw, or
// its text written with a UTF-8 or UTF-16 mark or as Shift_JIS), the route
// it is read by, how often it is repeated, the size of a short read, then
// the payload.

#include "fuzz/fuzz_check.h"
#include "support/short_read_device.h"
#include "typing/japanese_encoding.h"
#include "typing/practice_file.h"
#include "typing/text_decoding.h"

#include <QBuffer>
#include <QFile>
#include <QIODevice>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

using namespace hoshi;

enum class Form { Raw, Utf8WithBom, Utf16LE, Utf16BE, ShiftJis, Count };
enum class Route { Buffer, ShortReads, Stream, File, Count };

// Past the line length limit and across a few read chunks, yet quick to read.
constexpr qsizetype MaxFileBytes = 160 * 1024;

/// The file: the payload's bytes repeated, or its text repeated and written
/// in `form`. `text` is what a reader must find in it, where that is known.
QByteArray makeFile(Form form, const QByteArray &payload, qsizetype repeats, QString &text)
{
    const qsizetype times = payload.isEmpty() ? 1 : std::clamp<qsizetype>(MaxFileBytes / payload.size(), 1, repeats);
    if (form == Form::Raw)
        return payload.repeated(times);
    text = QString::fromUtf8(payload).repeated(times);
    if (form == Form::Utf8WithBom)
        return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    if (form == Form::Utf16LE || form == Form::Utf16BE)
        return QStringEncoder(form == Form::Utf16LE ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                              QStringConverter::Flag::WriteBom).encode(text);
    QStringEncoder shiftJis("Shift_JIS");
    const QByteArray bytes = shiftJis.encode(text);
    text.clear(); // not every character has a Shift_JIS form: judged as raw bytes
    return bytes;
}

PracticeFileContent readBy(Route route, const QByteArray &bytes, qint64 step)
{
    if (route == Route::ShortReads || route == Route::Stream) {
        testing::ShortReadDevice device(bytes, step, route == Route::Stream);
        return readPracticeText(device);
    }
    if (route == Route::File) {
        static QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("practice.txt"));
        QFile file(path);
        HOSHI_FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size());
        file.close();
        return readPracticeFile(path);
    }
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return readPracticeText(buffer);
}

/// Calls `line(start, length)` for every line of the text, split plainly on
/// CR LF, LF or CR (no empty line after a last line end); returns the count.
template <typename Text, typename Visit>
qsizetype forEachLine(const Text &text, Visit line)
{
    qsizetype count = 0;
    qsizetype start = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        line(count++, start, i - start);
        if (text[i] == '\r' && i + 1 < size && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        line(count++, start, size - start);
    return count;
}

template <typename Text>
qsizetype lineCount(const Text &text)
{
    return forEachLine(text, [](qsizetype, qsizetype, qsizetype) {});
}

/// What a reader that keeps PracticeLineLimit lines of PracticeLineLengthLimit
/// characters must give for the whole text.
PracticeFileContent expectedFor(QStringView text)
{
    PracticeFileContent expected;
    const qsizetype count = forEachLine(text, [&](qsizetype index, qsizetype start, qsizetype length) {
        if (index >= PracticeLineLimit)
            return;
        QString line = text.mid(start, length).toString();
        if (line.size() > PracticeLineLengthLimit) {
            expected.lineCut = true;
            line.truncate(PracticeLineLengthLimit);
            if (line.back().isHighSurrogate())
                line.chop(1);
        }
        expected.lines << line;
    });
    expected.moreLines = count > PracticeLineLimit;
    return expected;
}

void checkShape(const PracticeFileContent &content)
{
    HOSHI_FUZZ_CHECK(content.ok() && content.lines.size() <= PracticeLineLimit);
    HOSHI_FUZZ_CHECK(!content.moreLines || content.lines.size() == PracticeLineLimit);
    for (const QString &line : content.lines)
        HOSHI_FUZZ_CHECK(!line.contains(u'\r') && !line.contains(u'\n') && line.size() <= PracticeLineLengthLimit);
}

void checkSame(const PracticeFileContent &actual, const PracticeFileContent &expected)
{
    HOSHI_FUZZ_CHECK(actual.lines == expected.lines);
    HOSHI_FUZZ_CHECK(actual.moreLines == expected.moreLines && actual.lineCut == expected.lineCut);
}

bool isUtf8Text(const QByteArray &bytes)
{
    // A mark is text only after the start; Qt's decoder and ours must agree.
    const QString text = QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom)
                             .decode(bytes);
    const bool roundTrips = text.toUtf8() == bytes;
    HOSHI_FUZZ_CHECK(roundTrips == isValidUtf8(bytes, true));
    return roundTrips && !encodingFromBom(bytes);
}

QString legacyText(const QByteArray &bytes)
{
    if (decodeFile(bytes, true).encoding == TextEncoding::EucJp) {
        HOSHI_FUZZ_CHECK(isWellFormedEucJp(bytes, true));
        // Every code stood for a character: no replacement, no substitute control added.
        const QString eucJp = QStringDecoder("EUC-JP").decode(bytes);
        HOSHI_FUZZ_CHECK(!eucJp.contains(QChar::ReplacementCharacter));
        HOSHI_FUZZ_CHECK(eucJp.count(QChar(0x1A)) == bytes.count('\x1A'));
        return eucJp;
    }
    return QStringDecoder("Shift_JIS").decode(bytes);
}

/// Raw bytes without a mark: valid UTF-8 is read as UTF-8; EUC-JP only when
/// the bytes are well-formed EUC-JP that decodes without a replacement;
/// anything else as Shift_JIS. In both CR and LF are never part of another
/// character.
void checkRaw(const QByteArray &bytes, const PracticeFileContent &content)
{
    if (encodingFromBom(bytes))
        return;
    if (isUtf8Text(bytes)) {
        checkSame(content, expectedFor(QString::fromUtf8(bytes)));
        return;
    }
    const QString text = legacyText(bytes);
    // Line starts in the bytes; a last line that is only a cut character decodes to nothing.
    const qsizetype started = lineCount(QByteArrayView(bytes));
    const qsizetype decoded = lineCount(QStringView(text));
    if (started <= PracticeLineLimit) {
        checkSame(content, expectedFor(text)); // the reader saw the whole file
    } else if (decoded > PracticeLineLimit) {
        HOSHI_FUZZ_CHECK(content.lines.size() == PracticeLineLimit && content.moreLines);
    } else {
        HOSHI_FUZZ_CHECK(content.lines.size() == PracticeLineLimit);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 4)
        return 0;
    const auto form = static_cast<Form>(data[0] % static_cast<int>(Form::Count));
    // Most inputs are read once; one in sixteen is repeated 2^k times.
    const qsizetype repeats = data[2] >= 240 ? qsizetype(1) << (data[2] - 240) : 1;
    QString text;
    const QByteArray bytes = makeFile(form, QByteArray(reinterpret_cast<const char *>(data + 4), static_cast<qsizetype>(size - 4)), repeats, text);

    const PracticeFileContent buffered = readBy(Route::Buffer, bytes, 1);
    checkShape(buffered);
    const PracticeFileContent routed = readBy(static_cast<Route>(data[1] % static_cast<int>(Route::Count)), bytes, 1 + data[3]);
    checkShape(routed);
    // How the bytes arrive changes nothing.
    checkSame(routed, buffered);
    if (form == Form::Raw || form == Form::ShiftJis)
        checkRaw(bytes, buffered);
    else
        checkSame(buffered, expectedFor(text));
    return 0;
}
