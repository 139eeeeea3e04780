// SPDX-License-Identifier: GPL-3.0-or-later
#include "typing/typing_look.h"

namespace hoshi {

namespace {

const QColor Navy(0, 0, 128);
const QColor Maroon(128, 0, 0);
const QColor Black(0, 0, 0);
const QColor White(255, 255, 255);
const QColor Yellow(255, 255, 0);
const QColor Green(0, 255, 0);
const QColor Silver(192, 192, 192);
const QColor Grey(128, 128, 128);

constexpr double LabelPoints = 60;
constexpr double KeyGuidePoints = 27.75;

// The counters and the key help: left and top aligned on their own background.
LabelStyle label(FontFace face, double points, QColor text, QColor background)
{
    return {.face = face, .pointSize = points, .text = text, .background = background,
            .alignment = Qt::AlignLeft | Qt::AlignTop};
}

TypingLook makeJapanese()
{
    TypingLook look;
    look.objectName = QStringLiteral("frmJapanese");
    look.windowColour = Navy;
    look.inputInFrame = false;
    look.time = label(FontFace::Fixed, LabelPoints, White, Navy);
    look.maru = label(FontFace::Fixed, LabelPoints, White, Black);
    look.batsu = label(FontFace::Fixed, LabelPoints, White, Navy);
    look.score = label(FontFace::Fixed, LabelPoints, Yellow, Black);
    look.keyGuide = label(FontFace::Proportional, KeyGuidePoints, Green, Navy);
    // Kana come through the system's input method as usual.
    look.inputHints = Qt::ImhNone;
    look.displayName = QStringLiteral("おてほん");
    look.inputName = QStringLiteral("にゅうりょく");
    look.fileMenu = QStringLiteral("ファイル(&F)");
    look.openFile = QStringLiteral("ファイルを開く(&O)");
    look.openEditor = QStringLiteral("「メモ帳」を開く(&E)");
    look.exit = QStringLiteral("終了(&X)");
    look.separatorBeforeExit = true;
    look.settingsMenu = QStringLiteral("設定(&S)");
    look.limitEntries = {QStringLiteral("1分間"), QStringLiteral("3分間"), QStringLiteral("5分間")};
    look.versionEntry = QStringLiteral("バージョン(&V)");
    look.menuWords = &japaneseMenuWords();
    return look;
}

TypingLook makeEnglish()
{
    TypingLook look;
    look.objectName = QStringLiteral("frmEnglish");
    look.windowColour = Maroon;
    look.inputInFrame = true;
    look.time = label(FontFace::Fixed, LabelPoints, White, Silver);
    look.maru = label(FontFace::Fixed, LabelPoints, White, Grey);
    look.batsu = label(FontFace::Fixed, LabelPoints, White, Grey);
    look.score = label(FontFace::Proportional, LabelPoints, Yellow, Grey);
    look.keyGuide = label(FontFace::Proportional, KeyGuidePoints, Green, Maroon);
    // Half-width letters: ask the input method to stay out of the way.
    look.inputHints = Qt::ImhLatinOnly | Qt::ImhPreferLatin | Qt::ImhNoPredictiveText
                      | Qt::ImhNoAutoUppercase;
    look.displayName = QStringLiteral("Text to type");
    look.inputName = QStringLiteral("Input");
    look.fileMenu = QStringLiteral("File(&F)");
    look.openFile = QStringLiteral("Open Text File(&O)");
    look.openEditor = QStringLiteral("Open Note Pad(&E)");
    look.exit = QStringLiteral("Exit(&X)");
    look.separatorBeforeExit = false;
    look.settingsMenu = QStringLiteral("Setting(&S)");
    look.limitEntries = {QStringLiteral("One Minute"), QStringLiteral("Three Minutes"),
                         QStringLiteral("Five Minutes")};
    look.versionEntry = QStringLiteral("About(&A)");
    look.menuWords = &englishMenuWords();
    return look;
}

} // namespace

const TypingLook &TypingLook::of(TypingLanguage language)
{
    static const TypingLook japanese = makeJapanese();
    static const TypingLook english = makeEnglish();
    return language == TypingLanguage::English ? english : japanese;
}

} // namespace hoshi
