// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/api/run_records.h"
#include "typing/practice_text.h"
#include "typing/typing_profile.h"

#include <QString>

#include <optional>

namespace hoshi {

class Announcer;
class CuePlayer;
class RandomSource;
class RunRecorder;
class Speaker;

/// What a typing window draws.
struct TypingState {
    QString caption;
    QString display;          ///< txtHyoji: the line to type
    QString input;            ///< txtNyuryoku: what the user typed
    bool inputLocked = false; ///< after time-up the input keeps its text but cannot be edited
    int jikan = 0;            ///< seconds left
    int maru = 0;             ///< lines typed right, and the press that started the run
    int batsu = 0;            ///< lines typed wrong
    QString scoreLabel;       ///< the score of the run that ended
    bool scoreVisible = false;
    QString keyGuide;
    Rgb barColour;
    double barShare = 1.0; ///< shpScale's width as a share of shpBox's
    bool timerOn = false;  ///< the one-second countdown runs

    QString timeLabel() const;  ///< "TIME 180"
    QString maruLabel() const;  ///< "○ 2": the starting press is not shown
    QString batsuLabel() const; ///< "× 1"
};

/// The timed typing exercise of both typing windows, without widgets. The
/// user loads a practice text; the first Enter starts the countdown and draws
/// a random line, which is said (announced, or spoken in the English window);
/// each Enter then compares the input with the line: a match counts ○ and
/// draws the next line, anything else counts × and plays the wrong cue. Ctrl
/// says the line again, Esc resets the run, and at time-up the input locks and
/// the end text and the score are said, in that order. Enter before any text
/// is loaded hints how to open one. A run that ends (or is closed while it
/// runs) goes to the recorder, if any, and the voice says how it stands.
class TypingExercise {
public:
    TypingExercise(const TypingProfile &profile, Announcer &announcer, CuePlayer &cues,
                   RandomSource &random, RunRecorder *recorder = nullptr);

    /// The voice of a speaking profile; nullptr (no voice) skips speech.
    void setSpeaker(Speaker *speaker) { m_speaker = speaker; }

    /// The window opens: a fresh run; the practice text stays. The voice
    /// says what to press first.
    void open();
    /// The window closes: the countdown ends with it.
    void close();

    /// Enter checks, Ctrl says the line again, Esc resets; false for any other key.
    bool keyDown(int keyCode, int modifiers);
    void inputChanged(const QString &text);
    /// One second of the countdown.
    void tick();
    void chooseTimeLimit(TimeLimitChoice choice);

    /// Loads what the file dialog answered. Cancelled (empty) reads the
    /// earlier file again; with none, nothing happens and nullopt is returned.
    std::optional<PracticeFileContent> loadChosenFile(const QString &dialogAnswer);

    /// Says a text the way this window does: announced, or spoken in English.
    void say(const QString &text);
    /// A Japanese text in any window (the version box): announced, or in the
    /// English window said by the Japanese voice and kept off the clipboard.
    void sayJapanese(const QString &text);
    /// What the menus do: the menu voice, or spoken in English.
    void sayMenuHint(const QString &text);
    /// Heard only, never on the clipboard: what to press next, or where the keyboard is.
    void sayHint(const QString &text);
    /// The voice says how to choose a file in the dialog that opens now.
    void fileDialogOpens() { sayHint(m_profile.hints.chooseFile); }
    /// The dialog's folder holds files it cannot list: the voice says so.
    void dialogHidesNames() { sayHint(m_profile.hints.unlistedNames); }

    const TypingState &state() const { return m_state; }
    const PracticeText &text() const { return m_text; }
    const TypingProfile &profile() const { return m_profile; }
    int jikan() const { return m_state.jikan; }
    int timeLimit() const { return m_timeLimit; }
    int maru() const { return m_state.maru; }
    int batsu() const { return m_state.batsu; }

private:
    void pressEnter();
    void checkInput();
    void repeatLine();
    void reset();
    void drawLine();
    void endRun();
    void resetWindow();
    RunRecord runRecord() const;

    const TypingProfile &m_profile;
    Announcer &m_announcer;
    CuePlayer &m_cues;
    RandomSource &m_random;
    Speaker *m_speaker = nullptr;
    RunRecorder *m_recorder;
    QDateTime m_started;
    int m_charactersRight = 0;
    PracticeText m_text;
    TypingState m_state;
    int m_timeLimit = 0;
};

} // namespace hoshi
