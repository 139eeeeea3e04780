// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The words, marks and numbers the reading voice says our own way, before
// anything reaches MeCab: it reads "×" as カケル, "101" as イチゼロイチ,
// "1分" as イチフン and leaves ○, ¥ and our English captions alone.

#include <QString>
#include <QStringView>

#include <optional>

namespace hoshi::kana {

/// How a table entry sounds inside a longer text; a text that is only the
/// entry is always read as its word (the key guide announces single marks).
enum class InText {
    Spoken, ///< its reading, everywhere
    Pause,  ///< sentence punctuation: a short pause
    Quiet   ///< brackets and quotes: nothing
};

struct Word {
    QStringView text; ///< NFKC-folded; matched without regard to case
    QStringView reading;
    InText inText;
};

/// A to Z or a to z, what an English word is made of here: a table entry that
/// begins or ends with one matches only a whole word, and a run of them the
/// table does not know is read as written.
inline bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

/// The longest entry written at pos of text, or nullptr. An entry that begins
/// or ends with an ASCII letter only matches a whole word, so "A" is not
/// found in "ABC" nor "End" in "Ending".
const Word *wordAt(QStringView text, qsizetype pos);

/// The correction of MeCab's reading written at pos of text, or nullptr: the
/// longest, to be used only where MeCab's words start at pos and end where it
/// ends, so that 木の下 is corrected but not 並木の下.
const Word *correctionAt(QStringView text, qsizetype pos);

/// A run of ASCII digits read as a Japanese number (2026 にせんにじゅうろく), up
/// to twelve digits; longer runs and runs with a leading zero digit by digit.
QString numberReading(QStringView digits);

/// Every ASCII digit on its own: "05" ぜろご.
QString digitByDigit(QStringView digits);

/// Every ASCII letter by its name, one after another: "GPL" じーぴーえる.
QString spelled(QStringView letters);

/// A number and the counter after it, said together.
struct Counted {
    QString reading;        ///< the number with its counter: さんぷん, ふたり, みっかかん
    QString counterReading; ///< the counter after most numbers: ふん, にん, にちかん
    qsizetype length = 0;   ///< characters of the text the counter takes: 分 1, 分間 2
};

/// When a counter of our table (分, 本, 人, 日 ...) is written at pos of
/// text, how digits before it and the counter sound together, with the
/// sound changes a child makes: 1分 いっぷん, 300本 さんびゃっぽん,
/// 2人 ふたり, 4日 よっか. Nothing when no counter is there or the digits are
/// read one by one (007).
std::optional<Counted> countedAt(QStringView digits, QStringView text, qsizetype pos);

} // namespace hoshi::kana
