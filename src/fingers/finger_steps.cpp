// SPDX-License-Identifier: GPL-3.0-or-later
#include "fingers/finger_steps.h"

namespace hoshi {

// Finger labels keep an ideographic space between hand and finger; readings
// keep their mixed writings (えふ, ぶい, 小ゆび, half-width katakana words).
const std::array<FingerStep, FingerStepCount> &fingerSteps()
{
    static const std::array<FingerStep, FingerStepCount> steps{{
        {QStringLiteral("F"), QStringLiteral("ひだり　人さし指"), QStringLiteral("ひだりひとさしゆびえふ")}, // 1
        {QStringLiteral("R"), QStringLiteral("ひだり　人さし指"), QStringLiteral("ひだりひとさしゆびＲ")}, // 2
        {QStringLiteral("V"), QStringLiteral("ひだり　人さし指"), QStringLiteral("ひだりひとさしゆびぶい")}, // 3
        {QStringLiteral("G"), QStringLiteral("ひだり　人さし指"), QStringLiteral("ひだりひとさしゆびＧ")}, // 4
        {QStringLiteral("T"), QStringLiteral("ひだり　人さし指"), QStringLiteral("ひだりひとさしゆびＴ")}, // 5
        {QStringLiteral("B"), QStringLiteral("ひだり　人さし指"), QStringLiteral("ひだりひとさしゆびＢ")}, // 6
        {QStringLiteral("J"), QStringLiteral("みぎ　人さし指"), QStringLiteral("みぎひとさしゆびＪ")}, // 7
        {QStringLiteral("U"), QStringLiteral("みぎ　人さし指"), QStringLiteral("みぎひとさしゆびＵ")}, // 8
        {QStringLiteral("M"), QStringLiteral("みぎ　人さし指"), QStringLiteral("みぎひとさしゆびＭ")}, // 9
        {QStringLiteral("H"), QStringLiteral("みぎ　人さし指"), QStringLiteral("みぎひとさしゆびＨ")}, // 10
        {QStringLiteral("Y"), QStringLiteral("みぎ　人さし指"), QStringLiteral("みぎひとさしゆびＹ")}, // 11
        {QStringLiteral("N"), QStringLiteral("みぎ　人さし指"), QStringLiteral("みぎひとさしゆびＮ")}, // 12
        {QStringLiteral("D"), QStringLiteral("ひだり　中指"), QStringLiteral("ひだりなかゆびＤ")}, // 13
        {QStringLiteral("E"), QStringLiteral("ひだり　中指"), QStringLiteral("ひだりなかゆびＥ")}, // 14
        {QStringLiteral("C"), QStringLiteral("ひだり　中指"), QStringLiteral("ひだりなかゆびＣ")}, // 15
        {QStringLiteral("K"), QStringLiteral("みぎ　中指"), QStringLiteral("みぎなかゆびＫ")}, // 16
        {QStringLiteral("I"), QStringLiteral("みぎ　中指"), QStringLiteral("みぎなかゆびＩ")}, // 17
        {QStringLiteral(","), QStringLiteral("みぎ　中指"), QStringLiteral("みぎなかゆびｶﾝﾏ")}, // 18
        {QStringLiteral("S"), QStringLiteral("ひだり　くすり指"), QStringLiteral("ひだりくすりゆびＳ")}, // 19
        {QStringLiteral("W"), QStringLiteral("ひだり　くすり指"), QStringLiteral("ひだりくすりゆびＷ")}, // 20
        {QStringLiteral("X"), QStringLiteral("ひだり　くすり指"), QStringLiteral("ひだりくすりゆびＸ")}, // 21
        {QStringLiteral("L"), QStringLiteral("みぎ　くすり指"), QStringLiteral("みぎくすりゆびＬ")}, // 22
        {QStringLiteral("O"), QStringLiteral("みぎ　くすり指"), QStringLiteral("みぎくすりゆびＯ")}, // 23
        {QStringLiteral("."), QStringLiteral("みぎ　くすり指"), QStringLiteral("みぎくすりゆびﾋﾟﾘｵﾄﾞ")}, // 24
        {QStringLiteral("A"), QStringLiteral("ひだり　小指"), QStringLiteral("ひだり小ゆびＡ")}, // 25
        {QStringLiteral("Q"), QStringLiteral("ひだり　小指"), QStringLiteral("ひだりこゆびＱ")}, // 26
        {QStringLiteral("Z"), QStringLiteral("ひだり　小指"), QStringLiteral("ひだりこゆびＺ")}, // 27
        {QStringLiteral(";"), QStringLiteral("みぎ　小指"), QStringLiteral("みぎこゆびｾﾐｺﾛﾝ")}, // 28
        {QStringLiteral("P"), QStringLiteral("みぎ　小指"), QStringLiteral("みぎこゆびＰ")}, // 29
        {QStringLiteral("/"), QStringLiteral("みぎ　小指"), QStringLiteral("みぎこゆびｽﾗｯｼｭ")}, // 30
        {QStringLiteral("1"), QStringLiteral("ひだり　小指"), QStringLiteral("ひだり小ゆび１")}, // 31
        {QStringLiteral("2"), QStringLiteral("ひだり　くすり指"), QStringLiteral("ひだりくすりゆび２")}, // 32
        {QStringLiteral("3"), QStringLiteral("ひだり　中指"), QStringLiteral("ひだりなかゆび３")}, // 33
        {QStringLiteral("4"), QStringLiteral("ひだり　ひとさし指"), QStringLiteral("ひだりひとさしゆび４")}, // 34
        {QStringLiteral("5"), QStringLiteral("ひだり　ひとさし指"), QStringLiteral("ひだりひとさしゆび５")}, // 35
        {QStringLiteral("6"), QStringLiteral("みぎ　ひとさし指"), QStringLiteral("みぎひとさしゆび６")}, // 36
        {QStringLiteral("7"), QStringLiteral("みぎ　ひとさし指"), QStringLiteral("みぎひとさしゆび７")}, // 37
        {QStringLiteral("8"), QStringLiteral("みぎ　なか指"), QStringLiteral("みぎなかゆび８")}, // 38
        {QStringLiteral("9"), QStringLiteral("みぎ　くすり指"), QStringLiteral("みぎくすりゆび９")}, // 39
        {QStringLiteral("0"), QStringLiteral("みぎ　小指"), QStringLiteral("みぎこゆび０")}, // 40
        {QStringLiteral("-"), QStringLiteral("みぎ　小指"), QStringLiteral("みぎこゆびﾏｲﾅｽ")}, // 41
        {QStringLiteral("@"), QStringLiteral("みぎ　小指"), QStringLiteral("みぎこゆびｱｯﾄﾏｰｸ")}, // 42
        {QStringLiteral(":"), QStringLiteral("みぎ　小指"), QStringLiteral("みぎこゆびコロン")}, // 43
    }};
    return steps;
}

} // namespace hoshi
