// SPDX-License-Identifier: GPL-3.0-or-later
// The speech module's entry points: the only symbols it exports.
#include "platform/modules/runtime_modules.h"

#include "platform/media/kana_reading.h"
#include "platform/media/module_version.h"
#include "platform/media/speechd_service.h"

#include <QtGlobal>

namespace hoshi {
namespace {

/// This module's SpeechModule, the one object hoshi_module() hands out.
class SpeechModuleEntry final : public SpeechModule {
public:
    std::unique_ptr<SpeechService> createSpeechService(const QByteArray &language) const override
    {
        return std::make_unique<SpeechdService>(language);
    }
    QString reading(const QString &text) const override { return m_reader.reading(text); }
    void warmUpReading() const override { m_reader.warmUp(); }

private:
    KanaReader m_reader;
};

} // namespace
} // namespace hoshi

extern "C" Q_DECL_EXPORT const char *hoshi_module_interface()
{
    return hoshi::SpeechModule::Interface;
}

extern "C" Q_DECL_EXPORT const void *hoshi_module(const char *version)
{
    if (!hoshi::builtAsVersion(version))
        return nullptr;
    static const hoshi::SpeechModuleEntry entry;
    return static_cast<const hoshi::SpeechModule *>(&entry);
}
