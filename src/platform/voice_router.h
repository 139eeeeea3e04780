#pragma once

#include "platform/voice_output.h"

namespace hoshi {

/// What the command line chose for the built-in voice.
enum class VoiceChoice {
    Auto,   ///< speaks unless a screen reader runs; then the screen reader says it
    Always, ///< --voice: speaks even when a screen reader runs
    Never   ///< --no-voice: a clipboard reader of the user's own does the reading
};

/// Sends each text to the built-in voice or to the running screen reader,
/// never to both, so two voices never talk over each other.
class VoiceRouter final : public VoiceOutput {
public:
    VoiceRouter(VoiceChoice choice, VoiceOutput &builtIn, VoiceOutput &screenReader);

    void setScreenReaderRunning(bool running) { m_screenReader = running; }
    void say(const QString &text, Turn turn) override;

private:
    VoiceChoice m_choice;
    VoiceOutput &m_builtIn;
    VoiceOutput &m_notifier;
    bool m_screenReader = false;
};

} // namespace hoshi
