// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/api/interfaces.h"

#include <QStringList>

#include <optional>

namespace hoshi {

/// Makes speech voices on Qt TextToSpeech: the first engine of the list
/// that is installed and starts without an error, at full volume. No such
/// engine gives no voice.
class TtsVoiceFactory final : public VoiceFactory {
public:
    /// speech-dispatcher first (the desktop's own voice), then flite, then
    /// whatever else the platform offers.
    TtsVoiceFactory() = default;
    /// Tries exactly these engines, in this order.
    explicit TtsVoiceFactory(QStringList engineNames);

    std::unique_ptr<Speaker> createVoice() override;

private:
    std::optional<QStringList> m_engineNames;
};

} // namespace hoshi
