#include "platform/sound_cue_player.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

namespace hoshi {

namespace {
constexpr std::array AllCues{Cue::Ding, Cue::Zannen, Cue::Boo};

std::size_t indexOf(Cue cue)
{
    return static_cast<std::size_t>(cue);
}
} // namespace

SoundCuePlayer::SoundCuePlayer(QObject *parent)
    : QObject(parent)
{
}

SoundCuePlayer::~SoundCuePlayer() = default;

QString SoundCuePlayer::locateCueFile(Cue cue)
{
    const QDir executableDir(QCoreApplication::applicationDirPath());
    const QStringList candidates{
        executableDir.filePath(cueFileName(cue)),
        executableDir.filePath(QStringLiteral("../") + QStringLiteral(HOSHI_DATA_SUBDIR) + QLatin1Char('/')
                               + cueFileName(cue)),
    };
    for (const QString &path : candidates) {
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

QSoundEffect *SoundCuePlayer::effectFor(Cue cue)
{
    QSoundEffect *&effect = m_effects[indexOf(cue)];
    if (!effect) {
        const QString path = locateCueFile(cue);
        if (path.isEmpty())
            return nullptr;
        effect = new QSoundEffect(this);
        effect->setSource(QUrl::fromLocalFile(path));
    }
    return effect;
}

void SoundCuePlayer::playCue(Cue cue)
{
    for (QSoundEffect *other : m_effects) {
        if (other && other->isPlaying())
            other->stop();
    }
    QSoundEffect *effect = effectFor(cue);
    if (!effect || effect->status() == QSoundEffect::Error) {
        QApplication::beep();
        return;
    }
    effect->play();
}

} // namespace hoshi
