// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Practice files written by the typing script: random lines in every
// encoding and line-end style the reader takes, sizes around its limits, and
// what a correct reader must give back for each of them.

#include "fuzz/scripts/script_input.h"
#include "typing/practice_file.h"

#include <QByteArray>
#include <QFile>
#include <QStringEncoder>
#include <QStringList>

#include <algorithm>
#include <optional>
#include <string>

namespace hoshi::scripts {

/// What reading a written file must give; unknown for random bytes.
struct ExpectedText {
    QStringList lines;
    bool moreLines = false;
    bool lineCut = false;
    bool blank = false; ///< nothing to type: the file is refused
};

class PracticeFileWriter {
public:
    enum class Encoding { Utf8, Utf8Bom, Utf16LE, Utf16BE, ShiftJis, RandomBytes };

    explicit PracticeFileWriter(ScriptInput &input) : m_input(input), m_shiftJis("Shift_JIS") {}

    /// Writes a new random file at path; returns what reading it must give.
    std::optional<ExpectedText> write(const QString &path)
    {
        const Encoding encoding = m_input.pick({Encoding::Utf8, Encoding::Utf8Bom, Encoding::Utf16LE,
                                              Encoding::Utf16BE, Encoding::ShiftJis, Encoding::RandomBytes});
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return std::nullopt;
        if (encoding == Encoding::RandomBytes) {
            file.write(randomBytes());
            return std::nullopt;
        }
        const bool shiftJis = encoding == Encoding::ShiftJis && m_shiftJis.isValid();
        const QStringList lines = randomLines(shiftJis);
        const bool endsWithLineEnd = (m_input.between(0, 99) < 70);
        file.write(encode(joined(lines, endsWithLineEnd), shiftJis ? Encoding::ShiftJis : encoding));
        return expectedFrom(lines, endsWithLineEnd);
    }

private:
    static constexpr int LineCounts[] = {0, 1, 1, 2, 3, 5, 10, 40, 100, 101, 102, 150};

    QStringList randomLines(bool shiftJis)
    {
        QStringList lines;
        const int count = m_input.pick(LineCounts);
        for (int i = 0; i < count; ++i)
            lines << randomLine(shiftJis);
        return lines;
    }

    QString randomLine(bool shiftJis)
    {
        // Shift_JIS lines keep to characters it encodes one way only.
        static const QString ascii = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 .,!?-'");
        static const QString japanese = QStringLiteral("あいうえおかきくけこさしすせそたちつてとなにぬねのアイウエオカキクケコ日本語入力練習ー、。");
        static const QString extra = QStringLiteral("\\~\t\u3000ｱｲｳＡＢＣ😀🍣é");
        const int kind = m_input.between(0, 99);
        if (kind < 12)
            return {};
        QString pool = kind < 55 ? ascii : kind < 85 ? japanese + ascii : ascii + japanese + extra;
        if (shiftJis && kind >= 85)
            pool = ascii + japanese;
        const bool longLine = (m_input.between(0, 99) < 4);
        const int length = longLine ? PracticeLineLengthLimit + m_input.between(-2, 300) : m_input.between(1, 40);
        QString line = randomText(pool, std::min(length, 40));
        // A long line repeats a short one; enough for the reader's limits.
        while (line.size() < length)
            line += line.left(length - line.size());
        if (line.back().isHighSurrogate())
            line.chop(1); // the repeat cut a pair in two
        // Now and then a pair straddles the length limit.
        if (longLine && !shiftJis && (m_input.between(0, 99) < 30))
            line = QString(PracticeLineLengthLimit - 1, u'x') + QStringLiteral("🍣") + line.left(m_input.between(0, 49));
        return line;
    }

    QString randomText(const QString &pool, int length)
    {
        QString text;
        while (text.size() < length) {
            const QChar c = pool.at(m_input.between(0, static_cast<int>(pool.size()) - 1));
            // A surrogate pair is taken whole.
            if (c.isHighSurrogate() || c.isLowSurrogate())
                text += (m_input.between(0, 99) < 50) ? QStringLiteral("😀") : QStringLiteral("🍣");
            else
                text += c;
        }
        return text;
    }

    QString joined(const QStringList &lines, bool endsWithLineEnd)
    {
        static const QString ends[] = {QStringLiteral("\r\n"), QStringLiteral("\n"), QStringLiteral("\r")};
        const int style = m_input.between(0, 3); // one of the three throughout, or mixed
        QString text;
        QString previous;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            text += lines.at(i);
            if (i + 1 == lines.size() && !endsWithLineEnd)
                break;
            QString end = style < 3 ? ends[style] : ends[m_input.between(0, 2)];
            // CR, an empty line and LF would read as one CR LF.
            if (previous == QStringLiteral("\r") && lines.at(i).isEmpty() && end == QStringLiteral("\n"))
                end = QStringLiteral("\r");
            text += end;
            previous = end;
        }
        return text;
    }

    QByteArray encode(const QString &text, Encoding encoding)
    {
        switch (encoding) {
        case Encoding::Utf8: return text.toUtf8();
        case Encoding::Utf8Bom: return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
        case Encoding::Utf16LE: return QByteArray("\xFF\xFE") + QStringEncoder(QStringConverter::Utf16LE).encode(text);
        case Encoding::Utf16BE: return QByteArray("\xFE\xFF") + QStringEncoder(QStringConverter::Utf16BE).encode(text);
        case Encoding::ShiftJis: return m_shiftJis.encode(text);
        case Encoding::RandomBytes: break;
        }
        return {};
    }

    QByteArray randomBytes()
    {
        if (m_input.flip()) {
            // Raw from the input, as the fuzzer shapes them.
            const std::string raw = m_input.bytes(static_cast<std::size_t>(m_input.between(0, 600)));
            return QByteArray(raw.data(), static_cast<qsizetype>(raw.size()));
        }
        QByteArray bytes(m_input.pick({0, 1, 2, 3, 17, 500, 5000}), '\0');
        for (char &byte : bytes)
            byte = static_cast<char>((m_input.between(0, 99) < 8) ? m_input.pick({'\r', '\n'}) : m_input.between(0, 255));
        return bytes;
    }

    // Lines as a reader keeps them: a last empty line without an end is no
    // line, at most PracticeLineLimit lines, long lines cut but never inside
    // a surrogate pair, a tab (the one control character written) a space.
    static ExpectedText expectedFrom(QStringList lines, bool endsWithLineEnd)
    {
        ExpectedText expected;
        if (!endsWithLineEnd && !lines.isEmpty() && lines.constLast().isEmpty())
            lines.removeLast();
        expected.moreLines = lines.size() > PracticeLineLimit;
        for (qsizetype i = 0; i < std::min<qsizetype>(lines.size(), PracticeLineLimit); ++i) {
            QString line = lines.at(i);
            if (line.size() > PracticeLineLengthLimit) {
                const bool halfPair = line.at(PracticeLineLengthLimit - 1).isHighSurrogate();
                line.truncate(PracticeLineLengthLimit - (halfPair ? 1 : 0));
                expected.lineCut = true;
            }
            expected.lines << line.replace(u'\t', u' ');
        }
        expected.blank = std::all_of(expected.lines.cbegin(), expected.lines.cend(),
                                     [](const QString &line) { return line.trimmed().isEmpty(); });
        return expected;
    }

    ScriptInput &m_input;
    QStringEncoder m_shiftJis;
};

} // namespace hoshi::scripts
