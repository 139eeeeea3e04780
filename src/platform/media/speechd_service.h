// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/speech/speech_service.h"

#include <QByteArray>

namespace hoshi {

/// speech-dispatcher through libspeechd, in one language (Japanese for the
/// reading voice, English for the English window), each language a client of
/// its own: the service a screen reader speaks through, so the user's own
/// voice and rate apply, and cancelling one never cuts another. The address
/// is the desktop's default (SPEECHD_ADDRESS when set); a service that is not
/// running is started the way every speech-dispatcher client starts it.
class SpeechdService final : public SpeechService {
public:
    explicit SpeechdService(QByteArray language = "ja");
    ~SpeechdService() override;
    SpeechdService(const SpeechdService &) = delete;
    SpeechdService &operator=(const SpeechdService &) = delete;

    bool open() override;
    void close() override;
    bool say(const QString &text) override;
    bool cancel() override;
    bool setRate(int rate) override;

private:
    QByteArray m_language;
    void *m_connection = nullptr; // libspeechd's connection, an unnamed struct
};

} // namespace hoshi
