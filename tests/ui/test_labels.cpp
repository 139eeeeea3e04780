// SPDX-License-Identifier: GPL-3.0-or-later
// A label kept inside its box follows a font its window gives it later.
#include "ui/fonts.h"
#include "ui/labels.h"

#include <QFontMetrics>
#include <QLabel>
#include <QTest>

using namespace hoshi;

class LabelsTest : public QObject {
    Q_OBJECT
private slots:
    void a_font_set_later_is_the_one_kept_data()
    {
        QTest::addColumn<QFont>("font");
        QTest::addColumn<bool>("fits");
        QTest::newRow("larger") << japaneseFont(FontFace::Proportional, 30) << true;
        QTest::newRow("the fixed face, smaller") << japaneseFont(FontFace::Fixed, 12) << true;
        QTest::newRow("too large for the box") << japaneseFont(FontFace::Fixed, 200) << false;
    }

    void a_font_set_later_is_the_one_kept()
    {
        // State: a label fitted in its box at 20 points, shown. Action: the window gives it another font.
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
