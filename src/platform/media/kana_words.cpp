// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/media/kana_words.h"

#include <algorithm>
#include <array>
#include <vector>

namespace hoshi::kana {

namespace {

using enum InText;

// Our captions, the key names of the key guide as children say them, the
// letters, and the marks of the keyboard. Texts are as they are after NFKC.
constexpr Word Words[] = {
    {u"RESET!", u"りせっと", Spoken},
    {u"RESET", u"りせっと", Spoken},
    {u"START", u"すたーと", Spoken},
    {u"RETRY", u"りとらい", Spoken},
    {u"REPEAT", u"りぴーと", Spoken},
    {u"TIME", u"たいむ", Spoken},

    {u"BackSpace", u"ばっくすぺーす", Spoken},
    {u"Back Space", u"ばっくすぺーす", Spoken},
    {u"Tab", u"たぶ", Spoken},
    {u"Enter", u"えんたー", Spoken},
    {u"Return", u"りたーん", Spoken},
    {u"Pause", u"ぽーず", Spoken},
    {u"Escape", u"えすけーぷ", Spoken},
    {u"Esc", u"えすけーぷ", Spoken},
    {u"Space", u"すぺーす", Spoken},
    {u"Page Up", u"ぺーじあっぷ", Spoken},
    {u"PageUp", u"ぺーじあっぷ", Spoken},
    {u"Page Down", u"ぺーじだうん", Spoken},
    {u"PageDown", u"ぺーじだうん", Spoken},
    {u"Home", u"ほーむ", Spoken},
    {u"End", u"えんど", Spoken},
    {u"Insert", u"いんさーと", Spoken},
    {u"Delete", u"でりーと", Spoken},
    {u"Print Screen", u"ぷりんとすくりーん", Spoken},
    {u"PrintScreen", u"ぷりんとすくりーん", Spoken},
    {u"Prentscreen", u"ぷりんとすくりーん", Spoken}, // the key guide's spelling
    {u"Windows", u"うぃんどーず", Spoken},
    {u"Application", u"あぷりけーしょん", Spoken},
    {u"NumLock", u"なむろっく", Spoken},
    {u"Num Lock", u"なむろっく", Spoken},
    {u"CapsLock", u"きゃぷすろっく", Spoken},
    {u"Caps Lock", u"きゃぷすろっく", Spoken},
    {u"Shift", u"しふと", Spoken},
    {u"Ctrl", u"こんとろーる", Spoken},
    {u"Control", u"こんとろーる", Spoken},
    {u"Alt", u"おると", Spoken},
    {u"半角/全角", u"はんかくぜんかく", Spoken},
    // MeCab reads 上 and 下 here as うわ and か.
    {u"上矢印", u"うえやじるし", Spoken},
    {u"下矢印", u"したやじるし", Spoken},
    {u"←", u"ひだりやじるし", Spoken},
    {u"↑", u"うえやじるし", Spoken},
    {u"→", u"みぎやじるし", Spoken},
    {u"↓", u"したやじるし", Spoken},

    {u"A", u"えー", Spoken}, {u"B", u"びー", Spoken}, {u"C", u"しー", Spoken},
    {u"D", u"でぃー", Spoken}, {u"E", u"いー", Spoken}, {u"F", u"えふ", Spoken},
    {u"G", u"じー", Spoken}, {u"H", u"えっち", Spoken}, {u"I", u"あい", Spoken},
    {u"J", u"じぇー", Spoken}, {u"K", u"けー", Spoken}, {u"L", u"える", Spoken},
    {u"M", u"えむ", Spoken}, {u"N", u"えぬ", Spoken}, {u"O", u"おー", Spoken},
    {u"P", u"ぴー", Spoken}, {u"Q", u"きゅー", Spoken}, {u"R", u"あーる", Spoken},
    {u"S", u"えす", Spoken}, {u"T", u"てぃー", Spoken}, {u"U", u"ゆー", Spoken},
    {u"V", u"ぶい", Spoken}, {u"W", u"だぶりゅー", Spoken}, {u"X", u"えっくす", Spoken},
    {u"Y", u"わい", Spoken}, {u"Z", u"ぜっと", Spoken},

    {u"○", u"まる", Spoken},
    {u"◯", u"まる", Spoken},
    {u"×", u"ばつ", Spoken},
    {u"÷", u"わる", Spoken},
    {u"@", u"あっとまーく", Spoken},
    {u"#", u"しゃーぷ", Spoken},
    {u"$", u"どる", Spoken},
    {u"%", u"ぱーせんと", Spoken},
    {u"&", u"あんど", Spoken},
    {u"*", u"あすたりすく", Spoken},
    {u"+", u"ぷらす", Spoken},
    {u"-", u"まいなす", Spoken},
    {u"−", u"まいなす", Spoken},
    {u"=", u"いこーる", Spoken},
    {u"~", u"ちるだ", Spoken},
    {u"^", u"べきじょう", Spoken},
    {u"|", u"たてぼう", Spoken},
    {u"\\", u"ばっくすらっしゅ", Spoken},
    {u"¥", u"えんまーく", Spoken},
    {u"_", u"あんだーらいん", Spoken},
    {u"/", u"すらっしゅ", Spoken},
    {u"<", u"しょうなり", Spoken},
    {u">", u"だいなり", Spoken},

    {u",", u"かんま", Pause},
    {u".", u"ぴりおど", Pause},
    {u"!", u"えくすくらめーしょん", Pause},
    {u"?", u"くえすちょんまーく", Pause},
    {u":", u"ころん", Pause},
    {u";", u"せみころん", Pause},
    {u"、", u"てん", Pause},
    {u"。", u"まる", Pause},
    {u"・", u"なかぐろ", Pause},
    {u"〜", u"なみせん", Pause},

    {u"(", u"かっこ", Quiet},
    {u")", u"かっことじ", Quiet},
    {u"[", u"かくかっこ", Quiet},
    {u"]", u"かくかっことじ", Quiet},
    {u"{", u"ちゅうかっこ", Quiet},
    {u"}", u"ちゅうかっことじ", Quiet},
    {u"\"", u"だぶるくおーてーしょん", Quiet},
    {u"'", u"あぽすとろふぃー", Quiet},
    {u"`", u"しんぐるくおーてーしょん", Quiet}, // as the key guide names it
};

constexpr std::array<QStringView, 10> DigitNames{
    u"ぜろ", u"いち", u"に", u"さん", u"よん", u"ご", u"ろく", u"なな", u"はち", u"きゅう"};

// Place by place within a group of four, with the sound changes of 300, 600,
// 800, 3000 and 8000; index 0 is silent.
constexpr std::array<QStringView, 10> Ones{
    u"", u"いち", u"に", u"さん", u"よん", u"ご", u"ろく", u"なな", u"はち", u"きゅう"};
constexpr std::array<QStringView, 10> Tens{
    u"", u"じゅう", u"にじゅう", u"さんじゅう", u"よんじゅう",
    u"ごじゅう", u"ろくじゅう", u"ななじゅう", u"はちじゅう", u"きゅうじゅう"};
constexpr std::array<QStringView, 10> Hundreds{
    u"", u"ひゃく", u"にひゃく", u"さんびゃく", u"よんひゃく",
    u"ごひゃく", u"ろっぴゃく", u"ななひゃく", u"はっぴゃく", u"きゅうひゃく"};
constexpr std::array<QStringView, 10> Thousands{
    u"", u"せん", u"にせん", u"さんぜん", u"よんせん",
    u"ごせん", u"ろくせん", u"ななせん", u"はっせん", u"きゅうせん"};
constexpr std::array<QStringView, 3> GroupUnits{u"", u"まん", u"おく"};

constexpr qsizetype GroupSize = 4;
constexpr qsizetype MaxNumberDigits = GroupSize * qsizetype(GroupUnits.size());

char16_t foldedFirst(QStringView text)
{
    const char16_t c = text.front().unicode();
    return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c;
}

// The table by first character, the longest entry first, so the look-up at
// each position of a long line stays a handful of comparisons.
const std::vector<const Word *> &index()
{
    static const std::vector<const Word *> sorted = [] {
        std::vector<const Word *> words;
        for (const Word &word : Words)
            words.push_back(&word);
        std::sort(words.begin(), words.end(), [](const Word *a, const Word *b) {
            const char16_t fa = foldedFirst(a->text), fb = foldedFirst(b->text);
            return fa != fb ? fa < fb : a->text.size() > b->text.size();
        });
        return words;
    }();
    return sorted;
}

bool standsAlone(const Word &word, QStringView text, qsizetype pos)
{
    const qsizetype end = pos + word.text.size();
    if (isAsciiLetter(word.text.front()) && pos > 0 && isAsciiLetter(text[pos - 1]))
        return false;
    return !(isAsciiLetter(word.text.back()) && end < text.size() && isAsciiLetter(text[end]));
}

int digitAt(QStringView digits, qsizetype i)
{
    return digits[i].unicode() - u'0';
}

// One group of up to four digits followed by its unit; 1000 before a unit is
// いっせん (いっせんまん), alone it is せん.
QString groupReading(QStringView group, qsizetype unit)
{
    std::array<int, GroupSize> places{};
    for (qsizetype i = 0; i < group.size(); ++i)
        places[std::size_t(GroupSize - group.size() + i)] = digitAt(group, i);
    if (places == std::array<int, GroupSize>{})
        return {};
    const QStringView thousands =
        unit > 0 && places[0] == 1 ? QStringView(u"いっせん") : Thousands[std::size_t(places[0])];
    QString out;
    for (const QStringView part : {thousands, Hundreds[std::size_t(places[1])],
                                   Tens[std::size_t(places[2])], Ones[std::size_t(places[3])],
                                   GroupUnits[std::size_t(unit)]})
        out += part;
    return out;
}

} // namespace

const Word *wordAt(QStringView text, qsizetype pos)
{
    if (pos < 0 || pos >= text.size())
        return nullptr;
    const QStringView rest = text.sliced(pos);
    const std::vector<const Word *> &words = index();
    const char16_t first = foldedFirst(rest);
    auto it = std::lower_bound(words.begin(), words.end(), first,
                               [](const Word *w, char16_t c) { return foldedFirst(w->text) < c; });
    for (; it != words.end() && foldedFirst((*it)->text) == first; ++it) {
        if (rest.startsWith((*it)->text, Qt::CaseInsensitive) && standsAlone(**it, text, pos))
            return *it;
    }
    return nullptr;
}

QString digitByDigit(QStringView digits)
{
    QString out;
    for (qsizetype i = 0; i < digits.size(); ++i)
        out += DigitNames[std::size_t(digitAt(digits, i))];
    return out;
}

QString numberReading(QStringView digits)
{
    if (digits.isEmpty())
        return {};
    if (digits.size() > MaxNumberDigits || (digits.size() > 1 && digits.front() == u'0'))
        return digitByDigit(digits);
    if (digits == u"0")
        return DigitNames[0].toString();
    QString out;
    qsizetype end = digits.size();
    for (qsizetype unit = 0; end > 0; ++unit) {
        const qsizetype start = std::max<qsizetype>(0, end - GroupSize);
        out.prepend(groupReading(digits.sliced(start, end - start), unit));
        end = start;
    }
    return out;
}

} // namespace hoshi::kana
