// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/modules/runtime_modules.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <future>
#include <mutex>
#include <thread>

namespace hoshi {

/// Loads one module on a thread of its own, once. Whoever needs it first
/// waits for it; a module that is missing or unusable is said once on
/// standard error and then answered as nullptr.
class ModuleLoader {
public:
    /// What a load gives: the module, or nullptr and why not.
    using Load = std::function<const void *(QString &whyNot)>;
    using Report = std::function<void(const QString &message)>;

    /// Loads the first of moduleFiles(fileName) that exists, built for that interface.
    ModuleLoader(const QString &fileName, const QByteArray &interface, const QString &whatIsLost);
    /// Loads through `load`, reports a failure through `report`.
    ModuleLoader(Load load, const QString &whatIsLost, Report report = reportOnStandardError);
    ~ModuleLoader();
    ModuleLoader(const ModuleLoader &) = delete;
    ModuleLoader &operator=(const ModuleLoader &) = delete;

    /// Runs on the loading thread once the module is there or known to be
    /// missing; set it before the load starts.
    void setWhenLoaded(std::function<void()> loaded) { m_loaded = std::move(loaded); }
    /// Starts the load unless it has started.
    void startLoading();
    /// Waits for a load that has started to end; from then on no load
    /// starts and the module is answered as nullptr at once.
    void waitForLoad();
    /// Waits for the load (starting it when needed); nullptr when unusable.
    const void *loaded();

    /// Next to the executable (the build tree), then the installed folder.
    static QStringList moduleFiles(const QString &fileName);
    /// Loads one module file and checks that it was built for this
    /// interface and this version of the program. A path (not a bare name)
    /// is first checked by moduleFileProblem(), so that a file the dynamic
    /// loader would crash or hang on is refused instead.
    static const void *loadFile(const QString &path, const QByteArray &interface, QString &whyNot);
    static void reportOnStandardError(const QString &message);

private:
    void run();

    Load m_load;
    QString m_whatIsLost;
    Report m_report;
    std::function<void()> m_loaded;
    std::mutex m_mutex; // guards the two below
    bool m_started = false;
    std::thread m_thread;
    std::promise<const void *> m_promise;
    std::shared_future<const void *> m_result;
};

/// A module of one interface: SpeechModule or SoundModule.
template <class Interface>
class RuntimeModule final : public ModuleLoader {
public:
    using ModuleLoader::ModuleLoader;
    const Interface *get() { return static_cast<const Interface *>(loaded()); }
};

using SpeechModuleLoader = RuntimeModule<SpeechModule>;
using SoundModuleLoader = RuntimeModule<SoundModule>;

} // namespace hoshi
