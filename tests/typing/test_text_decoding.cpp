// Encoding detection and line splitting of practice texts.

#include "typing/text_decoding.h"

#include <QTest>

using namespace hoshi;

class TextDecodingTest : public QObject {
    Q_OBJECT

private slots:
    void utf8_validity_data();
    void utf8_validity();
    void encoding_is_detected_data();
    void encoding_is_detected();
    void decoding_gives_the_text_data();
    void decoding_gives_the_text();
    void lines_end_at_cr_lf_or_cr_lf_data();
    void lines_end_at_cr_lf_or_cr_lf();
    void lines_past_the_limit_are_cut_data();
    void lines_past_the_limit_are_cut();
    void long_lines_are_cut_whole_characters();
};

void TextDecodingTest::utf8_validity_data()
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

void TextDecodingTest::utf8_validity()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, complete);
    QFETCH(bool, valid);
    QCOMPARE(isValidUtf8(bytes, complete), valid);
}

void TextDecodingTest::encoding_is_detected_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<TextEncoding>("encoding");
    QTest::newRow("plain ascii") << QByteArray("abc") << TextEncoding::Utf8;
    QTest::newRow("utf-8") << QByteArray("\xE3\x81\x82") << TextEncoding::Utf8;
    QTest::newRow("utf-8 mark") << QByteArray("\xEF\xBB\xBF" "a") << TextEncoding::Utf8WithBom;
    QTest::newRow("utf-16 le mark") << QByteArray("\xFF\xFE" "a\0", 4) << TextEncoding::Utf16LE;
    QTest::newRow("utf-16 be mark") << QByteArray("\xFE\xFF\0a", 4) << TextEncoding::Utf16BE;
    QTest::newRow("shift_jis") << QByteArray("\x82\xA0") << TextEncoding::ShiftJis;
    QTest::newRow("empty") << QByteArray() << TextEncoding::Utf8;
}

void TextDecodingTest::encoding_is_detected()
{
    QFETCH(QByteArray, bytes);
    QFETCH(TextEncoding, encoding);
    QCOMPARE(detectEncoding(bytes, true), encoding);
}

void TextDecodingTest::decoding_gives_the_text_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<TextEncoding>("encoding");
    QTest::addColumn<QString>("text");
    QTest::newRow("utf-8 mark dropped") << QByteArray("\xEF\xBB\xBF\xE3\x81\x82") << TextEncoding::Utf8WithBom
                                        << QStringLiteral("あ");
    QTest::newRow("utf-16 le") << QByteArray("\xFF\xFE\x42\x30\x0D\x00", 6) << TextEncoding::Utf16LE
                               << QStringLiteral("あ\r");
    QTest::newRow("utf-16 be") << QByteArray("\xFE\xFF\x30\x42\x00\x0A", 6) << TextEncoding::Utf16BE
                               << QStringLiteral("あ\n");
    // Code page 932: kana, a half-width katakana, a NEC circled digit, the yen-sign byte.
    QTest::newRow("shift_jis") << QByteArray("\x82\xA0\x82\xA2\x82\xA4\xB1\x87\x40") << TextEncoding::ShiftJis
                               << QStringLiteral("あいうｱ①");
}

void TextDecodingTest::decoding_gives_the_text()
{
    QFETCH(QByteArray, bytes);
    QFETCH(TextEncoding, encoding);
    QFETCH(QString, text);
    QCOMPARE(decodeText(bytes, encoding), text);
}

void TextDecodingTest::lines_end_at_cr_lf_or_cr_lf_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty text, no line") << QString() << QStringList();
    QTest::newRow("one line without end") << QStringLiteral("abc") << QStringList{"abc"};
    QTest::newRow("one line with end") << QStringLiteral("abc\r\n") << QStringList{"abc"};
    QTest::newRow("final empty line") << QStringLiteral("abc\r\n\r\n") << QStringList{"abc", ""};
    QTest::newRow("only a line end") << QStringLiteral("\r\n") << QStringList{""};
    QTest::newRow("cr lf") << QStringLiteral("a\r\nb\r\nc") << QStringList{"a", "b", "c"};
    QTest::newRow("lf") << QStringLiteral("a\nb\nc\n") << QStringList{"a", "b", "c"};
    QTest::newRow("cr") << QStringLiteral("a\rb\rc\r") << QStringList{"a", "b", "c"};
    QTest::newRow("mixed") << QStringLiteral("a\nb\r\nc\rd") << QStringList{"a", "b", "c", "d"};
    QTest::newRow("lf then cr is two ends") << QStringLiteral("a\n\rb") << QStringList{"a", "", "b"};
    QTest::newRow("empty line inside") << QStringLiteral("a\r\n\r\nb") << QStringList{"a", "", "b"};
}

void TextDecodingTest::lines_end_at_cr_lf_or_cr_lf()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    const SplitText split = splitLines(text, 101, 1000, true);
    QCOMPARE(split.lines, lines);
    QVERIFY(!split.moreLines);
    QVERIFY(!split.lineCut);
}

void TextDecodingTest::lines_past_the_limit_are_cut_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("complete");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("moreLines");
    QTest::addColumn<bool>("lineCut");
    QTest::newRow("exactly the limit") << QStringLiteral("a\nb\n") << true << QStringList{"a", "b"} << false << false;
    QTest::newRow("limit without last end") << QStringLiteral("a\nb") << true << QStringList{"a", "b"} << false
                                            << false;
    QTest::newRow("one more line") << QStringLiteral("a\nb\nc") << true << QStringList{"a", "b"} << true << false;
    QTest::newRow("one more empty line") << QStringLiteral("a\nb\n\n") << true << QStringList{"a", "b"} << true
                                         << false;
    QTest::newRow("file goes on after the limit") << QStringLiteral("a\nb\n") << false << QStringList{"a", "b"}
                                                  << true << false;
    QTest::newRow("reading stopped inside a line") << QStringLiteral("a\nbcd") << false << QStringList{"a", "bcd"}
                                                   << false << true;
}

void TextDecodingTest::lines_past_the_limit_are_cut()
{
    QFETCH(QString, text);
    QFETCH(bool, complete);
    QFETCH(QStringList, lines);
    QFETCH(bool, moreLines);
    QFETCH(bool, lineCut);
    const SplitText split = splitLines(text, 2, 1000, complete);
    QCOMPARE(split.lines, lines);
    QCOMPARE(split.moreLines, moreLines);
    QCOMPARE(split.lineCut, lineCut);
}

void TextDecodingTest::long_lines_are_cut_whole_characters()
{
    // State: a line of 2 letters and an emoji (a surrogate pair), a limit of 3 units.
    const QString text = QStringLiteral("ab\U0001F600\nxyz");
    // Action
    const SplitText split = splitLines(text, 101, 3, true);
    // Expected: the emoji is left out whole; the next line is untouched.
    QCOMPARE(split.lines, (QStringList{"ab", "xyz"}));
    QVERIFY(split.lineCut);
}

QTEST_GUILESS_MAIN(TextDecodingTest)
#include "test_text_decoding.moc"
