// SPDX-License-Identifier: GPL-3.0-or-later
// The cues: one sounds at a time; a missing one, or one that cannot be played, beeps and says so once.
#include "platform/media/sound_cue_player.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <map>

using hoshi::Cue;
using hoshi::SoundCuePlayer;

namespace {

// Sounds that play until stopped, logging "play ding.wav", "stop ding.wav"; a file named in `broken` fails.
struct FakeSounds {
    struct Sound final : hoshi::CueSound {
        Sound(FakeSounds &sounds, QString fileName) : owner(sounds), name(std::move(fileName)) {}
        bool isPlaying() const override { return playing; }
        bool failed() const override { return owner.broken.contains(name); }
        void play() override { owner.log << QStringLiteral("play ") + name, playing = true; }
        void stop() override { owner.log << QStringLiteral("stop ") + name, playing = false; }
        FakeSounds &owner;
        QString name;
        bool playing = false;
    };

    hoshi::CueSoundFactory factory()
    {
        return [this](const QString &path) {
            auto sound = std::make_unique<Sound>(*this, QFileInfo(path).fileName());
            made << sound.get();
            return sound;
        };
    }
    QStringList log, broken;
    QList<Sound *> made; ///< owned by the player
};

} // namespace

class TestSoundCuePlayer : public QObject {
    Q_OBJECT
private slots:
    void one_cue_sounds_at_a_time_data()
    {
        // Keys pressed quickly: each cue while the one before may still play; "ends": the
        // one playing ends by itself; a file named broken cannot be played.
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("broken");
        QTest::addColumn<QStringList>("log");
        QTest::newRow("each cue stops the one still playing") << "ding zannen boo ding" << ""
            << QStringList{"play ding.wav", "stop ding.wav", "play zannen.wav", "stop zannen.wav", "play boo.wav", "stop boo.wav", "play ding.wav"};
        QTest::newRow("the same cue again starts over") << "ding ding" << "" << QStringList{"play ding.wav", "stop ding.wav", "play ding.wav"};
        QTest::newRow("a cue that has ended is left alone") << "ding ends boo" << "" << QStringList{"play ding.wav", "play boo.wav"};
        QTest::newRow("a cue that cannot play still stops the one playing, and beeps")
            << "ding boo" << "boo.wav" << QStringList{"play ding.wav", "stop ding.wav"};
    }

    void one_cue_sounds_at_a_time()
    {
        QFETCH(QString, steps);
        QFETCH(QString, broken);
        FakeSounds sounds;
        sounds.broken << broken;
        SoundCuePlayer player(SoundCuePlayer::defaultSearchFolders(), sounds.factory());
        if (!broken.isEmpty())
            QTest::ignoreMessage(QtWarningMsg, qPrintable("hoshinotamago: cue " + broken + " cannot be played, beeping"));
        const std::map<QString, Cue> cues{{"ding", Cue::Ding}, {"zannen", Cue::Zannen}, {"boo", Cue::Boo}};
        for (const QString &step : steps.split(u' ')) {
            if (step == QLatin1String("ends"))
                sounds.made.last()->playing = false;
            else
                player.playCue(cues.at(step));
        }
        QTEST(sounds.log, "log");
        // Each cue's file is opened once, however often it sounds.
        QSet<QString> names;
        for (const FakeSounds::Sound *sound : sounds.made)
            names << sound->name;
        QCOMPARE(names.size(), sounds.made.size());
    }

    void a_missing_cue_beeps_and_says_so_once_for_each_cue()
    {
        // Key after key with two cues missing: one line on standard error for each (a second fails the test).
        QTemporaryDir empty;
        SoundCuePlayer player({empty.path()});
        QTest::ignoreMessage(QtWarningMsg, "hoshinotamago: cue zannen.wav missing, beeping");
        QTest::ignoreMessage(QtWarningMsg, "hoshinotamago: cue boo.wav missing, beeping");
        player.playCue(Cue::Zannen);
        player.playCue(Cue::Boo);
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
        player.playCue(Cue::Zannen);
        player.playCue(Cue::Boo);
    }
};

QTEST_MAIN(TestSoundCuePlayer)
#include "test_sound_cue_player.moc"
