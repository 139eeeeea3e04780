#pragma once

#include "platform/media_module.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <future>
#include <mutex>
#include <thread>

namespace hoshi {

/// Loads the sound and speech module on a thread of its own, once. Whoever
/// needs it first waits for it; a module that is missing or unusable is said
/// once on standard error and then answered as nullptr.
class MediaLoader {
public:
    /// What a load gives: the module, or nullptr and why not.
    using Load = std::function<const MediaModule *(QString &whyNot)>;
    using Report = std::function<void(const QString &message)>;

    /// Loads the first of moduleFiles() that exists.
    MediaLoader();
    /// Loads through `load`, reports a failure through `report`.
    explicit MediaLoader(Load load, Report report = reportOnStandardError);
    ~MediaLoader();
    MediaLoader(const MediaLoader &) = delete;
    MediaLoader &operator=(const MediaLoader &) = delete;

    /// Runs on the loading thread once the module is there or known to be
    /// missing; set it before the load starts.
    void setWhenLoaded(std::function<void()> loaded) { m_loaded = std::move(loaded); }
    /// Starts the load unless it has started.
    void startLoading();
    /// Waits for a load that has started to end; from then on no load
    /// starts and module() answers at once.
    void waitForLoad();
    /// Waits for the load (starting it when needed); nullptr when unusable.
    const MediaModule *module();

    /// Next to the executable (the build tree), then the installed folder.
    static QStringList moduleFiles();
    /// Loads one module file and checks that it was built with this program.
    static const MediaModule *loadFile(const QString &path, QString &whyNot);
    static void reportOnStandardError(const QString &message);

private:
    void run();

    Load m_load;
    Report m_report;
    std::function<void()> m_loaded;
    std::mutex m_mutex; // guards the two below
    bool m_started = false;
    std::promise<const MediaModule *> m_promise;
    std::shared_future<const MediaModule *> m_result;
    std::thread m_thread;
};

} // namespace hoshi
