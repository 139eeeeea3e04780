// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Telling the two legacy Japanese encodings apart: EUC-JP, the old Unix and
// Linux one, and Shift_JIS (code page 932), the Windows one.

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace hoshi {

/// True if the bytes are well-formed EUC-JP: ASCII, two-byte JIS X 0208,
/// half-width katakana after 0x8E, three-byte JIS X 0212 after 0x8F. When
/// complete is false a character cut at the end is allowed.
bool isWellFormedEucJp(QByteArrayView bytes, bool complete);

/// True if the bytes are well-formed code page 932: ASCII, half-width
/// katakana, and lead bytes 0x81-0x9F or 0xE0-0xFC each with a trail byte.
bool isWellFormedShiftJis(QByteArrayView bytes, bool complete);

/// The text decoded with the named converter, and whether every character
/// had a meaning there (no replacement character stands in for one).
struct LegacyDecoding {
    QString text;
    bool clean = false;
};

/// Decodes with Qt's converter of that name; none when Qt has no such converter.
std::optional<LegacyDecoding> decodeLegacy(QByteArrayView bytes, const char *name);

/// True if the text holds a hiragana or katakana letter, as Japanese text does.
bool containsKana(QStringView text);

} // namespace hoshi
