#pragma once

#include "platform/services.h"

#include <QObject>
#include <QString>

#include <array>
#include <memory>

class QSoundEffect;

namespace hoshi {

/// Plays the program's three cues with one effect each; playing one stops the
/// others, so the program has one sound at a time. A cue that is missing or
/// cannot play gives the default beep.
class SoundCuePlayer final : public QObject, public CuePlayer {
    Q_OBJECT
public:
    explicit SoundCuePlayer(QObject *parent = nullptr);
    ~SoundCuePlayer() override;

    /// Loads the three files; call once the first window is painted, since
    /// Qt Multimedia is slow to start. playCue loads on demand otherwise.
    void preload();
    void playCue(Cue cue) override;

    /// Where a cue's file is looked for: next to the executable, then in the
    /// installed data folder. Empty when neither has it.
    static QString locateCueFile(Cue cue);

private:
    QSoundEffect *effectFor(Cue cue);

    std::array<QSoundEffect *, 3> m_effects{};
};

} // namespace hoshi
