// SPDX-License-Identifier: GPL-3.0-or-later
// Encoding detection, decoding and line splitting of practice texts.
#include "typing/text_decoding.h"

#include <QTest>

using namespace hoshi;
using Lines = QStringList;

class TextDecodingTest : public QObject {
    Q_OBJECT

private slots:
    void utf8_validity_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("complete");
        QTest::addColumn<bool>("valid");
        QTest::newRow("ascii") << QByteArray("abc\r\n") << true << true;
        QTest::newRow("kana") << QByteArray("\xE3\x81\x82\xE3\x81\x84") << true << true;
        QTest::newRow("emoji") << QByteArray("\xF0\x9F\x98\x80") << true << true;
        QTest::newRow("shift_jis kana") << QByteArray("\x82\xA0\x82\xA2") << true << false;
        QTest::newRow("overlong slash") << QByteArray("\xC0\xAF") << true << false;
        QTest::newRow("overlong three bytes") << QByteArray("\xE0\x80\xAF") << true << false;
        QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << true << false;
        QTest::newRow("past U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << true << false;
        QTest::newRow("cut at the end of a file") << QByteArray("a\xE3\x81") << true << false;
        QTest::newRow("cut where reading stopped") << QByteArray("a\xE3\x81") << false << true;
        QTest::newRow("bad byte where reading stopped") << QByteArray("a\xE3\x41") << false << false;
    }

    void utf8_validity()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, complete);
        QTEST(isValidUtf8(bytes, complete), "valid");
    }

    void encoding_is_detected_and_decoded_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<TextEncoding>("encoding");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QByteArray() << TextEncoding::Utf8 << QString();
        QTest::newRow("ascii") << QByteArray("abc") << TextEncoding::Utf8 << QStringLiteral("abc");
        QTest::newRow("utf-8") << QByteArray("\xE3\x81\x82") << TextEncoding::Utf8 << QStringLiteral("あ");
        QTest::newRow("utf-8 mark dropped") << QByteArray("\xEF\xBB\xBF\xE3\x81\x82") << TextEncoding::Utf8WithBom
                                            << QStringLiteral("あ");
        QTest::newRow("utf-16 le") << QByteArray("\xFF\xFE\x42\x30\x0D\x00", 6) << TextEncoding::Utf16LE
                                   << QStringLiteral("あ\r");
        QTest::newRow("utf-16 be") << QByteArray("\xFE\xFF\x30\x42\x00\x0A", 6) << TextEncoding::Utf16BE
                                   << QStringLiteral("あ\n");
        // Code page 932: kana, a half-width katakana, a NEC circled digit.
        QTest::newRow("shift_jis") << QByteArray("\x82\xA0\x82\xA2\x82\xA4\xB1\x87\x40") << TextEncoding::ShiftJis
                                   << QStringLiteral("あいうｱ①");
        // Also half-width katakana pairs in Shift_JIS, but kana say EUC-JP.
        QTest::newRow("euc-jp kana and kanji")
            << QByteArray("\xA4\xCD\xA4\xB3\xA4\xAC\xA4\xB9\xA4\xAD\n\xC6\xFC\xCB\xDC\xB8\xEC\n")
            << TextEncoding::EucJp << QStringLiteral("ねこがすき\n日本語\n");
        QTest::newRow("euc-jp katakana") << QByteArray("\xA5\xAB\xA5\xBF\xA5\xAB\xA5\xCA") << TextEncoding::EucJp
                                         << QStringLiteral("カタカナ");
        QTest::newRow("euc-jp kanji that shift_jis cannot read")
            << QByteArray("\xC6\xFC\xCB\xDC\xB8\xEC") << TextEncoding::EucJp << QStringLiteral("日本語");
        QTest::newRow("euc-jp half-width kana, JIS X 0212, NEC digit")
            << QByteArray("\x8E\xB1\x8F\xB0\xA1\xAD\xA1\xA4\xA2") << TextEncoding::EucJp
            << QStringLiteral("ｱ丂①あ");
        QTest::newRow("shift_jis half-width katakana, also well-formed euc-jp")
            << QByteArray("\xB1\xB2\xB3\xB4") << TextEncoding::ShiftJis << QStringLiteral("ｱｲｳｴ");
        QTest::newRow("euc-jp with a code of no character: shift_jis")
            << QByteArray("\xA4\xA2\xA9\xA1") << TextEncoding::ShiftJis << QStringLiteral("､｢ｩ｡");
    }

    void encoding_is_detected_and_decoded()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(TextEncoding, encoding);
        QCOMPARE(detectEncoding(bytes, true), encoding);
        QTEST(decodeText(bytes, encoding), "text");
    }

    void characters_no_encoding_reads_are_reported_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("complete");
        QTest::addColumn<bool>("unreadable");
        QTest::newRow("utf-8") << QByteArray("\xE3\x81\x82") << true << false;
        QTest::newRow("euc-jp") << QByteArray("\xA4\xA2\xB0\xA1") << true << false;
        QTest::newRow("shift_jis") << QByteArray("\x82\xA0\x88\x9F") << true << false;
        QTest::newRow("a byte no encoding has") << QByteArray("\x82\xA0\xFF") << true << true;
        QTest::newRow("a code with no character") << QByteArray("\x82\xA0\x85\x40") << true << true;
        QTest::newRow("a lead byte at the end of the file") << QByteArray("\x82\xA0\x82") << true << true;
        QTest::newRow("a lead byte where reading stopped") << QByteArray("\x82\xA0\x82") << false << false;
        // Files that decode as something, but hold NUL: never a practice text.
        QTest::newRow("utf-16le without its mark") << QByteArray("c\0a\0t\0\n\0", 8) << true << true;
        QTest::newRow("utf-16be without its mark") << QByteArray("\0c\0a\0t\0\n", 8) << true << true;
        QTest::newRow("utf-32le with its mark") << QByteArray("\xFF\xFE\0\0c\0\0\0", 8) << true << true;
        QTest::newRow("utf-32be with its mark") << QByteArray("\0\0\xFE\xFF\0\0\0" "c", 8) << true << true;
        QTest::newRow("a NUL in utf-8") << QByteArray("ab\0cd", 5) << true << true;
        QTest::newRow("utf-16le with its mark") << QByteArray("\xFF\xFE" "c\0a\0t\0", 8) << true << false;
    }

    void characters_no_encoding_reads_are_reported()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, complete);
        QTEST(decodeFile(bytes, complete).unreadable, "unreadable");
    }

    void lines_are_split_and_limited_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("maxLines");
        QTest::addColumn<int>("maxLength");
        QTest::addColumn<bool>("complete"); // false: the file goes on past what was read
        QTest::addColumn<Lines>("lines");
        QTest::addColumn<bool>("moreLines");
        QTest::addColumn<bool>("lineCut");
        const auto row = [](const char *name, const QString &text, const Lines &lines) {
            QTest::newRow(name) << text << 101 << 1000 << true << lines << false << false;
        };
        row("empty text, no line", QString(), {});
        row("one line without end", QStringLiteral("abc"), {"abc"});
        row("one line with end", QStringLiteral("abc\r\n"), {"abc"});
        row("final empty line", QStringLiteral("abc\r\n\r\n"), {"abc", ""});
        row("only a line end", QStringLiteral("\r\n"), {""});
        row("cr lf", QStringLiteral("a\r\nb\r\nc"), {"a", "b", "c"});
        row("lf", QStringLiteral("a\nb\nc\n"), {"a", "b", "c"});
        row("cr", QStringLiteral("a\rb\rc\r"), {"a", "b", "c"});
        row("mixed", QStringLiteral("a\nb\r\nc\rd"), {"a", "b", "c", "d"});
        row("lf then cr is two ends", QStringLiteral("a\n\rb"), {"a", "", "b"});
        row("empty line inside", QStringLiteral("a\r\n\r\nb"), {"a", "", "b"});
        const Lines ab{"a", "b"};
        QTest::newRow("exactly the limit") << "a\nb\n" << 2 << 1000 << true << ab << false << false;
        QTest::newRow("limit without last end") << "a\nb" << 2 << 1000 << true << ab << false << false;
        QTest::newRow("one more line") << "a\nb\nc" << 2 << 1000 << true << ab << true << false;
        QTest::newRow("one more empty line") << "a\nb\n\n" << 2 << 1000 << true << ab << true << false;
        QTest::newRow("file goes on after the limit") << "a\nb\n" << 2 << 1000 << false << ab << true << false;
        QTest::newRow("reading stopped inside a line") << "a\nbcd" << 2 << 1000 << false << Lines{"a", "bcd"}
                                                       << false << true;
        // An emoji is a surrogate pair: a cut line leaves it out whole.
        QTest::newRow("long line cut whole characters") << QStringLiteral("ab\U0001F600\nxyz") << 101 << 3 << true
                                                        << Lines{"ab", "xyz"} << false << true;
    }

    void lines_are_split_and_limited()
    {
        QFETCH(QString, text);
        QFETCH(int, maxLines);
        QFETCH(int, maxLength);
        QFETCH(bool, complete);
        const SplitText split = splitLines(text, maxLines, maxLength, complete);
        QTEST(split.lines, "lines");
        QTEST(split.moreLines, "moreLines");
        QTEST(split.lineCut, "lineCut");
    }
};

QTEST_GUILESS_MAIN(TextDecodingTest)
#include "test_text_decoding.moc"
