// SPDX-License-Identifier: GPL-3.0-or-later
// Labels as every window makes them: a plain-text label shows and reads its
// text as it stands, markup-like or not, and a label kept inside its box
// follows a font its window gives it later.
#include "ui/fonts.h"
#include "ui/labels.h"

#include <QAccessible>
#include <QFontMetrics>
#include <QLabel>
#include <QTest>

using namespace hoshi;

class LabelsTest : public QObject {
    Q_OBJECT
private slots:
    void plain_text_is_shown_and_read_as_it_stands_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("a key name") << "<";
        QTest::newRow("a tag") << "<b>";
        QTest::newRow("text around a tag") << "小なり<i>x</i>";
        QTest::newRow("an entity") << "&lt;";
    }

    void plain_text_is_shown_and_read_as_it_stands()
    {
        QFETCH(QString, text);
        QWidget window;
        QLabel *label = makeLabel(&window, QStringLiteral("lblKey"), {.pointSize = 20, .plainText = true});
        label->setText(text);
        // Expected: a screen reader reads every character; the label has room for all of them.
        QCOMPARE(QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name), text);
        QVERIFY(label->sizeHint().width() >= QFontMetrics(label->font()).horizontalAdvance(text));
    }

    void a_font_set_later_is_the_one_kept_data()
    {
        QTest::addColumn<QFont>("font");
        QTest::addColumn<bool>("fits");
        QTest::newRow("larger") << japaneseFont(FontFace::Proportional, 30) << true;
        QTest::newRow("smaller") << japaneseFont(FontFace::Proportional, 12) << true;
        QTest::newRow("the fixed face") << japaneseFont(FontFace::Fixed, 20) << true;
        QTest::newRow("too large for the box") << japaneseFont(FontFace::Fixed, 200) << false;
    }

    void a_font_set_later_is_the_one_kept()
    {
        // State: a label fitted in its box at 20 points, shown.
        QFETCH(QFont, font);
        QFETCH(bool, fits);
        QWidget window;
        window.resize(600, 200);
        QLabel *label = makeLabel(&window, QStringLiteral("lblTitle"), {.pointSize = 20});
        label->setGeometry(0, 0, 600, 200);
        label->setText(QStringLiteral("ほしのたまご"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        label->repaint();
        QCOMPARE(label->font().pointSizeF(), 20.0);
        // Action: the window gives it another font.
        label->setFont(font);
        label->repaint();
        // Expected: drawn in that font; only where it does not fit, smaller, still inside the box.
        QCOMPARE(label->font().families(), font.families());
        if (fits) {
            QCOMPARE(label->font().pointSizeF(), font.pointSizeF());
        } else {
            QVERIFY(label->font().pointSizeF() < font.pointSizeF());
            QVERIFY(label->font().pointSizeF() > 20);
            QVERIFY(QFontMetrics(label->font()).horizontalAdvance(label->text()) <= label->contentsRect().width());
        }
    }
};

QTEST_MAIN(LabelsTest)
#include "test_labels.moc"
