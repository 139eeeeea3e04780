#pragma once
// What the sound and speech module, loaded at run time, gives the program.
// Its libraries (Qt Multimedia, Qt TextToSpeech, libspeechd, MeCab) are slow
// to load, so the launcher is painted and announced before they are.

#include "platform/services.h"
#include "platform/speech_service.h"

#include <QString>

#include <memory>

class QTextStream;

namespace hoshi {

/// Raised whenever MediaModule changes; a module built against another
/// number is not used.
inline constexpr int MediaModuleAbi = 1;

/// The module's file name without folder, and its two entry points:
/// `int hoshi_media_abi()` and `const hoshi::MediaModule *hoshi_media_module(const char *version)`,
/// which answers nullptr unless version is the one the module was built as.
inline constexpr const char *MediaAbiSymbol = "hoshi_media_abi";
inline constexpr const char *MediaModuleSymbol = "hoshi_media_module";

class MediaModule {
public:
    virtual ~MediaModule() = default;

    /// Called on the user-interface thread, which then owns the result.
    virtual std::unique_ptr<CuePlayer> createCuePlayer() const = 0;
    virtual std::unique_ptr<VoiceFactory> createVoiceFactory() const = 0;
    /// Used from one thread only, the one that calls this.
    virtual std::unique_ptr<SpeechService> createSpeechService() const = 0;
    /// The kana reading the Japanese voice says right; safe from any thread.
    virtual QString reading(const QString &text) const = 0;
    /// Loads the reading dictionary now; safe from any thread.
    virtual void warmUpReading() const = 0;
    /// Answers --check-sounds for the installed cues; true when every cue would play.
    virtual bool checkCueFiles(QTextStream &out) const = 0;
};

} // namespace hoshi
