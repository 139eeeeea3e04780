// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A finished run as the modes hand it over, and the small interface they hand
// it to. The program's records store implements it (src/records); with
// --no-records nothing does, and the modes keep nothing.

#include <QDateTime>
#include <QString>

#include <map>

namespace hoshi {

/// The language a run's standing is said in: the English window's own.
enum class RunLanguage { Japanese, English };

/// One run of a mode, finished by time-up or a completed walk, or cut short
/// by closing its window.
struct RunRecord {
    QString mode; ///< a stable name: "fingerGuide", "alphabetDrill", ...
    QDateTime started;
    int seconds = 0; ///< the run's length
    int hits = 0;
    int misses = 0;
    int score = 0;
    bool cutShort = false;
    std::map<QString, int> missedKeys; ///< key shown -> times missed
    int characters = 0;     ///< typing: characters of the lines typed right
    int linesRight = 0;
    int linesWrong = 0;
    double charsPerMinute = 0;
    double accuracy = 0;    ///< typing: share of lines right, 0 to 1
    QString practiceFile;   ///< typing: the file's name
    RunLanguage language = RunLanguage::Japanese;
};

/// Keeps finished runs. runFinished() only hands the run over (the write
/// happens elsewhere, never on the caller's thread) and answers at once with
/// what the voice may say of how this run stands ("さいこう きろく！"), or an
/// empty text when there is nothing to say (a run cut short).
class RunRecorder {
public:
    virtual ~RunRecorder() = default;
    virtual QString runFinished(const RunRecord &run) = 0;
};

/// A mode's own recorder, or none: modes call through this, nullptr-safe.
inline QString keepRun(RunRecorder *recorder, const RunRecord &run)
{
    return recorder ? recorder->runFinished(run) : QString();
}

} // namespace hoshi
