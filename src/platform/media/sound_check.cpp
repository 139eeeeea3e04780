// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/media/sound_check.h"

#include "platform/media/sound_cue_player.h"

#include <QEventLoop>
#include <QSoundEffect>
#include <QTextStream>
#include <QTimer>
#include <QUrl>

namespace hoshi {

namespace {

// Loads the file as the player would and waits until it is ready or failed.
bool loads(const QString &path)
{
    QSoundEffect effect;
    QEventLoop loop;
    QObject::connect(&effect, &QSoundEffect::statusChanged, &loop, [&effect, &loop] {
        if (effect.status() == QSoundEffect::Ready || effect.status() == QSoundEffect::Error)
            loop.quit();
    });
    // A guard against a backend that never answers; loading takes milliseconds.
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    effect.setSource(QUrl::fromLocalFile(path));
    if (effect.status() == QSoundEffect::Loading)
        loop.exec();
    return effect.status() == QSoundEffect::Ready;
}

} // namespace

bool checkCueFiles(QTextStream &out, const QStringList &folders)
{
    bool allPlay = true;
    for (Cue cue : {Cue::Ding, Cue::Zannen, Cue::Boo}) {
        const QString path = SoundCuePlayer::locateCueFile(cue, folders);
        out << cueFileName(cue) << ": ";
        if (path.isEmpty()) {
            out << "missing, would beep\n";
            allPlay = false;
        } else if (!loads(path)) {
            out << path << " cannot be played, would beep\n";
            allPlay = false;
        } else {
            out << path << '\n';
        }
    }
    out.flush();
    return allPlay;
}

} // namespace hoshi
