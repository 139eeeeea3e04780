// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The small interfaces through which behaviour classes and windows reach the
// platform. Their real implementations live elsewhere in src/platform: the
// announcers in speech/, the cue player and the voices in media/ (reached
// through the stand-ins of modules/), key injection in keys/, the file dialog
// in files/, the editor in desktop/. Tests pass recording fakes.

#include "platform/api/key_codes.h"

#include <QString>

#include <functional>
#include <memory>

class QWidget;

namespace hoshi {

/// The three short sound cues shipped with the program.
enum class Cue { Ding, Zannen, Boo };

inline QString cueFileName(Cue cue)
{
    switch (cue) {
    case Cue::Ding: return QStringLiteral("ding.wav");
    case Cue::Zannen: return QStringLiteral("zannen.wav");
    case Cue::Boo: return QStringLiteral("boo.wav");
    }
    return {};
}

/// Hands texts to the reading tools: announce() replaces the system
/// clipboard's content with exactly that text, and the reading voice says it;
/// hint() is for the voice only (what to press next), never on the clipboard.
/// The texts of one event are said in order; a later event cuts them short.
class Announcer {
public:
    virtual ~Announcer() = default;
    virtual void announce(const QString &text) = 0;
    virtual void hint(const QString &text) { (void)text; }
    /// On the clipboard exactly as announce(), but not heard: a text the
    /// voice would read as a name the rest of the event contradicts.
    virtual void announceUnheard(const QString &text) { announce(text); }
    /// What the menus do, for the built-in voice only and only while no
    /// screen reader runs: a screen reader reads menus itself.
    virtual void menuHint(const QString &text) { (void)text; }
};

/// Plays a sound cue without waiting; a new cue stops the one still playing.
/// A cue that cannot be played gives the system's default beep.
class CuePlayer {
public:
    virtual ~CuePlayer() = default;
    virtual void playCue(Cue cue) = 0;
};

/// A speech voice: the texts of one event are spoken in turn; the first text
/// of a later event cuts short what an earlier one still says.
class Speaker {
public:
    virtual ~Speaker() = default;
    virtual void speak(const QString &text) = 0;
};

/// Creates a speech voice; returns nullptr when the system has none.
class VoiceFactory {
public:
    virtual ~VoiceFactory() = default;
    virtual std::unique_ptr<Speaker> createVoice() = 0;
};

/// Feeds synthetic key events into this program's own input stream; they are
/// handled after the event that is being handled now.
class KeyInjector {
public:
    virtual ~KeyInjector() = default;
    /// keyCode is a Windows virtual-key code, modifiers the 1/2/4 mask.
    virtual void inject(int keyCode, int modifiers, KeyDirection direction) = 0;
};

/// Where the practice-file dialog opens, and who hears what it shows.
struct TextFileRequest {
    QString startFolder; ///< the home folder when this one is missing
    /// Each entry the focus moves to: its name, and whether it is a folder.
    std::function<void(const QString &name, bool isFolder)> entryFocused;
    /// A message box the dialog opens on its own (a name that is not there): its text.
    std::function<void(const QString &text)> boxShown;
    /// The folder shown holds entries the dialog cannot list, as their names
    /// are not UTF-8: the folder's path.
    std::function<void(const QString &folder)> unlistedNames;
};

/// The open-file dialog for practice texts.
class FilePicker {
public:
    virtual ~FilePicker() = default;
    /// Returns the chosen path, or an empty string when the user cancelled.
    virtual QString chooseTextFile(QWidget *parent, const TextFileRequest &request) = 0;
};

/// Starts the system's text editor, detached, without a shell.
class EditorLauncher {
public:
    virtual ~EditorLauncher() = default;
    /// Returns false when no editor could be started.
    virtual bool startEditor() = 0;
};

} // namespace hoshi
