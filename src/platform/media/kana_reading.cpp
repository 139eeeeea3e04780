// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/media/kana_reading.h"

#include "platform/media/kana_words.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QFileInfo>
#include <QtGlobal>

#include <mecab.h>

#include <functional>
#include <initializer_list>
#include <optional>
#include <utility>
#include <vector>

namespace hoshi {

namespace {

constexpr QStringView NaistJdicDir = u"/var/lib/mecab/dic/naist-jdic";
// naist-jdic's feature fields: the pronunciation says は as ワ and へ as エ,
// the reading as written; unknown words have neither.
constexpr int PronunciationField = 8;
constexpr int ReadingField = 7;
constexpr char16_t PauseMark = u'、';
constexpr char16_t KatakanaToHiragana = 0x60;
// MeCab tries an unknown run of one script as a word from each of its
// characters to its end, time growing with the square of the run: long runs
// go to it in pieces.
constexpr qsizetype MaxPiece = 256;

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

bool isMinus(QChar c)
{
    return c == u'-' || c == u'\u2212';
}

// Calls take(code point, its UTF-16 text) for every code point; unpaired
// surrogates are skipped.
template <typename Take>
void forEachCodePoint(QStringView text, Take take)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            take(QChar::surrogateToUcs4(c, text[i + 1]), text.sliced(i, 2));
            ++i;
        } else if (!c.isSurrogate()) {
            take(char32_t(c.unicode()), text.sliced(i, 1));
        }
    }
}

// Control and format characters, private-use and unassigned code points are
// nothing a voice can say and may confuse MeCab; line breaks and tabs stay.
QString speakableCharacters(QStringView text)
{
    QString out;
    out.reserve(text.size());
    forEachCodePoint(text, [&out](char32_t code, QStringView piece) {
        switch (QChar::category(code)) {
        case QChar::Other_Control:
            if (code == u'\t' || code == u'\n' || code == u'\r')
                out += piece;
            break;
        case QChar::Other_Format:
        case QChar::Other_PrivateUse:
        case QChar::Other_NotAssigned:
            break;
        default:
            out += piece;
        }
    });
    return out;
}

// A text that is one table entry and nothing else is that entry's word, even
// a mark that inside a sentence is only a pause: the key guide announces "!".
std::optional<QString> wholeEntry(QStringView folded)
{
    const QStringView trimmed = folded.trimmed();
    const kana::Word *word = kana::wordAt(trimmed, 0);
    if (word && word->text.size() == trimmed.size())
        return word->reading.toString();
    return std::nullopt;
}

QStringView inTextReading(const kana::Word &word)
{
    switch (word.inText) {
    case kana::InText::Spoken: return word.reading;
    case kana::InText::Pause: return u"、";
    case kana::InText::Quiet: return {};
    }
    return {};
}

qsizetype runEnd(QStringView text, qsizetype pos, bool (*belongs)(QChar))
{
    while (pos < text.size() && belongs(text[pos]))
        ++pos;
    return pos;
}

// What is just before a run of kana and kanji.
struct RunLead {
    bool afterNumber = false; // a number, already said: 2026年 (MeCab then reads 年 ねん)
    // A number not yet said, whose counter starts the run: the run's reader
    // says them together (3分 さんぷん), or the number alone and then the run
    // when MeCab sees a longer word there (3分の1 さんぶんのいち).
    std::optional<kana::Counted> counted;
    QString number;
};

// Walks the folded text once: table words, numbers, letters and line breaks
// are read here; the runs between them (kana, kanji, anything else) go to
// readRun, so MeCab never sees our digits, Latin letters or marks. readRun
// learns what is just before the run.
class Composer {
public:
    using ReadRun = std::function<QString(const QString &run, const RunLead &lead)>;

    explicit Composer(ReadRun readRun)
        : m_readRun(std::move(readRun))
    {
    }

    QString compose(QStringView text)
    {
        for (qsizetype pos = 0; pos < text.size();)
            pos = step(text, pos);
        flushRun();
        return m_out;
    }

private:
    qsizetype step(QStringView text, qsizetype pos);
    qsizetype number(QStringView text, qsizetype pos);

    void put(QStringView reading, bool isNumber = false)
    {
        flushRun();
        m_out += reading;
        m_lead.afterNumber = isNumber;
    }

    void flushRun()
    {
        RunLead lead = std::exchange(m_lead, RunLead());
        // A counter is read with its number only where the run starts with it.
        if (lead.counted && !m_run.startsWith(m_counterText)) {
            m_out += lead.number;
            lead.counted.reset();
        }
        if (!m_run.isEmpty())
            m_out += m_readRun(std::exchange(m_run, QString()), lead);
    }

    ReadRun m_readRun;
    QString m_run;
    QString m_out;
    RunLead m_lead;
    QString m_counterText;
};

// "得点 -3": a minus before digits that does not follow a word or number is
// the sign, said with a breath before the number.
bool startsNegativeNumber(QStringView text, qsizetype pos)
{
    const bool afterWord = pos > 0 && (isAsciiDigit(text[pos - 1]) || kana::isAsciiLetter(text[pos - 1]));
    return isMinus(text[pos]) && !afterWord && pos + 1 < text.size() && isAsciiDigit(text[pos + 1]);
}

bool isAsciiLetterOrDigit(QChar c)
{
    return kana::isAsciiLetter(c) || isAsciiDigit(c);
}

// "GPL-3.0-or-later", "UTF-8": a hyphen joining English words and numbers is
// a blank; between two numbers it stays a minus.
bool joinsWords(QStringView text, qsizetype pos)
{
    if (text[pos] != u'-' || pos == 0 || pos + 1 >= text.size())
        return false;
    const QChar before = text[pos - 1], after = text[pos + 1];
    return isAsciiLetterOrDigit(before) && isAsciiLetterOrDigit(after)
        && (kana::isAsciiLetter(before) || kana::isAsciiLetter(after));
}

qsizetype Composer::step(QStringView text, qsizetype pos)
{
    const QChar c = text[pos];
    if (startsNegativeNumber(text, pos)) {
        put(u"まいなす ");
        return pos + 1;
    }
    if (joinsWords(text, pos)) {
        put(u" ");
        return pos + 1;
    }
    if (const kana::Word *word = kana::wordAt(text, pos)) {
        put(inTextReading(*word));
        return pos + word->text.size();
    }
    if (isLineBreak(c)) {
        put(u"、");
        const bool crlf = c == u'\r' && pos + 1 < text.size() && text[pos + 1] == u'\n';
        return pos + (crlf ? 2 : 1);
    }
    if (c.isSpace()) {
        put(u" ");
        return pos + 1;
    }
    if (isAsciiDigit(c))
        return number(text, pos);
    if (kana::isAsciiLetter(c)) {
        // The Japanese voice spells an English word the table does not know
        // anyway; by the letters' Japanese names it spells it as a child does.
        const qsizetype end = runEnd(text, pos, kana::isAsciiLetter);
        put(kana::spelled(text.sliced(pos, end - pos)));
        return end;
    }
    m_run += c;
    return pos + 1;
}

qsizetype Composer::number(QStringView text, qsizetype pos)
{
    qsizetype end = runEnd(text, pos, isAsciiDigit);
    QString digits = text.sliced(pos, end - pos).toString();
    // 1,000,000: commas between groups of three belong to the number.
    const bool grouped = digits.size() <= 3;
    while (grouped && end < text.size() && text[end] == u',' && runEnd(text, end + 1, isAsciiDigit) == end + 4) {
        digits += text.sliced(end + 1, 3);
        end += 4;
    }
    QString said = kana::numberReading(digits);
    // 3.14: the digits after a point one by one.
    if (end + 1 < text.size() && text[end] == u'.' && isAsciiDigit(text[end + 1])) {
        const qsizetype fractionEnd = runEnd(text, end + 1, isAsciiDigit);
        said += u"てん";
        said += kana::digitByDigit(text.sliced(end + 1, fractionEnd - end - 1));
        put(said, true);
        return fractionEnd;
    }
    if (std::optional<kana::Counted> counted = kana::countedAt(digits, text, end)) {
        // The counter stays in the text and starts the next run, so MeCab
        // still reads what follows it after a number: 3日後 みっかご.
        flushRun();
        m_counterText = text.sliced(end, counted->length).toString();
        m_lead = RunLead{true, std::move(counted), std::move(said)};
        return end;
    }
    put(said, true);
    return end;
}

void appendAsHiragana(QString &out, char32_t code, QStringView piece)
{
    // ァ..ヶ and ヽヾ have hiragana 0x60 below; ー and the rare ヷ..ヺ stay.
    const bool convertible = (code >= 0x30A1 && code <= 0x30F6) || code == 0x30FD || code == 0x30FE;
    if (convertible)
        out += QChar(char16_t(code - KatakanaToHiragana));
    else
        out += piece;
}

// Keeps letters only (kana, kanji, ー, English words) as hiragana; blanks and
// pauses in a row become one, a pause if there is one among them, none at
// either end. Whatever else MeCab passed through (marks, emoji) goes.
QString tidy(QStringView composed)
{
    QString out;
    out.reserve(composed.size());
    bool gap = false;
    bool pause = false;
    forEachCodePoint(composed, [&](char32_t code, QStringView piece) {
        if (code == PauseMark || code == u' ') {
            gap = true;
            pause = pause || code == PauseMark;
            return;
        }
        if (!QChar::isLetter(code))
            return;
        if (gap && !out.isEmpty())
            out += pause ? QChar(PauseMark) : QChar(u' ');
        gap = pause = false;
        appendAsHiragana(out, code, piece);
    });
    return out;
}

// Field n of a MeCab feature line; a field in double quotes may hold commas.
QString csvField(const char *feature, int n)
{
    QByteArray field;
    bool quoted = false;
    for (const char *p = feature; *p; ++p) {
        if (*p == '"') {
            quoted = !quoted;
        } else if (*p == ',' && !quoted) {
            if (n-- == 0)
                return QString::fromUtf8(field);
            field.clear();
        } else {
            field += *p;
        }
    }
    return n == 0 ? QString::fromUtf8(field) : QString();
}

bool isHiragana(QChar c)
{
    return c >= u'\u3041' && c <= u'\u309F';
}

// Where the piece from start ends: in its second half where hiragana give
// way to kanji or katakana, as a new word mostly starts there, else at MaxPiece.
qsizetype pieceEnd(QStringView run, qsizetype start)
{
    const qsizetype limit = start + MaxPiece;
    if (limit >= run.size())
        return run.size();
    for (qsizetype i = limit; i > start + MaxPiece / 2; --i) {
        if (isHiragana(run[i - 1]) && !isHiragana(run[i]) && !run[i].isLowSurrogate())
            return i;
    }
    return run[limit].isLowSurrogate() ? limit + 1 : limit;
}

// The first of the fields that the word has, else its surface.
QString tokenField(const MeCab::Node &node, const QString &surface, std::initializer_list<int> fields)
{
    if (node.stat == MECAB_UNK_NODE || !node.feature)
        return surface;
    for (const int field : fields) {
        const QString value = csvField(node.feature, field);
        if (!value.isEmpty() && value != u"*")
            return value;
    }
    return surface;
}

// One word of MeCab's parse.
struct Token {
    QString said;           // its pronunciation: ネンセー
    QString written;        // its reading as written: ネンセイ
    qsizetype start = 0;    // where its surface starts in the text, in UTF-16 code units
    qsizetype length = 0;   // and how long it is
    bool isCounter = false; // a counter suffix: 年生, 時半, 分の

    qsizetype end() const { return start + length; }
};

std::vector<Token> tokensOf(MeCab::Tagger &tagger, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    std::vector<Token> tokens;
    const char *done = utf8.constData();
    qsizetype at = 0;
    for (const MeCab::Node *node = tagger.parseToNode(utf8.constData(), std::size_t(utf8.size())); node;
         node = node->next) {
        if (node->stat == MECAB_BOS_NODE || node->stat == MECAB_EOS_NODE)
            continue;
        // Whatever MeCab stepped over before the word still counts for where it starts.
        at += QString::fromUtf8(done, qsizetype(node->surface - done)).size();
        const QString surface = QString::fromUtf8(node->surface, qsizetype(node->length));
        const bool isCounter = node->feature && node->stat != MECAB_UNK_NODE
            && QByteArrayView(node->feature).startsWith("名詞,接尾,助数詞");
        tokens.push_back({tokenField(*node, surface, {PronunciationField, ReadingField}),
                          tokenField(*node, surface, {ReadingField}), at, surface.size(), isCounter});
        at += surface.size();
        done = node->surface + node->length;
    }
    return tokens;
}

// Where one of our corrections is written at the start of tokens[first] and
// ends where a token ends: the index after its last token, else first.
std::size_t correctedUpTo(const std::vector<Token> &tokens, std::size_t first, QStringView text,
                          const kana::Word **correction)
{
    *correction = kana::correctionAt(text, tokens[first].start);
    if (!*correction)
        return first;
    const qsizetype end = tokens[first].start + (*correction)->text.size();
    std::size_t next = first;
    while (next < tokens.size() && tokens[next].end() < end)
        ++next;
    return next < tokens.size() && tokens[next].end() == end ? next + 1 : first;
}

// The digit MeCab was shown before a run after a number, left out of the
// reading: イチ, or 1 itself when MeCab kept it.
QString withoutDigit(QString said)
{
    said.remove(0, said.startsWith(u"イチ") ? 2 : said.startsWith(u'1') ? 1 : 0);
    return said;
}

QString katakanaAsHiragana(QString text)
{
    for (QChar &c : text) {
        if (c >= u'\u30A1' && c <= u'\u30F6')
            c = QChar(char16_t(c.unicode() - KatakanaToHiragana));
    }
    return text;
}

// Alone, MeCab reads 人 ひと, 年 とし, 月 つき, 分 ぶん; after a number
// にん, ねん, がつ, ふん. So a piece that follows a number is parsed after a
// digit, whose reading is left out. A counter of our table that starts the
// piece is said with its number where MeCab too sees the counter (分, 分間)
// or a counter word beginning with it (年生, 時半); where MeCab sees another
// word (分の in 3分の1, 日本), the number is said alone and MeCab's word follows.
// Our corrections replace the readings of the words they cover exactly, so
// the words around them keep their context: 何時に来るの なんじにくるの.
QString readPiece(MeCab::Tagger &tagger, const QString &piece, const RunLead &lead)
{
    const QString shown = lead.afterNumber ? QStringLiteral("1") + piece : piece;
    const std::vector<Token> tokens = tokensOf(tagger, shown);
    if (tokens.empty())
        return lead.counted ? lead.number + piece : piece;
    QString out;
    std::size_t next = 0;
    if (lead.counted) {
        const qsizetype covered = 1 + lead.counted->length;
        QString said, written;
        qsizetype at = 0;
        for (; next < tokens.size() && at < covered; ++next) {
            said += tokens[next].said;
            written += tokens[next].written;
            at = tokens[next].end();
        }
        said = withoutDigit(said);
        written = katakanaAsHiragana(withoutDigit(written));
        const QString &counter = lead.counted->counterReading;
        const bool counterWord = at > covered && tokens[next - 1].isCounter && written.startsWith(counter)
            && written.size() == said.size();
        if (at == covered)
            out = lead.counted->reading;
        else if (counterWord)
            out = lead.counted->reading + said.sliced(counter.size());
        else
            out = lead.number + said;
    } else if (lead.afterNumber) {
        out = withoutDigit(tokens[next++].said);
    }
    while (next < tokens.size()) {
        const kana::Word *correction = nullptr;
        const std::size_t after = correctedUpTo(tokens, next, shown, &correction);
        if (after > next) {
            out += correction->reading;
            next = after;
        } else {
            out += tokens[next++].said;
        }
    }
    return out;
}

QString readRun(MeCab::Tagger *tagger, const QString &run, const RunLead &lead)
{
    if (!tagger) {
        // Kanji stay as written; our counters are still read with their number.
        return lead.counted ? lead.counted->reading + run.sliced(lead.counted->length) : run;
    }
    QString out;
    for (qsizetype start = 0; start < run.size();) {
        const qsizetype end = pieceEnd(run, start);
        out += readPiece(*tagger, run.sliced(start, end - start), start == 0 ? lead : RunLead());
        start = end;
    }
    return out;
}

QString chosenDictionary(const QString &given)
{
    if (!given.isEmpty())
        return given;
    return QFileInfo(NaistJdicDir.toString()).isDir() ? NaistJdicDir.toString() : QString();
}

// MeCab gives no reason when it cannot start, so the folder is named.
void reportNoDictionary(const QString &dir)
{
    const QString what = dir.isEmpty()  ? QStringLiteral("MeCab's default dictionary could not be loaded")
        : QFileInfo(dir).isDir()        ? QStringLiteral("the MeCab dictionary in %1 could not be loaded").arg(dir)
                                        : QStringLiteral("no MeCab dictionary at %1").arg(dir);
    qWarning("ほしのたまご: 漢字の読みの辞書が使えないので、漢字はそのまま読みます。 / "
             "hoshinotamago: %s; kanji are read as written.",
             qUtf8Printable(what));
}

} // namespace

KanaReader::KanaReader(QString dictionaryDir)
    : m_dictionaryDir(std::move(dictionaryDir))
{
}

KanaReader::~KanaReader() = default;

void KanaReader::warmUp() const
{
    const std::lock_guard lock(m_mutex);
    loadOnce();
    // One short parse brings the dictionary's pages in.
    if (m_tagger)
        m_tagger->parseToNode("漢字");
}

bool KanaReader::readsKanji() const
{
    const std::lock_guard lock(m_mutex);
    loadOnce();
    return m_tagger != nullptr;
}

QString KanaReader::reading(const QString &text) const
{
    // ～ in Japanese text is the wave dash (cp932 decodes 〜 to it), which
    // NFKC would turn into the tilde key.
    const QString folded = speakableCharacters(text)
                               .replace(u'\uFF5E', u'\u301C')
                               .normalized(QString::NormalizationForm_KC);
    if (const std::optional<QString> alone = wholeEntry(folded))
        return *alone;
    const std::lock_guard lock(m_mutex);
    Composer composer([this](const QString &run, const RunLead &lead) {
        loadOnce();
        return readRun(m_tagger.get(), run, lead);
    });
    return tidy(composer.compose(folded));
}

void KanaReader::loadOnce() const
{
    if (std::exchange(m_loadTried, true))
        return;
    const QString dir = chosenDictionary(m_dictionaryDir);
    std::vector<QByteArray> args{QByteArrayLiteral("hoshinotamago")};
    if (!dir.isEmpty()) {
        // The folder's own dicrc as the resource file keeps a ~/.mecabrc
        // (another dictionary, a user dictionary) out of our readings.
        args.insert(args.end(), {QByteArrayLiteral("-d"), QFile::encodeName(dir), QByteArrayLiteral("-r"),
                                 QFile::encodeName(dir + QStringLiteral("/dicrc"))});
    }
    std::vector<char *> argv;
    for (QByteArray &arg : args)
        argv.push_back(arg.data());
    try {
        m_tagger.reset(MeCab::createTagger(int(argv.size()), argv.data()));
    } catch (...) {
        m_tagger.reset();
    }
    if (!m_tagger)
        reportNoDictionary(dir);
}

} // namespace hoshi
