// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/api/interfaces.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>

namespace hoshi {

/// One cue's sound as the player drives it: a QSoundEffect, or a test's fake.
class CueSound {
public:
    virtual ~CueSound() = default;
    virtual bool isPlaying() const = 0;
    virtual bool failed() const = 0; ///< the file cannot be played
    virtual void play() = 0;
    virtual void stop() = 0;
};

/// Makes the sound of the cue file at this path.
using CueSoundFactory = std::function<std::unique_ptr<CueSound>(const QString &path)>;

/// Plays the program's three cues with one effect each; playing one stops the
/// others, so the program has one sound at a time. A cue that is missing or
/// cannot play gives the default beep, and says so once on standard error.
class SoundCuePlayer final : public QObject, public CuePlayer {
    Q_OBJECT
public:
    /// Looks in defaultSearchFolders().
    explicit SoundCuePlayer(QObject *parent = nullptr);
    /// Looks in these folders, in order.
    explicit SoundCuePlayer(QStringList searchFolders, QObject *parent = nullptr);
    /// ...and plays through the sounds the factory makes.
    SoundCuePlayer(QStringList searchFolders, CueSoundFactory makeSound, QObject *parent = nullptr);
    ~SoundCuePlayer() override;

    /// Loads the three files; call once the first window is painted, since
    /// Qt Multimedia is slow to start. playCue loads on demand otherwise.
    void preload();
    void playCue(Cue cue) override;

    /// Next to the executable (the build tree), then the installed data
    /// folder beside it.
    static QStringList defaultSearchFolders();
    /// Where a cue's file is: the first of the folders that has it. Empty
    /// when none has it.
    static QString locateCueFile(Cue cue, const QStringList &folders = defaultSearchFolders());

private:
    CueSound *effectFor(Cue cue);
    void beepInstead(Cue cue, const char *why);

    QStringList m_searchFolders;
    CueSoundFactory m_makeSound;
    std::array<std::unique_ptr<CueSound>, 3> m_effects;
    std::array<bool, 3> m_beepReported{};
};

} // namespace hoshi
