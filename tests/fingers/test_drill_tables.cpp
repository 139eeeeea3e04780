// The two drills' target tables against the rows as the drills define them.
#include "fingers/drill_tables.h"

#include <QTest>

using namespace hoshi;

namespace {

// Hand and finger of each row, written out once more: L/R, then 1 index,
// 2 middle, 3 ring, 4 little.
QString fingerLabel(const QString &code)
{
    const QString hand = code.at(0) == QLatin1Char('L') ? QStringLiteral("左手") : QStringLiteral("右手");
    const QStringList fingers{QStringLiteral("人さし指"), QStringLiteral("中指"), QStringLiteral("くすり指"),
                              QStringLiteral("小指")};
    return hand + QChar(0x3000) + fingers.at(code.at(1).digitValue() - 1);
}

void compareTable(const TargetTable &table, const QString &characters, const QStringList &fingers)
{
    QCOMPARE(int(table.size()), int(characters.size()));
    for (int row = 0; row < characters.size(); ++row) {
        QCOMPARE(table[std::size_t(row)].character, QString(characters.at(row)));
        QCOMPARE(table[std::size_t(row)].fingerLabel, fingerLabel(fingers.at(row)));
    }
}

} // namespace

class DrillTablesTest : public QObject {
    Q_OBJECT
private slots:
    void alphabetTable()
    {
        const DrillProfile &profile = alphabetDrillProfile();
        compareTable(profile.table, QStringLiteral("FRVGTBJUMHYNDECKISWXLOAQZP"),
                     QStringLiteral("L1 L1 L1 L1 L1 L1 R1 R1 R1 R1 R1 R1 L2 L2 L2 R2 R2 L3 L3 L3 R3 R3 L4 L4 L4 R4")
                         .split(QLatin1Char(' ')));
        QCOMPARE(profile.timeLimit, 30);
        QCOMPARE(profile.title, QStringLiteral("アルファベットに挑戦"));
        QCOMPARE(profile.endCaption, QStringLiteral("終了(&X )"));
    }

    void numbersAndSymbolsTable()
    {
        const DrillProfile &profile = numbersAndSymbolsDrillProfile();
        compareTable(profile.table, QStringLiteral("FRVGTBJUMHYNDECKI,SWXLO.AQZ;P/1234567890@-:"),
                     QStringLiteral("L1 L1 L1 L1 L1 L1 R1 R1 R1 R1 R1 R1 L2 L2 L2 R2 R2 R2 L3 L3 L3 R3 R3 R3 "
                                    "L4 L4 L4 R4 R4 R4 L4 L3 L2 L1 L1 R1 R1 R2 R3 R4 R4 R4 R4")
                         .split(QLatin1Char(' ')));
        QCOMPARE(profile.timeLimit, 60);
        QCOMPARE(profile.title, QStringLiteral("数字と記号も登場"));
        QCOMPARE(profile.endCaption, QStringLiteral("終了(&X)"));
    }
};

QTEST_APPLESS_MAIN(DrillTablesTest)
#include "test_drill_tables.moc"
