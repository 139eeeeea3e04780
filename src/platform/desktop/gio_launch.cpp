// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/gio_launch.h"

#include <QLibrary>

namespace hoshi {

namespace {

// The few GIO calls used, as plain C functions: no GLib headers needed.
using GetDefaultForType = void *(*)(const char *contentType, int mustSupportUris);
using Launch = int (*)(void *appInfo, void *files, void *context, void **error);
using GetBoolean = int (*)(void *desktopAppInfo, const char *key);
using Unref = void (*)(void *object);
using FreeError = void (*)(void *error);

struct Gio {
    GetDefaultForType getDefaultForType = nullptr;
    Launch launch = nullptr;
    GetBoolean getBoolean = nullptr; // optional: older GIO lacks it
    Unref unref = nullptr;
    FreeError freeError = nullptr;

    bool usable() const { return getDefaultForType && launch && unref && freeError; }
};

template <typename Function>
Function resolve(QLibrary &library, const char *name)
{
    return reinterpret_cast<Function>(library.resolve(name));
}

// Loaded once and kept: GIO cannot be unloaded safely.
const Gio &gio()
{
    static const Gio loaded = [] {
        Gio functions;
        QLibrary library(QStringLiteral("gio-2.0"), 0);
        if (!library.load())
            return functions;
        // GObject's and GLib's calls come with GIO.
        functions.getDefaultForType = resolve<GetDefaultForType>(library, "g_app_info_get_default_for_type");
        functions.launch = resolve<Launch>(library, "g_app_info_launch");
        functions.getBoolean = resolve<GetBoolean>(library, "g_desktop_app_info_get_boolean");
        functions.unref = resolve<Unref>(library, "g_object_unref");
        functions.freeError = resolve<FreeError>(library, "g_error_free");
        return functions;
    }();
    return loaded;
}

} // namespace

GioLaunch launchGioDefault(const QString &contentType)
{
    const Gio &functions = gio();
    if (!functions.usable())
        return GioLaunch::NoGio;
    void *app = functions.getDefaultForType(contentType.toUtf8().constData(), 0);
    if (!app)
        return GioLaunch::NoDefault;
    if (functions.getBoolean && functions.getBoolean(app, "Terminal")) {
        functions.unref(app);
        return GioLaunch::NoDefault;
    }
    void *error = nullptr;
    const bool started = functions.launch(app, nullptr, nullptr, &error);
    if (error)
        functions.freeError(error);
    functions.unref(app);
    return started ? GioLaunch::Started : GioLaunch::Failed;
}

} // namespace hoshi
