// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the two modules loaded at run time give the program. Their libraries
// are slow to load, so the launcher is painted and announced before them:
// the speech module (libspeechd, MeCab) right after the first paint, the
// sound module (Qt Multimedia) when a window that plays cues is made.
//
// Each module exports `const char *hoshi_module_interface()`, naming the
// interface below it was built for, and `const void *hoshi_module(const char
// *version)`, which answers nullptr unless version is the program version
// it was built as.

#include "platform/api/interfaces.h"
#include "platform/speech/speech_service.h"

#include <QString>

#include <memory>

class QTextStream;

namespace hoshi {

class SpeechModule {
public:
    /// Changed whenever this interface changes.
    static constexpr const char *Interface = "hoshinotamago speech 3";

    virtual ~SpeechModule() = default;
    /// A connection of its own that speaks this language ("ja", "en"); used
    /// from one thread only, the one that calls this.
    virtual std::unique_ptr<SpeechService> createSpeechService(const QByteArray &language) const = 0;
    /// The kana reading the Japanese voice says right; safe from any thread.
    virtual QString reading(const QString &text) const = 0;
    /// Loads the reading dictionary now; safe from any thread.
    virtual void warmUpReading() const = 0;
};

class SoundModule {
public:
    static constexpr const char *Interface = "hoshinotamago sound 2";

    virtual ~SoundModule() = default;
    /// Called on the thread that plays the cues, which then owns the result:
    /// opening the sound output may wait on the sound server.
    virtual std::unique_ptr<CuePlayer> createCuePlayer() const = 0;
    /// Answers --check-sounds for the installed cues; true when every cue would play.
    virtual bool checkCueFiles(QTextStream &out) const = 0;
};

} // namespace hoshi
