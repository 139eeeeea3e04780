// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/speech/voice_output.h"

#include <vector>

namespace hoshi {

/// What the command line chose for the built-in voice.
enum class VoiceChoice {
    Auto,   ///< speaks unless a screen reader runs; then the screen reader says it
    Always, ///< --voice: speaks even when a screen reader runs
    Never   ///< --no-voice: a clipboard reader of the user's own does the reading
};

/// Sends each text to the built-in voice or to the running screen reader,
/// never to both, so two voices never talk over each other. Until it is
/// known whether a screen reader runs, the texts of the latest event wait.
class VoiceRouter final : public VoiceOutput {
public:
    VoiceRouter(VoiceChoice choice, VoiceOutput &builtIn, VoiceOutput &screenReader);

    /// The answer, or a change of it; the first one lets waiting texts go.
    void setScreenReaderRunning(bool running);
    bool knowsScreenReader() const { return m_known; }
    /// The voice chosen again from the menus, for the texts from now on.
    void setChoice(VoiceChoice choice);
    void say(const QString &text, Turn turn) override;
    void sayUnlessScreenReader(const QString &text, Turn turn) override;

private:
    struct Held {
        QString text;
        Turn turn;
        bool toScreenReader = true;
    };
    void hold(const Held &text);
    void route(const Held &text);

    VoiceChoice m_choice;
    VoiceOutput &m_builtIn;
    VoiceOutput &m_notifier;
    bool m_screenReader = false;
    bool m_known;
    std::vector<Held> m_held;
};

} // namespace hoshi
