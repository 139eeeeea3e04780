// A module built against another interface number than the program's.
#include "platform/media_module.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT int hoshi_media_abi()
{
    return hoshi::MediaModuleAbi + 1;
}

extern "C" Q_DECL_EXPORT const hoshi::MediaModule *hoshi_media_module(const char *)
{
    return nullptr;
}
