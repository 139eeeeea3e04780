// SPDX-License-Identifier: GPL-3.0-or-later
#include "typing/typing_profile.h"

namespace hoshi {

namespace {

std::size_t indexOf(TimeLimitChoice choice)
{
    return static_cast<std::size_t>(choice);
}

TypingProfile makeJapanese()
{
    TypingProfile p;
    p.voice = TypingProfile::Voice::Announce;
    p.wrongCue = Cue::Zannen;
    p.gameOverText = QStringLiteral("おしまい  RESET!");
    p.scorePrefix = QStringLiteral("得点 ");
    p.openingCaption = QStringLiteral("応用日本語入力　３分");
    p.limitCaptions = {QStringLiteral("応用日本語入力　１分"), QStringLiteral("応用日本語入力　３分"),
                       QStringLiteral("応用日本語入力　５分")};
    p.readErrors = {QString(),
                    QStringLiteral("ファイルが見つかりません。"),
                    QStringLiteral("フォルダーは開けません。テキスト ファイルを選んでください。"),
                    QStringLiteral("このファイルは読めません。テキスト ファイルを選んでください。"),
                    QStringLiteral("このファイルを読む許可がありません。"),
                    QStringLiteral("ファイルを読み込めませんでした。"),
                    QStringLiteral("このファイルには練習する文字がありません。ほかのテキスト ファイルを選んでください。")};
    p.moreLinesMessage =
        QStringLiteral("このファイルは101行より長いので、はじめの101行だけを練習に使います。");
    p.lineCutMessage = QStringLiteral("とても長い行があったので、その行ははじめの部分だけを使います。");
    p.unreadableMessage = QStringLiteral(
        "このファイルには読めない文字がありました。その文字は正しく出ません。"
        "UTF-8 で保存しなおすと、すべて読めます。");
    p.editorFailedMessage = QStringLiteral("テキスト エディターを起動できませんでした。");
    // In kana: the reading voice says them as written.
    p.hints = {QStringLiteral("こんとろーる おーで ふぁいるを ひらいてね"),
               QStringLiteral("えんたーで はじまるよ"),
               QStringLiteral("よみこんだよ。えんたーで はじまるよ"),
               QStringLiteral("ちがうよ。こんとろーるで もういちど きけるよ"),
               QStringLiteral("はじめから。えんたーで はじまるよ"),
               QStringLiteral("うえ した キーで えらんで、えんたーで ひらいてね"),
               QStringLiteral("ここには なまえの よめない ファイルが あって、でてこないよ。なまえを かえてね")};
    p.folderWord = QStringLiteral("フォルダー");
    p.sampleFolder = QStringLiteral("japanese");
    return p;
}

TypingProfile makeEnglish()
{
    TypingProfile p;
    p.voice = TypingProfile::Voice::Speak;
    p.wrongCue = Cue::Boo;
    p.gameOverText = QStringLiteral("GAME OVER.  RESET!");
    p.scorePrefix = QStringLiteral("SCORE ");
    p.openingCaption = QStringLiteral("ENGLISH Three Minute");
    p.limitCaptions = {QStringLiteral("ENGLISH One Minute"), QStringLiteral("ENGLISH Three Minutes"),
                       QStringLiteral("ENGLISH Five Minutes")};
    p.readErrors = {QString(),
                    QStringLiteral("The file was not found."),
                    QStringLiteral("A folder cannot be opened. Please choose a text file."),
                    QStringLiteral("This file cannot be read. Please choose a text file."),
                    QStringLiteral("You are not allowed to read this file."),
                    QStringLiteral("The file could not be read."),
                    QStringLiteral("This file has nothing to type. Please choose another text file.")};
    p.moreLinesMessage =
        QStringLiteral("This file has more than 101 lines. Only the first 101 lines are used.");
    p.lineCutMessage = QStringLiteral("A line of this file is very long. Only its beginning is used.");
    p.unreadableMessage = QStringLiteral(
        "Some characters of this file could not be read and are shown wrongly. "
        "Save the file as UTF-8 to read them all.");
    p.editorFailedMessage = QStringLiteral("The text editor could not be started.");
    p.hints = {QStringLiteral("Press Control O to open a text file."),
               QStringLiteral("Press Enter to start."),
               QStringLiteral("The text is ready. Press Enter to start."),
               QStringLiteral("Not quite. Press Control to hear the line again."),
               QStringLiteral("Starting over. Press Enter to start."),
               QStringLiteral("Choose a file with the up and down keys, then press Enter."),
               QStringLiteral("Some files here have names that cannot be read, so they are not listed. "
                              "Rename them to open them.")};
    p.folderWord = QStringLiteral("folder");
    p.sampleFolder = QStringLiteral("english");
    return p;
}

} // namespace

TimeLimitEntry timeLimitEntry(TimeLimitChoice choice)
{
    switch (choice) {
    case TimeLimitChoice::OneMinute: return {60, {255, 0, 0}};
    case TimeLimitChoice::ThreeMinutes: return {180, {0, 0, 255}};
    case TimeLimitChoice::FiveMinutes: return {300, {0, 255, 0}};
    }
    return {180, {0, 0, 255}};
}

QString oneLine(QString text)
{
    for (QChar &c : text) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = u' ';
    }
    return text;
}

QString TypingProfile::entryAnnouncement(const QString &name, bool isFolder) const
{
    return isFolder ? oneLine(name) + u' ' + folderWord : oneLine(name);
}

const QString &TypingProfile::captionFor(TimeLimitChoice choice) const
{
    return limitCaptions[indexOf(choice)];
}

QStringList TypingProfile::loadMessages(const PracticeFileContent &content) const
{
    QStringList messages;
    if (!content.ok()) {
        messages << readErrors[static_cast<std::size_t>(content.error)];
        return messages;
    }
    if (content.moreLines)
        messages << moreLinesMessage;
    if (content.lineCut)
        messages << lineCutMessage;
    if (content.unreadableCharacters)
        messages << unreadableMessage;
    return messages;
}

const TypingProfile &TypingProfile::of(TypingLanguage language)
{
    return language == TypingLanguage::English ? english() : japanese();
}

const TypingProfile &TypingProfile::japanese()
{
    static const TypingProfile profile = makeJapanese();
    return profile;
}

const TypingProfile &TypingProfile::english()
{
    static const TypingProfile profile = makeEnglish();
    return profile;
}

} // namespace hoshi
