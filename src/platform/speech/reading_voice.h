// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/speech/voice_output.h"
#include "platform/speech/voice_worker.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace hoshi {

/// The built-in reading voice: say() only queues the text; a thread of its
/// own makes the reading and talks to the speech service, so the user
/// interface never waits for either. A new event drops the texts of earlier
/// events that are still waiting. A service that keeps the thread waiting
/// past a deadline counts as absent: said once through `report`, and the
/// texts wait for it, the newest event's only.
class ReadingVoice final : public VoiceOutput {
public:
    using Report = std::function<void(const QString &message)>;
    explicit ReadingVoice(std::unique_ptr<VoiceWorker> worker,
                          std::chrono::milliseconds answerDeadline = std::chrono::seconds(2),
                          Report report = reportOnStandardError);
    ~ReadingVoice() override;
    ReadingVoice(const ReadingVoice &) = delete;
    ReadingVoice &operator=(const ReadingVoice &) = delete;

    void say(const QString &text, Turn turn) override;
    /// Runs `prepare` on the voice's thread (loading the dictionary), then
    /// connects to the speech service, ahead of the first text.
    void warmUp(std::function<void()> prepare);
    /// The rate of every text said after this call (see VoiceWorker::setRate).
    void setRate(std::optional<int> rate);

    static void reportOnStandardError(const QString &message);

private:
    struct Shared;
    std::shared_ptr<Shared> m_shared;
    std::chrono::milliseconds m_answerDeadline;
    Report m_report;
};

} // namespace hoshi
