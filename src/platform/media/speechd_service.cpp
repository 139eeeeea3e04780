// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/media/speechd_service.h"

#include <libspeechd.h>

#include <csignal>
#include <cstdlib>
#include <utility>

namespace hoshi {

namespace {

SPDConnection *connectionOf(void *handle)
{
    return static_cast<SPDConnection *>(handle);
}

// Writing to a service that died raises SIGPIPE, which would end the program.
void ignoreBrokenPipes()
{
#if defined(SIGPIPE)
    static const bool ignored = [] {
        std::signal(SIGPIPE, SIG_IGN);
        return true;
    }();
    (void)ignored;
#endif
}

} // namespace

SpeechdService::SpeechdService(QByteArray language)
    : m_language(std::move(language))
{
}

SpeechdService::~SpeechdService()
{
    close();
}

bool SpeechdService::open()
{
    close();
    ignoreBrokenPipes();
    char *error = nullptr;
    // Japanese is the program's own reading voice; any other language is a
    // client of its own, so the speech service tells them apart.
    const QByteArray client = m_language == "ja" ? QByteArray("hoshinotamago") : "hoshinotamago-" + m_language;
    m_connection = spd_open2(client.constData(), "reading", nullptr, SPD_MODE_SINGLE, nullptr, 1, &error);
    std::free(error);
    if (!m_connection)
        return false;
    spd_set_data_mode(connectionOf(m_connection), SPD_DATA_TEXT);
    if (spd_set_language(connectionOf(m_connection), m_language.constData()) != 0) {
        close();
        return false;
    }
    return true;
}

void SpeechdService::close()
{
    if (m_connection)
        spd_close(connectionOf(m_connection));
    m_connection = nullptr;
}

bool SpeechdService::say(const QString &text)
{
    return m_connection && spd_say(connectionOf(m_connection), SPD_MESSAGE, text.toUtf8().constData()) >= 0;
}

bool SpeechdService::cancel()
{
    return m_connection && spd_cancel(connectionOf(m_connection)) == 0;
}

bool SpeechdService::setRate(int rate)
{
    return m_connection && spd_set_voice_rate(connectionOf(m_connection), rate) == 0;
}

} // namespace hoshi
