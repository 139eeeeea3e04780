#include "platform/media_loader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#include <cstdio>
#include <utility>

namespace hoshi {

namespace {

const MediaModule *loadFirstFound(QString &whyNot)
{
    const QStringList files = MediaLoader::moduleFiles();
    for (const QString &file : files) {
        if (QFileInfo::exists(file))
            return MediaLoader::loadFile(file, whyNot);
    }
    whyNot = QStringLiteral("not found: %1").arg(files.join(QStringLiteral(", ")));
    return nullptr;
}

} // namespace

MediaLoader::MediaLoader()
    : MediaLoader(loadFirstFound)
{
}

MediaLoader::MediaLoader(Load load, Report report)
    : m_load(std::move(load))
    , m_report(std::move(report))
    , m_result(m_promise.get_future().share())
{
}

MediaLoader::~MediaLoader()
{
    waitForLoad();
}

void MediaLoader::waitForLoad()
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

void MediaLoader::startLoading()
{
    std::lock_guard lock(m_mutex);
    if (m_started)
        return;
    m_started = true;
    m_thread = std::thread([this] { run(); });
}

const MediaModule *MediaLoader::module()
{
    startLoading();
    return m_result.get();
}

void MediaLoader::run()
{
    QString whyNot;
    const MediaModule *module = m_load(whyNot);
    if (!module) {
        m_report(QStringLiteral("hoshinotamago: the sound and speech module cannot be used (%1); "
                                "cues beep and nothing is spoken")
                     .arg(whyNot));
    }
    m_promise.set_value(module);
    if (m_loaded)
        m_loaded();
}

QStringList MediaLoader::moduleFiles()
{
    const QDir executableDir(QCoreApplication::applicationDirPath());
    const QString file = QStringLiteral(HOSHI_MEDIA_MODULE_FILE);
    return {executableDir.filePath(file),
            QDir::cleanPath(executableDir.filePath(QStringLiteral(HOSHI_MEDIA_MODULE_DIR "/") + file))};
}

const MediaModule *MediaLoader::loadFile(const QString &path, QString &whyNot)
{
    // Never unloaded: what it made lives until the program ends.
    QLibrary library(path);
    if (!library.load()) {
        whyNot = library.errorString();
        return nullptr;
    }
    const auto abi = reinterpret_cast<int (*)()>(library.resolve(MediaAbiSymbol));
    const auto entry = reinterpret_cast<const MediaModule *(*)(const char *)>(library.resolve(MediaModuleSymbol));
    if (!abi || !entry) {
        whyNot = QStringLiteral("%1 is not this program's module").arg(path);
        return nullptr;
    }
    if (abi() != MediaModuleAbi) {
        whyNot = QStringLiteral("%1 has interface %2, this program needs %3").arg(path).arg(abi()).arg(MediaModuleAbi);
        return nullptr;
    }
    const MediaModule *module = entry(HOSHI_VERSION);
    if (!module)
        whyNot = QStringLiteral("%1 is from another version than %2").arg(path, QStringLiteral(HOSHI_VERSION));
    return module;
}

void MediaLoader::reportOnStandardError(const QString &message)
{
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

} // namespace hoshi
