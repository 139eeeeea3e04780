// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the Japanese and the English typing windows do differently, as data.

#include "platform/api/colour.h"
#include "platform/api/interfaces.h"
#include "typing/practice_file.h"

#include <QString>
#include <QStringList>

#include <array>

namespace hoshi {

enum class TypingLanguage { Japanese, English };

/// The three run lengths of the settings menu.
enum class TimeLimitChoice { OneMinute, ThreeMinutes, FiveMinutes };

struct TimeLimitEntry {
    int seconds;
    Rgb barColour;
};

/// Seconds and time-bar colour of a run length; the same in both windows.
TimeLimitEntry timeLimitEntry(TimeLimitChoice choice);

/// The text with every control character and line or paragraph separator
/// as a space, so a file name cannot break an announcement into lines.
QString oneLine(QString text);

/// What the voice alone says at the quiet moments of a typing window.
struct TypingHints {
    QString openFile;  ///< opened with no practice text yet
    QString start;     ///< opened with a practice text
    QString loaded;    ///< a practice text was read
    QString wrongLine; ///< Enter on a line that does not match
    QString startOver; ///< Esc
    QString chooseFile; ///< the file dialog opens
    QString unlistedNames; ///< the dialog's folder holds files whose names it cannot list
};

/// Texts, sound and voice of one typing window.
struct TypingProfile {
    enum class Voice { Announce, Speak };

    Voice voice = Voice::Announce;
    Cue wrongCue = Cue::Zannen;
    QString gameOverText;
    QString scorePrefix;
    QString openingCaption;
    std::array<QString, 3> limitCaptions; ///< window captions for 1, 3 and 5 minutes
    std::array<QString, 7> readErrors;    ///< by PracticeReadError; [0] unused
    QString moreLinesMessage;
    QString lineCutMessage;
    QString unreadableMessage;
    QString editorFailedMessage;
    QString folderWord; ///< said after the name of a folder in the file dialog
    QString sampleFolder; ///< the folder of the texts that come with the program
    TypingHints hints;

    const QString &captionFor(TimeLimitChoice choice) const;
    /// What to tell the user after a load: why it failed, or what was cut.
    QStringList loadMessages(const PracticeFileContent &content) const;
    /// What is said when the file dialog's focus moves to an entry.
    QString entryAnnouncement(const QString &name, bool isFolder) const;

    static const TypingProfile &of(TypingLanguage language);
    static const TypingProfile &japanese();
    static const TypingProfile &english();
};

} // namespace hoshi
