// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/keys/jis_keymap.h"

#include <Qt>

#include <unordered_map>

namespace hoshi {

namespace {

// evdev code -> virtual-key code, for the 106/109-key JIS keyboard.
const std::unordered_map<int, int> &evdevTable()
{
    static const std::unordered_map<int, int> table{
        {1, 27},   {2, 49},   {3, 50},   {4, 51},   {5, 52},   {6, 53},   {7, 54},   {8, 55},
        {9, 56},   {10, 57},  {11, 48},  {12, 189}, {13, 222}, {14, 8},   {15, 9},   {16, 81},
        {17, 87},  {18, 69},  {19, 82},  {20, 84},  {21, 89},  {22, 85},  {23, 73},  {24, 79},
        {25, 80},  {26, 192}, {27, 219}, {28, 13},  {29, 17},  {30, 65},  {31, 83},  {32, 68},
        {33, 70},  {34, 71},  {35, 72},  {36, 74},  {37, 75},  {38, 76},  {39, 187}, {40, 186},
        {41, 229}, {42, 16},  {43, 221}, {44, 90},  {45, 88},  {46, 67},  {47, 86},  {48, 66},
        {49, 78},  {50, 77},  {51, 188}, {52, 190}, {53, 191}, {54, 16},  {55, 106}, {56, 18},
        {57, 32},  {58, 240}, {59, 112}, {60, 113}, {61, 114}, {62, 115}, {63, 116}, {64, 117},
        {65, 118}, {66, 119}, {67, 120}, {68, 121}, {69, 144}, {70, 145}, {71, 103}, {72, 104},
        {73, 105}, {74, 109}, {75, 100}, {76, 101}, {77, 102}, {78, 107}, {79, 97},  {80, 98},
        {81, 99},  {82, 96},  {83, 110}, {85, 229}, {87, 122}, {88, 123}, {89, 226}, {90, 242},
        {91, 242}, {92, 28},  {93, 242}, {94, 29},  {96, 13},  {97, 17},  {98, 111}, {99, 44},
        {100, 18}, {102, 36}, {103, 38}, {104, 33}, {105, 37}, {106, 39}, {107, 35}, {108, 40},
        {109, 34}, {110, 45}, {111, 46}, {119, 19}, {121, 108}, {124, 220}, {125, 91}, {126, 92},
        {127, 93}, {138, 47},
        // F13 to F24
        {183, 124}, {184, 125}, {185, 126}, {186, 127}, {187, 128}, {188, 129}, {189, 130},
        {190, 131}, {191, 132}, {192, 133}, {193, 134}, {194, 135},
    };
    return table;
}

// Keys whose Qt code is not a character.
const std::unordered_map<int, int> &namedKeyTable()
{
    static const std::unordered_map<int, int> table{
        {Qt::Key_Backspace, 8},   {Qt::Key_Tab, 9},          {Qt::Key_Backtab, 9},
        {Qt::Key_Clear, 12},
        {Qt::Key_Return, 13},     {Qt::Key_Enter, 13},       {Qt::Key_Shift, 16},
        {Qt::Key_Control, 17},    {Qt::Key_Alt, 18},         {Qt::Key_AltGr, 18},
        {Qt::Key_Pause, 19},      {Qt::Key_CapsLock, 20},    {Qt::Key_Kana_Lock, 21},
        {Qt::Key_Kanji, 25},      {Qt::Key_Escape, 27},      {Qt::Key_Henkan, 28},
        {Qt::Key_Muhenkan, 29},   {Qt::Key_Space, 32},       {Qt::Key_PageUp, 33},
        {Qt::Key_PageDown, 34},   {Qt::Key_End, 35},         {Qt::Key_Home, 36},
        {Qt::Key_Left, 37},       {Qt::Key_Up, 38},          {Qt::Key_Right, 39},
        {Qt::Key_Down, 40},       {Qt::Key_Print, 44},       {Qt::Key_Insert, 45},
        {Qt::Key_Delete, 46},     {Qt::Key_Help, 47},        {Qt::Key_Super_L, 91},
        {Qt::Key_Meta, 91},       {Qt::Key_Super_R, 92},     {Qt::Key_Menu, 93},
        {Qt::Key_NumLock, 144},   {Qt::Key_ScrollLock, 145}, {Qt::Key_yen, 220},
        {Qt::Key_Zenkaku_Hankaku, 229}, {Qt::Key_Zenkaku, 229}, {Qt::Key_Hankaku, 229},
        {Qt::Key_Eisu_toggle, 240}, {Qt::Key_Hiragana_Katakana, 242},
        {Qt::Key_Katakana, 242},  {Qt::Key_Hiragana, 242},
    };
    return table;
}

// Characters of the main block, by the JIS key that gives them (shifted or not).
const std::unordered_map<int, int> &characterTable()
{
    static const std::unordered_map<int, int> table{
        {'!', 49},  {'"', 50},  {'#', 51},  {'$', 52},  {'%', 53},  {'&', 54},  {'\'', 55},
        {'(', 56},  {')', 57},  {':', 186}, {'*', 186}, {';', 187}, {'+', 187}, {',', 188},
        {'<', 188}, {'-', 189}, {'=', 189}, {'.', 190}, {'>', 190}, {'/', 191}, {'?', 191},
        {'@', 192}, {'`', 192}, {'[', 219}, {'{', 219}, {'\\', 220}, {'|', 220}, {']', 221},
        {'}', 221}, {'^', 222}, {'~', 222}, {'_', 226},
    };
    return table;
}

int keypadKey(int qtKey)
{
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return 96 + (qtKey - Qt::Key_0);
    switch (qtKey) {
    case Qt::Key_Asterisk: return 106;
    case Qt::Key_Plus: return 107;
    case Qt::Key_Comma: return 108;
    case Qt::Key_Minus: return 109;
    case Qt::Key_Period: return 110;
    case Qt::Key_Slash: return 111;
    case Qt::Key_Enter: return 13;
    default: return 0;
    }
}

int lookUp(const std::unordered_map<int, int> &table, int key)
{
    const auto found = table.find(key);
    return found == table.end() ? 0 : found->second;
}

// The numeric pad's digit and decimal keys.
bool isPadDigitKey(int code)
{
    return (code >= 96 && code <= 105) || code == 110;
}

bool isPadCharacter(int qtKey)
{
    return (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || qtKey == Qt::Key_Period || qtKey == Qt::Key_Comma;
}

} // namespace

int virtualKeyFromEvdev(int evdevCode)
{
    return lookUp(evdevTable(), evdevCode);
}

int virtualKeyFromPhysicalKey(int evdevCode, int qtKey, bool keypad)
{
    const int code = virtualKeyFromEvdev(evdevCode);
    if (code == 0)
        return virtualKeyFromQtKey(qtKey, keypad);
    // Num Lock off: the pad's digit keys are Home, the arrows, Delete...
    if (isPadDigitKey(code) && !isPadCharacter(qtKey)) {
        if (const int cursorKey = lookUp(namedKeyTable(), qtKey))
            return cursorKey;
    }
    return code;
}

int virtualKeyFromQtKey(int qtKey, bool keypad)
{
    if (keypad) {
        // A pad key is never taken for the main-block key of the same character.
        if (const int code = keypadKey(qtKey))
            return code;
        return lookUp(namedKeyTable(), qtKey);
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return 65 + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return 48 + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return 112 + (qtKey - Qt::Key_F1);
    if (const int code = lookUp(namedKeyTable(), qtKey))
        return code;
    return lookUp(characterTable(), qtKey);
}

int qtKeyFromVirtualKey(int keyCode)
{
    if (keyCode >= 65 && keyCode <= 90)
        return Qt::Key_A + (keyCode - 65);
    if (keyCode >= 48 && keyCode <= 57)
        return Qt::Key_0 + (keyCode - 48);
    if (keyCode >= 112 && keyCode <= 135)
        return Qt::Key_F1 + (keyCode - 112);
    for (const auto &[qtKey, code] : namedKeyTable()) {
        // Several Qt keys share a code; any of them translates back to it,
        // but Backtab, keypad Enter, Meta and AltGr carry extra meaning.
        if (code == keyCode && qtKey != Qt::Key_Backtab && qtKey != Qt::Key_Enter && qtKey != Qt::Key_Meta
            && qtKey != Qt::Key_AltGr)
            return qtKey;
    }
    return 0;
}

} // namespace hoshi
