// SPDX-License-Identifier: GPL-3.0-or-later
#include "typing/text_decoding.h"

#include "typing/japanese_encoding.h"

#include <QStringDecoder>

#include <optional>
#include <utility>

namespace hoshi {

namespace {

// Which bytes may follow a UTF-8 lead byte: overlong forms, surrogates and
// code points past U+10FFFF are ruled out by the range of the second byte.
struct Utf8Lead {
    int length = 0; // 0: not a lead byte
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
};

Utf8Lead utf8Lead(unsigned char byte)
{
    if (byte >= 0xC2 && byte <= 0xDF)
        return {2};
    if (byte == 0xE0)
        return {3, 0xA0, 0xBF};
    if (byte == 0xED)
        return {3, 0x80, 0x9F};
    if (byte >= 0xE1 && byte <= 0xEF)
        return {3};
    if (byte == 0xF0)
        return {4, 0x90, 0xBF};
    if (byte >= 0xF1 && byte <= 0xF3)
        return {4};
    if (byte == 0xF4)
        return {4, 0x80, 0x8F};
    return {};
}

void addLine(SplitText &split, QStringView line, int maxLineLength)
{
    if (line.size() > maxLineLength) {
        qsizetype keep = maxLineLength;
        // Never keep half of a surrogate pair.
        if (keep > 0 && line.at(keep - 1).isHighSurrogate())
            --keep;
        line = line.first(keep);
        split.lineCut = true;
    }
    split.lines << line.toString();
}

// A legacy text decoded with the named converter, and whether every
// character had a meaning there.
struct LegacyDecoding {
    QString text;
    bool clean = false;
};

// None when Qt has no converter of that name.
std::optional<LegacyDecoding> decodeLegacy(QByteArrayView bytes, const char *name)
{
    QStringDecoder decoder(name);
    if (!decoder.isValid())
        return std::nullopt;
    LegacyDecoding decoding{decoder.decode(bytes), true};
    // A code with no character behind it comes out as U+FFFD or as the
    // substitute control U+001A, which a file may also hold as itself.
    const qsizetype substitutes = decoding.text.count(QChar(0x1A)) - bytes.count('\x1A');
    decoding.clean = substitutes == 0 && !decoding.text.contains(QChar::ReplacementCharacter);
    return decoding;
}

// A Qt without ICU knows no Shift_JIS; the system code page is 932 on
// Japanese Windows, the systems these files come from.
QString shiftJisText(std::optional<LegacyDecoding> shiftJis, QByteArrayView bytes)
{
    if (shiftJis)
        return std::move(shiftJis->text);
    return QStringDecoder(QStringConverter::System).decode(bytes);
}

// Hiragana and katakana letters, as Japanese text holds.
bool containsKana(QStringView text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x3041 && c.unicode() <= 0x30FA)
            return true;
    }
    return false;
}

} // namespace

std::optional<TextEncoding> encodingFromBom(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return TextEncoding::Utf8WithBom;
    if (bytes.startsWith("\xFF\xFE"))
        return TextEncoding::Utf16LE;
    if (bytes.startsWith("\xFE\xFF"))
        return TextEncoding::Utf16BE;
    return std::nullopt;
}

bool isValidUtf8(QByteArrayView bytes, bool complete)
{
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    while (i < size) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        const Utf8Lead rule = utf8Lead(lead);
        if (rule.length == 0)
            return false;
        for (int k = 1; k < rule.length; ++k) {
            if (i + k >= size)
                return !complete;
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            const unsigned char low = k == 1 ? rule.low : 0x80;
            const unsigned char high = k == 1 ? rule.high : 0xBF;
            if (next < low || next > high)
                return false;
        }
        i += rule.length;
    }
    return true;
}

namespace {

DecodedText decodeAsDetected(QByteArrayView bytes, bool complete)
{
    if (const auto marked = encodingFromBom(bytes))
        return {decodeText(bytes, *marked), *marked};
    if (isValidUtf8(bytes, complete))
        return {decodeText(bytes, TextEncoding::Utf8), TextEncoding::Utf8};
    // Each legacy candidate is decoded once; Shift_JIS always, as the fallback.
    std::optional<LegacyDecoding> shiftJis = decodeLegacy(bytes, "Shift_JIS");
    // A Qt without the converter cannot tell; the bytes' form alone then decides.
    const bool shiftJisClean = isWellFormedShiftJis(bytes, complete) && (!shiftJis || shiftJis->clean);
    if (isWellFormedEucJp(bytes, complete)) {
        std::optional<LegacyDecoding> eucJp = decodeLegacy(bytes, "EUC-JP");
        // Kana in EUC-JP are also pairs of half-width katakana in Shift_JIS.
        if (eucJp && eucJp->clean && (containsKana(eucJp->text) || !shiftJisClean))
            return {std::move(eucJp->text), TextEncoding::EucJp};
    }
    return {shiftJisText(std::move(shiftJis), bytes), TextEncoding::ShiftJis, !shiftJisClean};
}

} // namespace

DecodedText decodeFile(QByteArrayView bytes, bool complete)
{
    DecodedText decoded = decodeAsDetected(bytes, complete);
    // No text file holds NUL: it is UTF-16 without its mark, UTF-32 (whose
    // mark starts as UTF-16's) or not text at all.
    if (decoded.text.contains(QChar(0)))
        decoded.unreadable = true;
    return decoded;
}

TextEncoding detectEncoding(QByteArrayView bytes, bool complete)
{
    return decodeFile(bytes, complete).encoding;
}

int codeUnitSize(TextEncoding encoding)
{
    return encoding == TextEncoding::Utf16LE || encoding == TextEncoding::Utf16BE ? 2 : 1;
}

QString decodeText(QByteArrayView bytes, TextEncoding encoding)
{
    // The mark is cut off here; anything after it, even a second mark, is text.
    constexpr auto keepMarks = QStringConverter::Flag::ConvertInitialBom;
    switch (encoding) {
    case TextEncoding::Utf8:
        return QStringDecoder(QStringConverter::Utf8, keepMarks).decode(bytes);
    case TextEncoding::Utf8WithBom:
        return QStringDecoder(QStringConverter::Utf8, keepMarks).decode(bytes.sliced(3));
    case TextEncoding::Utf16LE:
        return QStringDecoder(QStringConverter::Utf16LE, keepMarks).decode(bytes.sliced(2));
    case TextEncoding::Utf16BE:
        return QStringDecoder(QStringConverter::Utf16BE, keepMarks).decode(bytes.sliced(2));
    case TextEncoding::EucJp:
        if (const std::optional<LegacyDecoding> eucJp = decodeLegacy(bytes, "EUC-JP"))
            return eucJp->text;
        break;
    case TextEncoding::ShiftJis:
        break;
    }
    return shiftJisText(decodeLegacy(bytes, "Shift_JIS"), bytes);
}

SplitText splitLines(QStringView text, int maxLines, int maxLineLength, bool complete)
{
    SplitText split;
    const qsizetype size = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        if (split.lines.size() >= maxLines) {
            split.moreLines = true;
            return split;
        }
        addLine(split, text.sliced(start, i - start), maxLineLength);
        if (c == u'\r' && i + 1 < size && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (split.lines.size() >= maxLines) {
        // Anything after the last kept line, or a file that goes on, is more.
        split.moreLines = start < size || !complete;
    } else if (start < size) {
        addLine(split, text.sliced(start), maxLineLength);
        split.lineCut = split.lineCut || !complete;
    }
    return split;
}

} // namespace hoshi
