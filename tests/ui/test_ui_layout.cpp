// SPDX-License-Identifier: GPL-3.0-or-later
// Layout units, twips at a DPI and the version box text.
#include "ui/layout_units.h"
#include "ui/twips_layout.h"
#include "ui/version_info.h"

#include <QTest>

#include <limits>

using namespace hoshi;

class UiLayoutTest : public QObject {
    Q_OBJECT
private slots:
    void layoutUnits_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("rowUnit");
        QTest::addColumn<int>("usableWidth");
        QTest::newRow("1000 x 1000") << 1000 << 1000 << 200 << 990;
        QTest::newRow("1000 x 1004 rounds down") << 1000 << 1004 << 200 << 990;
        QTest::newRow("1001 x 999") << 1001 << 999 << 199 << 990;
        QTest::newRow("empty") << 0 << 0 << 0 << 0;
        QTest::newRow("negative is empty") << -50 << -9 << 0 << 0;
        QTest::newRow("beyond 16 bits") << 40000 << 200000 << 40000 << 39600;
        QTest::newRow("int max width") << std::numeric_limits<int>::max() << 5 << 1 << 2126008810;
    }
    void layoutUnits()
    {
        // State: a client area in twips. Action: compute the units. Expected: whole parts, no overflow.
        QFETCH(int, width);
        QFETCH(int, height);
        const LayoutUnits units = hoshi::layoutUnits(width, height);
        QTEST(units.rowUnit, "rowUnit");
        QTEST(units.usableWidth, "usableWidth");
    }

    void twipsFollowTheDpi()
    {
        // 96 DPI is 15 twips a pixel; 144 DPI 10.
        const TwipsLayout at96(QSize(1000, 1000), 96, 96);
        QCOMPARE(at96.clientWidthTwips(), 15000);
        QCOMPARE(at96.units().rowUnit, 3000);
        QCOMPARE(at96.rect(49.5 * 15, 40 * 15, 891 * 15, 120 * 15), QRect(50, 40, 891, 120));
        const TwipsLayout at144(QSize(300, 200), 144, 144);
        QCOMPARE(at144.clientWidthTwips(), 3000);
        QCOMPARE(at144.toPixelsX(1440), 144);
        // Tiny and huge clients stay in range.
        const TwipsLayout tiny(QSize(1, 1), 96, 96);
        QCOMPARE(tiny.units().rowUnit, 3);
        QVERIFY(tiny.rect(0, 0, -10, 5).width() >= 0);
        const TwipsLayout huge(QSize(100000, 100000), 96, 96);
        QCOMPARE(huge.units().rowUnit, 300000);
        QVERIFY(huge.rect(0, 0, huge.units().usableWidth, huge.units().rowUnit).width() > 0);
    }

    void versionBoxText()
    {
        const QStringList lines = versionMessage().split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines.mid(0, 3), (QStringList{"ほしのたまご", "", "バージョン2.0"}));
        QVERIFY(lines[3].startsWith(QStringLiteral("Copyright (C) 2026 ")));
        // The licence, as the package and --version state it, on the copyright line.
        QVERIFY(lines[3].contains(QStringLiteral("GPL-3.0-or-later")));
        QCOMPARE(versionBoxTitle(), QStringLiteral("バージョン情報"));
    }
};

QTEST_GUILESS_MAIN(UiLayoutTest)
#include "test_ui_layout.moc"
