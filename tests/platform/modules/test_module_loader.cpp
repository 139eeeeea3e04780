// SPDX-License-Identifier: GPL-3.0-or-later
// The speech and sound modules: the real ones load; a missing, broken or foreign one is refused with a reason,
// said once, before the dynamic loader could crash or hang on it; the stand-ins wait for a module, or beep.
// The sound module's cues: one sounds at a time; a missing one, or one that cannot be played, beeps and says so once.
#include "platform/media/sound_cue_player.h"
#include "platform/modules/deferred_media.h"
#include "platform/modules/module_loader.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <atomic>
#include <cstring>
#include <map>
#include <thread>

#include <dlfcn.h>
#include <elf.h>
#include <link.h>
#include <sys/stat.h>

using namespace hoshi;

namespace {

// Modules whose cues and speech are recorded, not played.
struct FakeSound final : SoundModule {
    struct Player final : CuePlayer {
        explicit Player(std::vector<Cue> &into) : played(into) {}
        void playCue(Cue cue) override { played.push_back(cue); }
        std::vector<Cue> &played;
    };
    std::unique_ptr<CuePlayer> createCuePlayer() const override { return ++playersMade, std::make_unique<Player>(played); }
    bool checkCueFiles(QTextStream &) const override { return true; }
    mutable std::vector<Cue> played;
    mutable int playersMade = 0;
};

struct FakeSpeech final : SpeechModule {
    struct Service final : SpeechService {
        explicit Service(QStringList &into) : said(into) {}
        bool open() override { return true; }
        void close() override {}
        bool say(const QString &text) override { return said << text, true; }
        bool cancel() override { return true; }
        bool setRate(int) override { return true; }
        QStringList &said;
    };
    std::unique_ptr<SpeechService> createSpeechService(const QByteArray &language) const override
    {
        return languages << language, std::make_unique<Service>(said);
    }
    QString reading(const QString &text) const override { return QStringLiteral("よみ:") + text; }
    void warmUpReading() const override {}
    mutable QStringList said;
    mutable QByteArrayList languages;
};

ModuleLoader::Load giving(const SpeechModule *module) { return [module](QString &) { return module; }; }
const ModuleLoader::Load failing = [](QString &whyNot) -> const void * { return whyNot = "missing", nullptr; };

const QString Lost = QStringLiteral("nothing is spoken");

// Sounds that play until stopped, logging "play ding.wav", "stop ding.wav"; a file named in `broken` fails.
struct FakeSounds {
    struct Sound final : CueSound {
        Sound(FakeSounds &sounds, QString fileName) : owner(sounds), name(std::move(fileName)) {}
        bool isPlaying() const override { return playing; }
        bool failed() const override { return owner.broken.contains(name); }
        void play() override { owner.log << QStringLiteral("play ") + name, playing = true; }
        void stop() override { owner.log << QStringLiteral("stop ") + name, playing = false; }
        FakeSounds &owner;
        QString name;
        bool playing = false;
    };
    CueSoundFactory factory()
    {
        return [this](const QString &path) {
            made << new Sound(*this, QFileInfo(path).fileName());
            return std::unique_ptr<Sound>(made.last());
        };
    }
    QStringList log, broken;
    QList<Sound *> made; ///< owned by the player
};

// A module on a network mount: while set, every other read is interrupted by a signal before it reads.
std::atomic<bool> interruptReads = false;

} // namespace

extern "C" ssize_t pread(int fd, void *into, size_t size, off_t offset)
{
    using Read = ssize_t (*)(int, void *, size_t, off_t);
    static const auto real = reinterpret_cast<Read>(dlsym(RTLD_NEXT, "pread"));
    static std::atomic<int> calls = 0;
    if (interruptReads && calls++ % 2 == 0)
        return errno = EINTR, -1;
    return real(fd, into, size, offset);
}

namespace {

// Files the loader must refuse before the dynamic loader sees them.
enum class BadFile { None, CutTo4KiB, Fifo, Folder, OtherClass, Empty, HostileSegment };

// Makes `kind` at `path`, from the real speech module where it needs one.
bool makeBadFile(BadFile kind, const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    if (kind == BadFile::Fifo || kind == BadFile::Folder)
        return (kind == BadFile::Fifo ? ::mkfifo(name.constData(), 0600) : ::mkdir(name.constData(), 0700)) == 0;
    QFile real(QStringLiteral(HOSHI_TEST_SPEECH_MODULE));
    QByteArray bytes = real.open(QIODevice::ReadOnly) ? real.readAll() : QByteArray();
    if (bytes.size() <= 4096)
        return false;
    if (kind == BadFile::CutTo4KiB)
        bytes.truncate(4096);
    else if (kind == BadFile::Empty)
        bytes.clear();
    else if (kind == BadFile::OtherClass)
        bytes[EI_CLASS] = static_cast<char>(bytes[EI_CLASS] == ELFCLASS64 ? ELFCLASS32 : ELFCLASS64);
    else if (kind == BadFile::HostileSegment) {
        // A loaded segment after the first, its size such that its end wraps round to byte 0.
        ElfW(Ehdr) header;
        std::memcpy(&header, bytes.constData(), sizeof header);
        int loads = 0;
        for (int i = 0; i < header.e_phnum; ++i) {
            ElfW(Phdr) segment;
            const qsizetype at = qsizetype(header.e_phoff + i * sizeof segment);
            std::memcpy(&segment, bytes.constData() + at, sizeof segment);
            if (segment.p_type != PT_LOAD || ++loads < 2)
                continue;
            segment.p_filesz = decltype(segment.p_filesz)(0) - segment.p_offset;
            std::memcpy(bytes.data() + at, &segment, sizeof segment);
            break;
        }
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return false;
    return true;
}

} // namespace

Q_DECLARE_METATYPE(BadFile)

class TestModuleLoader : public QObject {
    Q_OBJECT
private slots:
    void the_built_modules_load()
    {
        QString whyNot;
        const auto *speech = static_cast<const SpeechModule *>(
            ModuleLoader::loadFile(QStringLiteral(HOSHI_TEST_SPEECH_MODULE), SpeechModule::Interface, whyNot));
        QVERIFY2(speech, qPrintable(whyNot));
        QCOMPARE(speech->reading(QStringLiteral("ひだり小ゆびＡ")), QStringLiteral("ひだりこゆびえー"));
        QVERIFY(speech->createSpeechService("ja"));
        // Through a symbolic link, as a packaged module may be reached.
        QTemporaryDir dir;
        const QString link = dir.filePath(QStringLiteral("libhoshinotamago-sound.so"));
        QVERIFY(QFile::link(QStringLiteral(HOSHI_TEST_SOUND_MODULE), link));
        QVERIFY2(ModuleLoader::loadFile(link, SoundModule::Interface, whyNot), qPrintable(whyNot));
        // Reads interrupted by a signal are tried again, not taken for a broken module.
        interruptReads = true;
        const void *again = ModuleLoader::loadFile(link, SoundModule::Interface, whyNot);
        interruptReads = false;
        QVERIFY2(again, qPrintable(whyNot));
    }

    void unusable_modules_are_refused_with_the_reason_said_once_data()
    {
        // A module that is missing, foreign or of another build, given by its path.
        QTest::addColumn<BadFile>("kind");
        QTest::addColumn<QString>("reasonHas");
        QTest::addColumn<QString>("path");
        const QString missing = QStringLiteral("/nonexistent/libhoshinotamago-speech.so");
        QTest::newRow("missing") << BadFile::None << missing << missing;
        QTest::newRow("the sound module where speech is wanted") << BadFile::None
            << "built as \"hoshinotamago sound 2\", this program needs \"hoshinotamago speech 3\"" << HOSHI_TEST_SOUND_MODULE;
        QTest::newRow("another version") << BadFile::None << "is from another version than " HOSHI_VERSION << HOSHI_TEST_OTHER_VERSION_MODULE;
        QTest::newRow("a library, not ours") << BadFile::None << "is not this program's module" << "libz.so.1";
        const QLatin1String bits(sizeof(void *) == 8 ? "64-bit" : "32-bit");
        const QLatin1String otherBits(sizeof(void *) == 8 ? "32-bit" : "64-bit");
        // Without the check the dynamic loader maps the missing pages and dies of SIGBUS.
        QTest::newRow("cut to 4 KiB") << BadFile::CutTo4KiB << "is cut short: a segment ends at byte" << QString();
        // Without the check open() waits for a writer, holding the dynamic loader's lock.
        QTest::newRow("FIFO") << BadFile::Fifo << QStringLiteral("is a pipe (FIFO), not a library") << QString();
        QTest::newRow("folder") << BadFile::Folder << QStringLiteral("is a folder, not a library") << QString();
        QTest::newRow("other class") << BadFile::OtherClass << QStringLiteral("is a %1 library, this program is %2").arg(otherBits, bits) << QString();
        QTest::newRow("empty") << BadFile::Empty << QStringLiteral("is empty") << QString();
        QTest::newRow("a segment past the end, by wrapping round") << BadFile::HostileSegment << "is cut short: a segment ends at byte" << QString();
    }

    void unusable_modules_are_refused_with_the_reason_said_once()
    {
        QFETCH(BadFile, kind);
        QFETCH(QString, reasonHas);
        QFETCH(QString, path);
        QTemporaryDir dir;
        if (kind != BadFile::None) {
            path = dir.filePath(QStringLiteral("libhoshinotamago-speech.so"));
            QVERIFY(makeBadFile(kind, path));
        }
        QStringList reports;
        SpeechModuleLoader loader(
            [path](QString &whyNot) { return ModuleLoader::loadFile(path, SpeechModule::Interface, whyNot); }, Lost,
            [&reports](const QString &m) { reports << m; });
        // A file the check lets through may block the load (a FIFO): the test's time-out fails it.
        QCOMPARE(loader.get(), nullptr);
        QCOMPARE(loader.get(), nullptr);
        QCOMPARE(reports.size(), 1);
        QVERIFY2(reports.first().startsWith(QStringLiteral("hoshinotamago: a module cannot be used (") + path),
                 qPrintable(reports.first()));
        QVERIFY2(reports.first().contains(reasonHas) && reports.first().endsWith(QStringLiteral("; nothing is spoken")),
                 qPrintable(reports.first()));
    }

    void cues_before_a_slow_or_hanging_module_never_hold_the_keys_and_are_the_real_sound()
    {
        // State: a sound module whose loading hangs until released.
        FakeSound fake;
        std::atomic<bool> release = false;
        std::atomic<int> loads = 0;
        const auto load = [&](QString &) -> const void * {
            for (++loads; !release;)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            return static_cast<const SoundModule *>(&fake);
        };
        SoundModuleLoader(load, Lost).waitForLoad(); // the program ends before anything asked for it
        QCOMPARE(loads.load(), 0);
        SoundModuleLoader loader(load, Lost);
        int beeps = 0, told = 0;
        loader.setWhenLoaded([&told] { ++told; });
        {
            DeferredCuePlayer player(loader, [&beeps] { ++beeps; });
            loader.startLoading();
            loader.startLoading();
            // Action: keys while it hangs. Expected: the caller never waits for it.
            QElapsedTimer clock;
            clock.start();
            player.playCue(Cue::Boo);
            player.playCue(Cue::Ding);
            player.prepare();
            QVERIFY2(clock.elapsed() < 1000, "a cue waited for the module");
            // Once it is in: the cues in order, through one player, and no beep.
            release = true;
            QTRY_COMPARE(fake.played, (std::vector<Cue>{Cue::Boo, Cue::Ding}));
            QCOMPARE(fake.playersMade, 1);
        }
        QCOMPARE(beeps, 0);
        loader.waitForLoad();
        QCOMPARE(loads.load(), 1);
        QCOMPARE(told, 1);
    }

    void speech_goes_through_the_module_and_english_on_a_connection_of_its_own()
    {
        FakeSpeech fake;
        SpeechModuleLoader loader(giving(&fake), Lost);
        DeferredSpeechService speech(loader);
        QVERIFY(!speech.say(QStringLiteral("まだ"))); // not opened yet
        QVERIFY(speech.open() && speech.say(QStringLiteral("ねこ")));
        QCOMPARE(readingThrough(loader, QStringLiteral("犬")), QStringLiteral("よみ:犬"));
        DeferredVoiceFactory voices(loader);
        const std::unique_ptr<Speaker> voice = voices.createVoice();
        // While a screen reader runs the texts are its to say, not the English voice's.
        voices.router().setScreenReaderRunning(true);
        voice->speak(QStringLiteral("Not me"));
        QTest::qWait(100);
        QCOMPARE(fake.said, QStringList{"ねこ"});
        voices.router().setScreenReaderRunning(false);
        // One event's texts in turn, without their control characters.
        voice->speak(QStringLiteral("Press\x1b[31m Enter\a"));
        voice->speak(QStringLiteral("Good\r\njob"));
        QTRY_COMPARE(fake.said, (QStringList{"ねこ", "Press[31m Enter", "Good  job"}));
        // A second window's voice shares the one connection.
        voices.createVoice()->speak(QStringLiteral("Again"));
        QTRY_COMPARE(fake.said.size(), 4);
        QCOMPARE(fake.languages, (QByteArrayList{"ja", "en"}));
    }

    void without_the_modules_cues_beep_and_nothing_speaks()
    {
        SoundModuleLoader sound(failing, Lost, [](const QString &) {});
        SpeechModuleLoader speechModule(failing, Lost, [](const QString &) {});
        // The beep is the desktop's: made on the user interface thread, not the player's.
        int beeps = 0, offThread = 0;
        QThread *const uiThread = QThread::currentThread();
        DeferredCuePlayer player(sound, [&] { ++(QThread::currentThread() == uiThread ? beeps : offThread); });
        player.playCue(Cue::Ding);
        player.playCue(Cue::Zannen);
        QTRY_COMPARE(beeps + offThread, 2);
        QCOMPARE(offThread, 0);
        DeferredVoiceFactory voices(speechModule);
        voices.router().setScreenReaderRunning(false);
        voices.createVoice()->speak(QStringLiteral("cat")); // said nowhere, and no wait
        DeferredSpeechService speech(speechModule);
        QVERIFY(!speech.open());
        QVERIFY(!speech.say(QStringLiteral("ねこ")));
        QVERIFY(!speech.cancel());
        speech.close();
        QCOMPARE(readingThrough(speechModule, QStringLiteral("犬")), QStringLiteral("犬"));
    }

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
        for (const QString &step : steps.split(u' '))
            if (step == QLatin1String("ends"))
                sounds.made.last()->playing = false;
            else
                player.playCue(cues.at(step));
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

QTEST_MAIN(TestModuleLoader)
#include "test_module_loader.moc"
