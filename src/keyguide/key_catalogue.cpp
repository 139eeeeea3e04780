// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyguide/key_catalogue.h"

#include "platform/api/key_codes.h"
#include "platform/api/text_forms.h"

#include <array>
#include <unordered_map>

namespace hoshi {

namespace {

using KeyTable = std::unordered_map<int, KeyEntry>;

constexpr char16_t FullWidthSmallA = u'\uFF41';
constexpr char16_t FullWidthCapitalA = u'\uFF21';

QString charAt(char16_t first, int offset)
{
    return QString(QChar(static_cast<char16_t>(first + offset)));
}

// Each digit's name in kana: the reading line names the key like every other.
QString digitName(int digit)
{
    static const std::array<const char16_t *, 10> names{u"ぜろ", u"いち", u"に",   u"さん", u"よん",
                                                        u"ご",   u"ろく", u"なな", u"はち", u"きゅう"};
    return QString::fromUtf16(names[static_cast<std::size_t>(digit)]);
}

void addDigitAndLetterRows(KeyTable &table)
{
    for (int i = 0; i <= 9; ++i) {
        table[Vk0 + i] = {fullWidthDigits(i), digitName(i)};
        table[VkNumpad0 + i] = {fullWidthDigits(i), digitName(i)}; // the numeric pad reads the same
    }
    for (int i = 0; i < 26; ++i)
        table[VkA + i] = {charAt(FullWidthSmallA, i), charAt(FullWidthCapitalA, i)};
}

void addFunctionKeys(KeyTable &table)
{
    for (int n = 1; n <= 12; ++n) {
        // F10 would hand the keyboard to the menu bar: the guide presses it again.
        const KeyAction action = n == 10 ? KeyAction::RepressSameKey : KeyAction::NoAction;
        const QString display = QStringLiteral("Ｆ") + fullWidthDigits(n);
        const QString reading = QStringLiteral("ﾌｧﾝｸｼｮﾝ") + QString::number(n);
        table[VkF1 + n - 1] = {display, reading, false, action};
    }
}

KeyTable makeUnshiftedTable()
{
    KeyTable table{
        {8, {QStringLiteral("BackSpace"), QStringLiteral("ﾊﾞｯｸｽﾍﾟｰｽ")}},
        {9, {QStringLiteral("Tab"), QStringLiteral("タブ")}},
        {13, {QStringLiteral("Enter"), QStringLiteral("エンター")}},
        {19, {QStringLiteral("Pause"), QStringLiteral("ポーズ")}},
        {27, {QStringLiteral("Escape"), QStringLiteral("エスケープ")}},
        // 変換 may switch the input method on: it is closed again, as after 無変換.
        {28, {QStringLiteral("変換"), QStringLiteral("へんかん"), false, KeyAction::ImeOff}},
        {29, {QStringLiteral("無変換"), QStringLiteral("無変換"), false, KeyAction::ImeOff}},
        {32, {QStringLiteral("Space"), QStringLiteral("スペース")}},
        {33, {QStringLiteral("Page Up"), QStringLiteral("ページアップ")}},
        {34, {QStringLiteral("Page Down"), QStringLiteral("ページダウン")}},
        {35, {QStringLiteral("End"), QStringLiteral("エンド")}},
        {36, {QStringLiteral("Home"), QStringLiteral("ホーム")}},
        {37, {QStringLiteral("←"), QStringLiteral("左矢印")}},
        {38, {QStringLiteral("↑"), QStringLiteral("上矢印")}},
        {39, {QStringLiteral("→"), QStringLiteral("右矢印")}},
        {40, {QStringLiteral("↓"), QStringLiteral("下矢印")}},
        {42, {QStringLiteral("Prentscreen"), QStringLiteral("ﾌﾟﾘﾝﾄｽｸﾘｰﾝ")}},
        {44, {QStringLiteral("Print Screen"), QStringLiteral("ぷりんとすくりーん")}},
        {45, {QStringLiteral("Insert"), QStringLiteral("インサート")}},
        {46, {QStringLiteral("Delete"), QStringLiteral("デリート")}},
        {47, {QStringLiteral("47"), QStringLiteral("47")}},
        {91, {QStringLiteral("Windowsｷｰ"), QStringLiteral("ｳｨﾝﾄﾞｰｽﾞｷｰ"), false, KeyAction::RepressSameKey}},
        {93, {QStringLiteral("Application"), QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝｷｰ")}},
        {106, {QStringLiteral("\uFF0A"), QStringLiteral("アスタリスク")}},
        {107, {QStringLiteral("\uFF0B"), QStringLiteral("プラス")}},
        {109, {QStringLiteral("\uFF0D"), QStringLiteral("マイナス")}},
        {110, {QStringLiteral("\uFF0E"), QStringLiteral("ピリオド")}},
        {111, {QStringLiteral("\uFF0F"), QStringLiteral("スラッシュ")}},
        {144, {QStringLiteral("NumLock"), QStringLiteral("ナムロック")}},
        {186, {QStringLiteral(":"), QStringLiteral("コロン")}},
        {187, {QStringLiteral(";"), QStringLiteral("セミコロン")}},
        {188, {QStringLiteral(","), QStringLiteral("カンマ")}},
        {189, {QStringLiteral("\uFF0D"), QStringLiteral("マイナス")}},
        {190, {QStringLiteral("."), QStringLiteral("ピリオド")}},
        {191, {QStringLiteral("\uFF0F"), QStringLiteral("スラッシュ")}},
        {192, {QStringLiteral("\uFF20"), QStringLiteral("アットマーク")}},
        {219, {QStringLiteral("["), QStringLiteral("角かっこ")}},
        {220, {QStringLiteral("\\"), QStringLiteral("円マーク")}},
        {221, {QStringLiteral("]"), QStringLiteral("角かっことじ")}},
        {222, {QStringLiteral("\uFF3E"), QStringLiteral("べきじょう")}},
        {226, {QStringLiteral("\uFFE5"), QStringLiteral("ﾊﾞｯｸｽﾗｯｼｭ")}},
        {229, {QStringLiteral("半角/全角"), QStringLiteral("半角/全角"), false, KeyAction::ImeOff}},
        {240, {QStringLiteral("Caps Lock"), QStringLiteral("ｷｬﾌﾟｽﾛｯｸ")}},
        {242, {QStringLiteral("ｶﾀｶﾅ"), QStringLiteral("カタカナ")}},
    };
    addDigitAndLetterRows(table);
    addFunctionKeys(table);
    return table;
}

KeyTable makeShiftedTable()
{
    KeyTable table{
        // Shift+0 makes no character on a JIS keyboard: the reading stays.
        {48, {QString(), QString(), true}},
        {49, {QStringLiteral("\uFF01"), QStringLiteral("ｴｸｽｸﾗﾒｰｼｮﾝ")}},
        {50, {QStringLiteral("\""), QStringLiteral("ﾀﾞﾌﾞﾙｸｵｰﾃｰｼｮﾝ")}},
        {51, {QStringLiteral("\uFF03"), QStringLiteral("シャープ")}},
        {52, {QStringLiteral("\uFF04"), QStringLiteral("ドル")}},
        {53, {QStringLiteral("\uFF05"), QStringLiteral("パーセント")}},
        {54, {QStringLiteral("\uFF06"), QStringLiteral("アンド")}},
        {55, {QStringLiteral("'"), QStringLiteral("ｱﾎﾟｽﾄﾛﾌｨｰ")}},
        {56, {QStringLiteral("("), QStringLiteral("かっこ")}},
        {57, {QStringLiteral(")"), QStringLiteral("かっことじ")}},
        {186, {QStringLiteral("*"), QStringLiteral("アスタリスク")}},
        {187, {QStringLiteral("+"), QStringLiteral("プラス")}},
        {188, {QStringLiteral("<"), QStringLiteral("小なり")}},
        {189, {QStringLiteral("="), QStringLiteral("イコール")}},
        {190, {QStringLiteral(">"), QStringLiteral("大なり")}},
        {191, {QStringLiteral("?"), QStringLiteral("ｸｴｽﾁｮﾝﾏｰｸ")}},
        {192, {QStringLiteral("`"), QStringLiteral("ｼﾝｸﾞﾙｸｵｰﾃｰｼｮﾝ")}},
        {219, {QStringLiteral("{"), QStringLiteral("ちゅうかっこ")}},
        {220, {QStringLiteral("|"), QStringLiteral("縦棒")}},
        {221, {QStringLiteral("}"), QStringLiteral("ちゅうかっことじ")}},
        {222, {QStringLiteral("~"), QStringLiteral("チルダ")}},
        {226, {QStringLiteral("_"), QStringLiteral("ｱﾝﾀﾞｰﾗｲﾝ")}},
    };
    // Shifted letters swap the two forms: the capital is shown, the small letter read.
    for (int i = 0; i < 26; ++i)
        table[VkA + i] = {charAt(FullWidthCapitalA, i), charAt(FullWidthSmallA, i)};
    return table;
}

KeyTable makeModifierTable()
{
    return {
        {16, {QStringLiteral("Shift"), QStringLiteral("シフト")}},
        {17, {QStringLiteral("Ctrl"), QStringLiteral("コントロール")}},
        {18, {QStringLiteral("Alt"), QStringLiteral("オルト"), false, KeyAction::RepressAlt}},
    };
}

std::optional<KeyEntry> find(const KeyTable &table, int keyCode)
{
    const auto found = table.find(keyCode);
    if (found == table.end())
        return std::nullopt;
    return found->second;
}

} // namespace

KeyLookup LookUpKey(int keyCode, int modifiers)
{
    static const KeyTable unshifted = makeUnshiftedTable();
    static const KeyTable shifted = makeShiftedTable();
    static const KeyTable modifierKeys = makeModifierTable();

    KeyLookup result;
    if (modifiers == 0)
        result.tableEntry = find(unshifted, keyCode);
    else if (modifiers == 1)
        result.tableEntry = find(shifted, keyCode);
    result.modifierEntry = find(modifierKeys, keyCode);
    return result;
}

} // namespace hoshi
