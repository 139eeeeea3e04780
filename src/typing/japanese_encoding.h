// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The byte forms of the two legacy Japanese encodings: EUC-JP, the old Unix
// and Linux one, and Shift_JIS (code page 932), the Windows one. Which one a
// file is in, decodeFile() in text_decoding.h decides.

#include <QByteArrayView>

namespace hoshi {

/// True if the bytes are well-formed EUC-JP: ASCII, two-byte JIS X 0208,
/// half-width katakana after 0x8E, three-byte JIS X 0212 after 0x8F. When
/// complete is false a character cut at the end is allowed.
bool isWellFormedEucJp(QByteArrayView bytes, bool complete);

/// True if the bytes are well-formed code page 932: ASCII, half-width
/// katakana, and lead bytes 0x81-0x9F or 0xE0-0xFC each with a trail byte.
bool isWellFormedShiftJis(QByteArrayView bytes, bool complete);

} // namespace hoshi
