// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/desktop_contrast.h"

#include <QLibrary>
#include <QThread>

#include <thread>
#include <utility>

namespace hoshi {

namespace {

const char *const Schema = "org.gnome.desktop.a11y.interface";
const char *const Key = "high-contrast";

// The GSettings calls used, as plain C functions: no GLib headers needed.
using DefaultSource = void *(*)();
using Lookup = void *(*)(void *source, const char *schemaId, int recursive);
using HasKey = int (*)(void *schema, const char *name);
using SchemaUnref = void (*)(void *schema);
using NewSettings = void *(*)(const char *schemaId);
using GetBoolean = int (*)(void *settings, const char *key);
using Unref = void (*)(void *object);

template <typename Function>
Function resolve(QLibrary &library, const char *name)
{
    return reinterpret_cast<Function>(library.resolve(name));
}

} // namespace

std::optional<bool> desktopHighContrast()
{
    // Kept loaded: GIO cannot be unloaded safely.
    QLibrary library(QStringLiteral("gio-2.0"), 0);
    if (!library.load())
        return std::nullopt;
    const auto defaultSource = resolve<DefaultSource>(library, "g_settings_schema_source_get_default");
    const auto lookup = resolve<Lookup>(library, "g_settings_schema_source_lookup");
    const auto hasKey = resolve<HasKey>(library, "g_settings_schema_has_key");
    const auto schemaUnref = resolve<SchemaUnref>(library, "g_settings_schema_unref");
    const auto newSettings = resolve<NewSettings>(library, "g_settings_new");
    const auto getBoolean = resolve<GetBoolean>(library, "g_settings_get_boolean");
    const auto unref = resolve<Unref>(library, "g_object_unref");
    if (!defaultSource || !lookup || !hasKey || !schemaUnref || !newSettings || !getBoolean || !unref)
        return std::nullopt;
    // g_settings_new() aborts the program on a schema that is not installed: look first.
    void *source = defaultSource();
    void *schema = source ? lookup(source, Schema, 1) : nullptr;
    if (!schema)
        return std::nullopt;
    const bool known = hasKey(schema, Key);
    schemaUnref(schema);
    if (!known)
        return std::nullopt;
    void *settings = newSettings(Schema);
    if (!settings)
        return std::nullopt;
    const bool on = getBoolean(settings, Key);
    unref(settings);
    return on;
}

DesktopContrastQuery::DesktopContrastQuery(std::function<std::optional<bool>()> ask)
{
    std::packaged_task<std::optional<bool>()> task(std::move(ask));
    m_answer = task.get_future().share();
    // Qt takes the first thread that uses it for its main thread: make sure
    // that is this one, not the asking thread with its QLibrary.
    QThread::currentThread();
    // Detached: a thread stuck in the settings service must not hold up the end.
    std::thread(std::move(task)).detach();
}

std::optional<bool> DesktopContrastQuery::answer(std::chrono::milliseconds most) const
{
    if (m_answer.wait_for(most) != std::future_status::ready)
        return std::nullopt;
    return m_answer.get();
}

} // namespace hoshi
