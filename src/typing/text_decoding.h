// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Turning the bytes of a practice file into lines: which encoding it is in,
// and where its lines end.

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace hoshi {

enum class TextEncoding { Utf8, Utf8WithBom, Utf16LE, Utf16BE, EucJp, ShiftJis };

/// The encoding that a byte-order mark at the start names, if there is one.
std::optional<TextEncoding> encodingFromBom(QByteArrayView bytes);

/// True if the bytes are well-formed UTF-8. When complete is false the bytes
/// are the start of a longer file, and a sequence cut at their end is allowed.
bool isValidUtf8(QByteArrayView bytes, bool complete);

/// A practice file's text, the encoding it was read in, and whether some of
/// its bytes stood for no character there.
struct DecodedText {
    QString text;
    TextEncoding encoding = TextEncoding::Utf8;
    bool unreadable = false;
};

/// A byte-order mark decides; without one, valid UTF-8 is UTF-8, then text
/// that EUC-JP decodes cleanly is EUC-JP (where Shift_JIS would too, only if
/// it holds kana), and anything else is taken for Shift_JIS (code page 932),
/// as Japanese Windows writes it: unreadable if that does not decode cleanly,
/// and whatever the encoding if the text holds NUL characters.
DecodedText decodeFile(QByteArrayView bytes, bool complete);

/// The encoding decodeFile() reads the bytes in.
TextEncoding detectEncoding(QByteArrayView bytes, bool complete);

/// Bytes of one line-end unit: 2 for UTF-16, 1 otherwise.
int codeUnitSize(TextEncoding encoding);

/// The text without its byte-order mark. A sequence cut at the end is dropped.
QString decodeText(QByteArrayView bytes, TextEncoding encoding);

struct SplitText {
    QStringList lines;
    bool moreLines = false; ///< text went on after the last kept line
    bool lineCut = false;   ///< a kept line is only the beginning of its line
};

/// Splits at CR LF, LF or CR. A last line without an end is a line; text that
/// ends with a line end has no empty line after it. Keeps at most maxLines
/// lines of at most maxLineLength characters. When complete is false the text
/// is the start of a longer file, so its unfinished last line is cut.
SplitText splitLines(QStringView text, int maxLines, int maxLineLength, bool complete);

} // namespace hoshi
