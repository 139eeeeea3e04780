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
    {u"←", u"ひだりやじるし", Spoken},
    {u"↑", u"うえやじるし", Spoken},
    {u"→", u"みぎやじるし", Spoken},
    {u"↓", u"したやじるし", Spoken},

    // The version box, the launcher's title, file and folder names; any other
    // English word is spelled.
    {u"Copyright (C)", u"こぴーらいと", Spoken},
    {u"Copyright", u"こぴーらいと", Spoken},
    {u"GNU", u"ぐぬー", Spoken},
    {u"or", u"おあ", Spoken},
    {u"later", u"れいたー", Spoken},
    {u"Version", u"ばーじょん", Spoken},
    {u"Ver.", u"ばーじょん", Spoken},
    {u"Ver", u"ばーじょん", Spoken},
    {u"txt", u"てきすと", Spoken},
    {u"japanese", u"じゃぱにーず", Spoken}, // the sample folders
    {u"english", u"いんぐりっしゅ", Spoken},
    {u"hoshinotamago", u"ほしのたまご", Spoken},

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

// MeCab's wrong choices in our texts and the sample texts, each with as much
// of its context as makes it right: MeCab reads 木 in 木の下 こ, 何時 in
// 何時に いつ, and 行 the noun くだり.
constexpr Word Corrections[] = {
    {u"上矢印", u"うえやじるし", Spoken}, // うわやじるし
    {u"下矢印", u"したやじるし", Spoken}, // かやじるし
    {u"木の下", u"きのした", Spoken},
    {u"木の上", u"きのうえ", Spoken}, // きのじょう
    {u"何時に", u"なんじに", Spoken},
    {u"何時間", u"なんじかん", Spoken}, // なにじかん
    {u"行が", u"ぎょうが", Spoken},
    {u"行は", u"ぎょうわ", Spoken},
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

// A number and its counter as a child says them.
struct Said {
    int number = 0; // 0: an unused place of the list
    QStringView reading;
};

// A counter: its reading after most numbers, then the changed forms.
// endings: a number whose last spoken part is this digit or this round place
// (10, 100, 1000, 10000) changes as the number alone does, written here:
// {1, いっぷん} makes 21分 にじゅういっぷん, {100, ひゃっぷん} makes 300分
// さんびゃっぷん, {4, よにん} makes 14人 じゅうよにん.
// wholes: only this very number: 1人 ひとり but 11人 じゅういちにん.
// kan: 間 after the counter is かん (分間, 時間, 日間).
struct Counter {
    QStringView text;
    QStringView reading;
    std::array<Said, 9> endings{};
    std::array<Said, 13> wholes{};
    bool kan = false;
};

constexpr Counter Counters[] = {
    {u"分", u"ふん",
     {{{1, u"いっぷん"}, {3, u"さんぷん"}, {4, u"よんぷん"}, {6, u"ろっぷん"}, {8, u"はっぷん"},
       {10, u"じゅっぷん"}, {100, u"ひゃっぷん"}, {1000, u"せんぷん"}, {10000, u"いちまんぷん"}}},
     {}, true},
    {u"秒", u"びょう", {}, {}, true},
    {u"時", u"じ", {{{4, u"よじ"}, {7, u"しちじ"}, {9, u"くじ"}}}, {}, true},
    {u"日", u"にち", {},
     {{{1, u"いちにち"}, {2, u"ふつか"}, {3, u"みっか"}, {4, u"よっか"}, {5, u"いつか"}, {6, u"むいか"},
       {7, u"なのか"}, {8, u"ようか"}, {9, u"ここのか"}, {10, u"とおか"}, {14, u"じゅうよっか"},
       {20, u"はつか"}, {24, u"にじゅうよっか"}}},
     true},
    {u"週間", u"しゅうかん", {{{1, u"いっしゅうかん"}, {8, u"はっしゅうかん"}, {10, u"じゅっしゅうかん"}}}},
    {u"年", u"ねん", {{{4, u"よねん"}}}, {}, true},
    {u"月", u"がつ", {{{4, u"しがつ"}, {7, u"しちがつ"}, {9, u"くがつ"}}}},
    {u"人", u"にん", {{{4, u"よにん"}}}, {{{1, u"ひとり"}, {2, u"ふたり"}}}},
    {u"つ", u"つ", {},
     {{{1, u"ひとつ"}, {2, u"ふたつ"}, {3, u"みっつ"}, {4, u"よっつ"}, {5, u"いつつ"}, {6, u"むっつ"},
       {7, u"ななつ"}, {8, u"やっつ"}, {9, u"ここのつ"}, {10, u"とお"}}}},
    {u"本", u"ほん",
     {{{1, u"いっぽん"}, {3, u"さんぼん"}, {6, u"ろっぽん"}, {8, u"はっぽん"}, {10, u"じゅっぽん"},
       {100, u"ひゃっぽん"}, {1000, u"せんぼん"}, {10000, u"いちまんぼん"}}}},
    {u"匹", u"ひき",
     {{{1, u"いっぴき"}, {3, u"さんびき"}, {6, u"ろっぴき"}, {8, u"はっぴき"}, {10, u"じゅっぴき"},
       {100, u"ひゃっぴき"}, {1000, u"せんびき"}, {10000, u"いちまんびき"}}}},
    {u"杯", u"はい",
     {{{1, u"いっぱい"}, {3, u"さんばい"}, {6, u"ろっぱい"}, {8, u"はっぱい"}, {10, u"じゅっぱい"},
       {100, u"ひゃっぱい"}, {1000, u"せんばい"}, {10000, u"いちまんばい"}}}},
    {u"歩", u"ほ",
     {{{1, u"いっぽ"}, {3, u"さんぽ"}, {6, u"ろっぽ"}, {8, u"はっぽ"}, {10, u"じゅっぽ"},
       {100, u"ひゃっぽ"}, {1000, u"せんぽ"}, {10000, u"いちまんぽ"}}}},
    {u"回", u"かい",
     {{{1, u"いっかい"}, {6, u"ろっかい"}, {8, u"はっかい"}, {10, u"じゅっかい"}, {100, u"ひゃっかい"}}}},
    {u"階", u"かい",
     {{{1, u"いっかい"}, {3, u"さんがい"}, {6, u"ろっかい"}, {8, u"はっかい"}, {10, u"じゅっかい"},
       {100, u"ひゃっかい"}, {1000, u"せんがい"}, {10000, u"いちまんがい"}}}},
    {u"個", u"こ", {{{1, u"いっこ"}, {6, u"ろっこ"}, {8, u"はっこ"}, {10, u"じゅっこ"}, {100, u"ひゃっこ"}}}},
    {u"歳", u"さい", {{{1, u"いっさい"}, {8, u"はっさい"}, {10, u"じゅっさい"}}}, {{{20, u"はたち"}}}},
    {u"才", u"さい", {{{1, u"いっさい"}, {8, u"はっさい"}, {10, u"じゅっさい"}}}, {{{20, u"はたち"}}}},
    {u"冊", u"さつ", {{{1, u"いっさつ"}, {8, u"はっさつ"}, {10, u"じゅっさつ"}}}},
    {u"点", u"てん", {{{1, u"いってん"}, {8, u"はってん"}, {10, u"じゅってん"}}}},
    {u"円", u"えん", {{{4, u"よえん"}}}},
    {u"枚", u"まい"},
    {u"台", u"だい"},
    {u"問", u"もん"},
    {u"文字", u"もじ"},
    {u"行", u"ぎょう"},
    {u"番", u"ばん"},
    {u"度", u"ど"},
};

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

bool readsAsNumber(QStringView digits)
{
    return !digits.isEmpty() && digits.size() <= MaxNumberDigits && (digits.size() == 1 || digits.front() != u'0');
}

// The last spoken part of n as an endings key: its last digit, else the round
// place it ends on (120 ends on 10); 0 for none (0, whole hundred millions).
int endingOf(qint64 n)
{
    for (const int place : {10, 100, 1000, 10000}) {
        if (n % place != 0)
            return place == 10 ? int(n % 10) : place / 10;
    }
    return n % 100000000 != 0 ? 10000 : 0;
}

// The ending's form is for the bare key number; a longer number ending alike
// changes the same tail: いち→いっぷん from 1, so 21 にじゅういち → にじゅういっぷん.
QString withEnding(const QString &number, const Said &ending, const Counter &counter)
{
    const QString bare = numberReading(QString::number(ending.number));
    qsizetype same = 0;
    while (same < bare.size() && same < ending.reading.size() && bare[same] == ending.reading[same])
        ++same;
    const QStringView changedTail = QStringView(bare).sliced(same);
    if (!number.endsWith(changedTail))
        return number + counter.reading.toString();
    return number.chopped(changedTail.size()) + ending.reading.sliced(same).toString();
}

QString countReading(QStringView digits, const Counter &counter)
{
    const qint64 value = digits.toLongLong();
    for (const Said &whole : counter.wholes) {
        if (whole.number != 0 && whole.number == value)
            return whole.reading.toString();
    }
    const QString number = numberReading(digits);
    const int ending = endingOf(value);
    for (const Said &form : counter.endings) {
        if (form.number != 0 && form.number == ending)
            return withEnding(number, form, counter);
    }
    return number + counter.reading.toString();
}

const Counter *counterAt(QStringView text, qsizetype pos)
{
    const Counter *found = nullptr;
    for (const Counter &counter : Counters) {
        if (text.sliced(pos).startsWith(counter.text) && (!found || counter.text.size() > found->text.size()))
            found = &counter;
    }
    return found;
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

const Word *correctionAt(QStringView text, qsizetype pos)
{
    if (pos < 0 || pos >= text.size())
        return nullptr;
    const Word *found = nullptr;
    for (const Word &word : Corrections) {
        if (text.sliced(pos).startsWith(word.text) && (!found || word.text.size() > found->text.size()))
            found = &word;
    }
    return found;
}

QString digitByDigit(QStringView digits)
{
    QString out;
    for (qsizetype i = 0; i < digits.size(); ++i)
        out += DigitNames[std::size_t(digitAt(digits, i))];
    return out;
}

QString spelled(QStringView letters)
{
    QString out;
    for (qsizetype i = 0; i < letters.size(); ++i) {
        if (const Word *name = isAsciiLetter(letters[i]) ? wordAt(letters.sliced(i, 1), 0) : nullptr)
            out += name->reading;
    }
    return out;
}

std::optional<Counted> countedAt(QStringView digits, QStringView text, qsizetype pos)
{
    const Counter *counter = pos >= 0 && pos < text.size() ? counterAt(text, pos) : nullptr;
    if (!counter || !readsAsNumber(digits))
        return std::nullopt;
    Counted counted{countReading(digits, *counter), counter->reading.toString(), counter->text.size()};
    if (counter->kan && pos + counted.length < text.size() && text[pos + counted.length] == u'間') {
        counted.reading += u"かん";
        counted.counterReading += u"かん";
        ++counted.length;
    }
    return counted;
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
