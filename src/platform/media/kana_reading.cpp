// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/media/kana_reading.h"

#include "platform/media/kana_words.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QtGlobal>

#include <mecab.h>

#include <functional>
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

// Walks the folded text once: table words, numbers, letters and line breaks
// are read here; the runs between them (kana, kanji, anything else) go to
// readRun, so MeCab never sees our digits, Latin letters or marks. readRun
// learns whether the run follows a number directly (2026年, ３人).
class Composer {
public:
    using ReadRun = std::function<QString(const QString &run, bool afterNumber)>;

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
        m_afterNumber = isNumber;
    }

    void flushRun()
    {
        if (!m_run.isEmpty())
            m_out += m_readRun(std::exchange(m_run, QString()), m_afterNumber);
        m_afterNumber = false;
    }

    ReadRun m_readRun;
    QString m_run;
    QString m_out;
    bool m_afterNumber = false;
};

// "得点 -3": a minus before digits that does not follow a word or number is
// the sign, said with a breath before the number.
bool startsNegativeNumber(QStringView text, qsizetype pos)
{
    const bool afterWord = pos > 0 && (isAsciiDigit(text[pos - 1]) || kana::isAsciiLetter(text[pos - 1]));
    return isMinus(text[pos]) && !afterWord && pos + 1 < text.size() && isAsciiDigit(text[pos + 1]);
}

qsizetype Composer::step(QStringView text, qsizetype pos)
{
    const QChar c = text[pos];
    if (startsNegativeNumber(text, pos)) {
        put(u"まいなす ");
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
        // An English word the table does not know stays as written.
        const qsizetype end = runEnd(text, pos, kana::isAsciiLetter);
        put(text.sliced(pos, end - pos));
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
        end = fractionEnd;
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

QString tokenReading(const MeCab::Node &node)
{
    const QString surface = QString::fromUtf8(node.surface, qsizetype(node.length));
    if (node.stat == MECAB_UNK_NODE || !node.feature)
        return surface;
    for (const int field : {PronunciationField, ReadingField}) {
        const QString value = csvField(node.feature, field);
        if (!value.isEmpty() && value != u"*")
            return value;
    }
    return surface;
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
    Composer composer([this](const QString &run, bool afterNumber) { return kanaOf(run, afterNumber); });
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

QString KanaReader::kanaOf(const QString &run, bool afterNumber) const
{
    loadOnce();
    if (!m_tagger)
        return run;
    QString out;
    for (qsizetype start = 0; start < run.size();) {
        const qsizetype end = pieceEnd(run, start);
        out += kanaOfPiece(run.sliced(start, end - start), afterNumber && start == 0);
        start = end;
    }
    return out;
}

// Alone, MeCab reads 人 ひと, 年 とし, 月 つき, 分 ぶん; after a number
// にん, ねん, がつ, ふん. So a piece that follows a number is parsed after a
// digit, whose reading (イチ, or 1 itself when MeCab kept it) is left out.
QString KanaReader::kanaOfPiece(const QString &piece, bool afterNumber) const
{
    const QByteArray utf8 = (afterNumber ? QStringLiteral("1") + piece : piece).toUtf8();
    const MeCab::Node *node = m_tagger->parseToNode(utf8.constData(), std::size_t(utf8.size()));
    if (!node)
        return piece;
    QString out;
    bool dropDigit = afterNumber;
    for (; node; node = node->next) {
        if (node->stat == MECAB_BOS_NODE || node->stat == MECAB_EOS_NODE)
            continue;
        QString said = tokenReading(*node);
        if (std::exchange(dropDigit, false))
            said.remove(0, said.startsWith(u"イチ") ? 2 : said.startsWith(u'1') ? 1 : 0);
        out += said;
    }
    return out;
}

} // namespace hoshi
