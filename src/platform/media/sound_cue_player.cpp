// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/media/sound_cue_player.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

#include <utility>

namespace hoshi {

namespace {
constexpr std::array AllCues{Cue::Ding, Cue::Zannen, Cue::Boo};

std::size_t indexOf(Cue cue)
{
    return static_cast<std::size_t>(cue);
}

class EffectSound final : public CueSound {
public:
    explicit EffectSound(const QString &path) { m_effect.setSource(QUrl::fromLocalFile(path)); }
    bool isPlaying() const override { return m_effect.isPlaying(); }
    bool failed() const override { return m_effect.status() == QSoundEffect::Error; }
    void play() override { m_effect.play(); }
    void stop() override { m_effect.stop(); }

private:
    QSoundEffect m_effect;
};
} // namespace

SoundCuePlayer::SoundCuePlayer(QObject *parent)
    : SoundCuePlayer(defaultSearchFolders(), parent)
{
}

SoundCuePlayer::SoundCuePlayer(QStringList searchFolders, QObject *parent)
    : SoundCuePlayer(std::move(searchFolders),
                     [](const QString &path) { return std::make_unique<EffectSound>(path); }, parent)
{
}

SoundCuePlayer::SoundCuePlayer(QStringList searchFolders, CueSoundFactory makeSound, QObject *parent)
    : QObject(parent)
    , m_searchFolders(std::move(searchFolders))
    , m_makeSound(std::move(makeSound))
{
}

SoundCuePlayer::~SoundCuePlayer() = default;

QStringList SoundCuePlayer::defaultSearchFolders()
{
    const QDir executableDir(QCoreApplication::applicationDirPath());
    return {executableDir.path(),
            QDir::cleanPath(executableDir.filePath(QStringLiteral("../") + QStringLiteral(HOSHI_DATA_SUBDIR)))};
}

QString SoundCuePlayer::locateCueFile(Cue cue, const QStringList &folders)
{
    for (const QString &folder : folders) {
        const QString path = QDir(folder).filePath(cueFileName(cue));
        if (QFileInfo(path).isFile())
            return QDir::cleanPath(path);
    }
    return {};
}

void SoundCuePlayer::preload()
{
    for (Cue cue : AllCues)
        effectFor(cue);
}

CueSound *SoundCuePlayer::effectFor(Cue cue)
{
    std::unique_ptr<CueSound> &effect = m_effects[indexOf(cue)];
    if (!effect) {
        const QString path = locateCueFile(cue, m_searchFolders);
        if (path.isEmpty())
            return nullptr;
        effect = m_makeSound(path);
    }
    return effect.get();
}

void SoundCuePlayer::playCue(Cue cue)
{
    for (const std::unique_ptr<CueSound> &other : m_effects) {
        if (other && other->isPlaying())
            other->stop();
    }
    CueSound *effect = effectFor(cue);
    if (!effect) {
        beepInstead(cue, "missing");
        return;
    }
    if (effect->failed()) {
        beepInstead(cue, "cannot be played");
        return;
    }
    effect->play();
}

void SoundCuePlayer::beepInstead(Cue cue, const char *why)
{
    // Once per cue: enough to find out why a run only beeped.
    bool &reported = m_beepReported[indexOf(cue)];
    if (!reported) {
        qWarning("hoshinotamago: cue %s %s, beeping", qPrintable(cueFileName(cue)), why);
        reported = true;
    }
    QApplication::beep();
}

} // namespace hoshi
