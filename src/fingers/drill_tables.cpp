// SPDX-License-Identifier: GPL-3.0-or-later
#include "fingers/drill_tables.h"

namespace hoshi {

namespace {

// The letters in the alphabet drill's order, with the punctuation keys of the
// letter rows between them, then the digit row and three symbol keys (JIS,
// all typed without Shift). Finger labels keep an ideographic space.
TargetTable numbersAndSymbolsTargets()
{
    return {
        {QStringLiteral("F"), QStringLiteral("左手　人さし指")}, // 1
        {QStringLiteral("R"), QStringLiteral("左手　人さし指")}, // 2
        {QStringLiteral("V"), QStringLiteral("左手　人さし指")}, // 3
        {QStringLiteral("G"), QStringLiteral("左手　人さし指")}, // 4
        {QStringLiteral("T"), QStringLiteral("左手　人さし指")}, // 5
        {QStringLiteral("B"), QStringLiteral("左手　人さし指")}, // 6
        {QStringLiteral("J"), QStringLiteral("右手　人さし指")}, // 7
        {QStringLiteral("U"), QStringLiteral("右手　人さし指")}, // 8
        {QStringLiteral("M"), QStringLiteral("右手　人さし指")}, // 9
        {QStringLiteral("H"), QStringLiteral("右手　人さし指")}, // 10
        {QStringLiteral("Y"), QStringLiteral("右手　人さし指")}, // 11
        {QStringLiteral("N"), QStringLiteral("右手　人さし指")}, // 12
        {QStringLiteral("D"), QStringLiteral("左手　中指")}, // 13
        {QStringLiteral("E"), QStringLiteral("左手　中指")}, // 14
        {QStringLiteral("C"), QStringLiteral("左手　中指")}, // 15
        {QStringLiteral("K"), QStringLiteral("右手　中指")}, // 16
        {QStringLiteral("I"), QStringLiteral("右手　中指")}, // 17
        {QStringLiteral(","), QStringLiteral("右手　中指")}, // 18
        {QStringLiteral("S"), QStringLiteral("左手　くすり指")}, // 19
        {QStringLiteral("W"), QStringLiteral("左手　くすり指")}, // 20
        {QStringLiteral("X"), QStringLiteral("左手　くすり指")}, // 21
        {QStringLiteral("L"), QStringLiteral("右手　くすり指")}, // 22
        {QStringLiteral("O"), QStringLiteral("右手　くすり指")}, // 23
        {QStringLiteral("."), QStringLiteral("右手　くすり指")}, // 24
        {QStringLiteral("A"), QStringLiteral("左手　小指")}, // 25
        {QStringLiteral("Q"), QStringLiteral("左手　小指")}, // 26
        {QStringLiteral("Z"), QStringLiteral("左手　小指")}, // 27
        {QStringLiteral(";"), QStringLiteral("右手　小指")}, // 28
        {QStringLiteral("P"), QStringLiteral("右手　小指")}, // 29
        {QStringLiteral("/"), QStringLiteral("右手　小指")}, // 30
        {QStringLiteral("1"), QStringLiteral("左手　小指")}, // 31
        {QStringLiteral("2"), QStringLiteral("左手　くすり指")}, // 32
        {QStringLiteral("3"), QStringLiteral("左手　中指")}, // 33
        {QStringLiteral("4"), QStringLiteral("左手　人さし指")}, // 34
        {QStringLiteral("5"), QStringLiteral("左手　人さし指")}, // 35
        {QStringLiteral("6"), QStringLiteral("右手　人さし指")}, // 36
        {QStringLiteral("7"), QStringLiteral("右手　人さし指")}, // 37
        {QStringLiteral("8"), QStringLiteral("右手　中指")}, // 38
        {QStringLiteral("9"), QStringLiteral("右手　くすり指")}, // 39
        {QStringLiteral("0"), QStringLiteral("右手　小指")}, // 40
        {QStringLiteral("@"), QStringLiteral("右手　小指")}, // 41
        {QStringLiteral("-"), QStringLiteral("右手　小指")}, // 42
        {QStringLiteral(":"), QStringLiteral("右手　小指")}, // 43
    };
}

// The alphabet drill's rows are the letters of the wider table, in its order.
TargetTable alphabetTargets()
{
    TargetTable letters;
    for (const DrillTarget &target : numbersAndSymbolsTargets()) {
        if (target.character.at(0).isLetter())
            letters.push_back(target);
    }
    return letters;
}

} // namespace

const DrillProfile &alphabetDrillProfile()
{
    // The end entry's caption really has a blank before its parenthesis here.
    static const DrillProfile profile{
        QStringLiteral("frmYubiren2"), QStringLiteral("アルファベットに挑戦"), 30,
        alphabetTargets(), {255, 0, 0}, QStringLiteral("終了(&X )")};
    return profile;
}

const DrillProfile &numbersAndSymbolsDrillProfile()
{
    static const DrillProfile profile{
        QStringLiteral("frmYubiren3"), QStringLiteral("数字と記号も登場"), 60,
        numbersAndSymbolsTargets(), {0, 0, 255}, QStringLiteral("終了(&X)")};
    return profile;
}

} // namespace hoshi
