// SPDX-License-Identifier: GPL-3.0-or-later
// The Japanese faces: whichever of them this machine has are asked for first,
// and the text is drawn in the first of those.
#include "platform/desktop/japanese_fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QTest>

class TestJapaneseFonts : public QObject {
    Q_OBJECT
private slots:
    void installedFacesComeFirst_data()
    {
        QTest::addColumn<QStringList>("families");
        QTest::newRow("proportional") << hoshi::proportionalJapaneseFamilies();
        QTest::newRow("fixed") << hoshi::fixedJapaneseFamilies();
    }

    void installedFacesComeFirst()
    {
        QFETCH(QStringList, families);
        const QStringList installed = QFontDatabase::families();
        const auto isInstalled = [&installed](const QString &family) {
            return installed.contains(family, Qt::CaseInsensitive);
        };
        if (std::none_of(families.cbegin(), families.cend(), isInstalled))
            QSKIP("none of the Japanese faces is installed");
        const auto firstMissing = std::find_if_not(families.cbegin(), families.cend(), isInstalled);
        QVERIFY2(std::none_of(firstMissing, families.cend(), isInstalled), qPrintable(families.join(u',')));
        QFont font;
        font.setFamilies(families);
        QCOMPARE(QFontInfo(font).family(), families.constFirst());
    }
};

QTEST_MAIN(TestJapaneseFonts)
#include "test_japanese_fonts.moc"
