// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fingers/drill_tables.h"
#include "platform/api/run_records.h"

#include <QString>

namespace hoshi {

class Announcer;
class CuePlayer;
class RandomSource;
class RunRecorder;

enum class DrillPhase { Ready, Running, TimeUp };

/// What a drill window draws (the bar is drawn from barWidth on every tick).
struct DrillView {
    QString fingerText;   ///< lblYubi: finger label, or the prompt after time-up
    QString keyText;      ///< lblKey: the target, empty after time-up
    QString echoText;     ///< Label1: the last judged character
    int jikan = 0;        ///< seconds left
    int maru = 0;         ///< hits
    int batsu = 0;        ///< misses
    bool fingerVisible = false;
    bool keyVisible = false;
    bool tokutenVisible = false;
    bool startEnabled = true;
    QString startCaption; ///< cmdStart: START or RETRY

    QString timeText() const;    ///< lblTime: "TIME 12"
    QString maruText() const;    ///< lblMaru: "○ 3"
    QString batsuText() const;   ///< lblBatsu: "× 1"
    QString tokutenText() const; ///< lblTokuten: the score, hits minus misses
};

/// The timed drill (frmYubiren2, frmYubiren3): a run of TimeLimit one-second
/// ticks in which every hit draws a new random target and every miss is
/// counted with the wrong-key cue; at time-up the score (hits minus misses)
/// is shown and announced, the run is handed to the recorder (if any) and the
/// voice says how it stands. The two drills differ only by their profile.
class DrillEngine {
public:
    enum class KeyResult { None, Close, Started };

    DrillEngine(DrillProfile profile, Announcer &announcer, CuePlayer &cues, RandomSource &random,
                RunRecorder *recorder = nullptr);

    /// Ready state: counts 0, full time, a first target drawn but hidden;
    /// the voice says to press Space.
    void load();
    /// What the voice says when a run can be started.
    static QString startHint();
    /// The ready state, then show and announce the first target; the timer runs.
    void start();
    /// Counts a hit, draws the next target and shows it; announces nothing.
    void CurrentStatus();
    /// Escape asks to close; Space outside a run starts one.
    KeyResult keyDown(int keyCode, int modifiers);
    /// Judges a typed character during a run; outside a run it changes nothing.
    void keyPress(int charCode);
    /// One second of the run; the tick that reaches 0 ends it.
    void tick();
    /// The window closes: a run still going is kept as cut short.
    void close();
    void hideFingerNames();
    void showFingerNames();

    const DrillProfile &profile() const { return m_profile; }
    const DrillView &view() const { return m_view; }
    DrillPhase phase() const { return m_phase; }
    bool timerOn() const { return m_phase == DrillPhase::Running; }
    int maru() const { return m_view.maru; }
    int batsu() const { return m_view.batsu; }
    int jikan() const { return m_view.jikan; }
    int keyNo() const { return m_keyNo; }
    /// The time bar's width for a box of the given width: the share of time left.
    float barWidth(float boxWidth) const;

private:
    void resetRun();
    void judgeHit();
    void judgeMiss();
    void endRun();
    RunRecord runRecord() const;

    DrillProfile m_profile;
    Announcer &m_announcer;
    CuePlayer &m_cues;
    RandomSource &m_random;
    RunRecorder *m_recorder;
    QDateTime m_started;
    std::map<QString, int> m_missedKeys;
    DrillView m_view;
    DrillPhase m_phase = DrillPhase::Ready;
    bool m_fingerNamesWanted = true; ///< a start shows the finger names unless they were hidden
    int m_keyNo = 0;
    bool m_startSpacePending = false;
};

} // namespace hoshi
