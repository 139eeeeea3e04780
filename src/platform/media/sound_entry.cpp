// SPDX-License-Identifier: GPL-3.0-or-later
// The sound module's entry points: the only symbols it exports.
#include "platform/modules/runtime_modules.h"

#include "platform/media/module_version.h"
#include "platform/media/sound_check.h"
#include "platform/media/sound_cue_player.h"

#include <QtGlobal>

namespace hoshi {
namespace {

/// This module's SoundModule, the one object hoshi_module() hands out.
class SoundModuleEntry final : public SoundModule {
public:
    std::unique_ptr<CuePlayer> createCuePlayer() const override
    {
        auto player = std::make_unique<SoundCuePlayer>();
        player->preload();
        return player;
    }

    bool checkCueFiles(QTextStream &out) const override
    {
        return hoshi::checkCueFiles(out, SoundCuePlayer::defaultSearchFolders());
    }
};

} // namespace
} // namespace hoshi

extern "C" Q_DECL_EXPORT const char *hoshi_module_interface()
{
    return hoshi::SoundModule::Interface;
}

extern "C" Q_DECL_EXPORT const void *hoshi_module(const char *version)
{
    if (!hoshi::builtAsVersion(version))
        return nullptr;
    static const hoshi::SoundModuleEntry entry;
    return static_cast<const hoshi::SoundModule *>(&entry);
}
