// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/api/run_records.h"

#include <QString>

namespace hoshi {

class Announcer;
class CuePlayer;

/// What the finger guide window draws.
struct FingerGuideView {
    QString keyText;            ///< lblKey: the key to type
    QString fingerLabel;        ///< lblYubiHyoji: hand and finger
    QString reading;            ///< lblYubi: the reading, as announced
    QString typedText;          ///< Label1: the last typed character, folded
    bool fingerLabelVisible = true;
};

/// The finger guide (frmYubiren): walks the 43 fixed steps, one per right
/// key, announcing each step's reading; a wrong character announces the key
/// again and plays the wrong-key cue. The walk wraps after the ":" step; a
/// completed walk is handed to the recorder, if any, as a run.
class FingerGuide {
public:
    enum class Request { None, Close };

    FingerGuide(Announcer &announcer, CuePlayer &cues, RunRecorder *recorder = nullptr);

    /// Fresh state at step 1; the first reading is announced twice.
    void load();
    /// Moves to the next step (wrapping after ":") and announces its reading.
    void CurrentStatus();
    /// Escape asks for the window to close; every other key-down is ignored.
    Request keyDown(int keyCode, int modifiers);
    /// Judges a typed character against the shown key, after folding it to upper case.
    void keyPress(int charCode);
    /// Hide or show the finger label; steps and announcements stay as they are.
    void hideFingerNames();
    void showFingerNames();
    /// The window closes: a walk begun and not completed is kept as cut short.
    void close();

    const FingerGuideView &view() const { return m_view; }
    int currentStep() const { return m_currentStep; }

private:
    void finishWalk(bool cutShort);

    Announcer &m_announcer;
    CuePlayer &m_cues;
    RunRecorder *m_recorder;
    RunRecord m_walk; ///< the walk under way; empty `started` before its first key
    FingerGuideView m_view;
    int m_currentStep = 0;
};

} // namespace hoshi
