// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/modules/module_loader.h"

#include "platform/modules/module_file_check.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#include <cstdio>
#include <utility>

namespace hoshi {

namespace {

ModuleLoader::Load firstFound(const QString &fileName, const QByteArray &interface)
{
    return [fileName, interface](QString &whyNot) -> const void * {
        const QStringList files = ModuleLoader::moduleFiles(fileName);
        for (const QString &file : files) {
            // A link to nothing or a loop of links is there, only broken: say so.
            const QFileInfo info(file);
            if (info.exists() || info.isSymLink())
                return ModuleLoader::loadFile(file, interface, whyNot);
        }
        whyNot = QStringLiteral("not found: %1").arg(files.join(QStringLiteral(", ")));
        return nullptr;
    };
}

} // namespace

ModuleLoader::ModuleLoader(const QString &fileName, const QByteArray &interface, const QString &whatIsLost)
    : ModuleLoader(firstFound(fileName, interface), whatIsLost)
{
}

ModuleLoader::ModuleLoader(Load load, const QString &whatIsLost, Report report)
    : m_load(std::move(load))
    , m_whatIsLost(whatIsLost)
    , m_report(std::move(report))
    , m_result(m_promise.get_future().share())
{
}

ModuleLoader::~ModuleLoader()
{
    waitForLoad();
}

void ModuleLoader::startLoading()
{
    std::lock_guard lock(m_mutex);
    if (m_started)
        return;
    m_started = true;
    m_thread = std::thread([this] { run(); });
}

void ModuleLoader::waitForLoad()
{
    std::thread loading;
    {
        std::lock_guard lock(m_mutex);
        if (!m_started) {
            m_started = true;
            m_promise.set_value(nullptr);
        }
        loading = std::move(m_thread);
    }
    if (loading.joinable())
        loading.join();
}

const void *ModuleLoader::loaded()
{
    startLoading();
    return m_result.get();
}

void ModuleLoader::run()
{
    QString whyNot;
    const void *module = m_load(whyNot);
    if (!module)
        m_report(QStringLiteral("hoshinotamago: a module cannot be used (%1); %2").arg(whyNot, m_whatIsLost));
    m_promise.set_value(module);
    if (m_loaded)
        m_loaded();
}

QStringList ModuleLoader::moduleFiles(const QString &fileName)
{
    const QDir executableDir(QCoreApplication::applicationDirPath());
    return {executableDir.filePath(fileName),
            QDir::cleanPath(executableDir.filePath(QStringLiteral(HOSHI_MODULE_DIR "/") + fileName))};
}

const void *ModuleLoader::loadFile(const QString &path, const QByteArray &interface, QString &whyNot)
{
    // A bare name is the dynamic loader's to search for; a file is checked
    // first, as one cut short or a FIFO would crash or hang the loader.
    if (path.contains(QLatin1Char('/'))) {
        whyNot = moduleFileProblem(path);
        if (!whyNot.isEmpty())
            return nullptr;
    }
    // Never unloaded: what it made lives until the program ends.
    QLibrary library(path);
    if (!library.load()) {
        whyNot = library.errorString();
        return nullptr;
    }
    const auto builtFor = reinterpret_cast<const char *(*)()>(library.resolve("hoshi_module_interface"));
    const auto entry = reinterpret_cast<const void *(*)(const char *)>(library.resolve("hoshi_module"));
    if (!builtFor || !entry) {
        whyNot = QStringLiteral("%1 is not this program's module").arg(path);
        return nullptr;
    }
    if (interface != builtFor()) {
        whyNot = QStringLiteral("%1 is built as \"%2\", this program needs \"%3\"")
                     .arg(path, QString::fromUtf8(builtFor()), QString::fromUtf8(interface));
        return nullptr;
    }
    const void *module = entry(HOSHI_VERSION);
    if (!module)
        whyNot = QStringLiteral("%1 is from another version than %2").arg(path, QStringLiteral(HOSHI_VERSION));
    return module;
}

void ModuleLoader::reportOnStandardError(const QString &message)
{
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

} // namespace hoshi
