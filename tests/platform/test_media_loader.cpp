// The sound and speech module: the real one loads; a missing, broken or
// foreign one is refused with a reason, said once; until it is there the
// program's stand-ins wait for it, and without it they beep and stay silent.
#include "platform/deferred_media.h"
#include "platform/media_loader.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

using hoshi::Cue;
using hoshi::MediaLoader;
using hoshi::MediaModule;

namespace {

class RecordingCuePlayer final : public hoshi::CuePlayer {
public:
    explicit RecordingCuePlayer(std::vector<Cue> &played) : m_played(played) {}
    void playCue(Cue cue) override { m_played.push_back(cue); }

private:
    std::vector<Cue> &m_played;
};

class RecordingSpeech final : public hoshi::SpeechService {
public:
    explicit RecordingSpeech(QStringList &said) : m_said(said) {}
    bool open() override { return true; }
    void close() override {}
    bool say(const QString &text) override { m_said << text; return true; }
    bool cancel() override { return true; }

private:
    QStringList &m_said;
};

// A module whose cues and speech are recorded, not played.
class FakeModule final : public MediaModule {
public:
    std::unique_ptr<hoshi::CuePlayer> createCuePlayer() const override
    {
        ++cuePlayersMade;
        return std::make_unique<RecordingCuePlayer>(played);
    }
    std::unique_ptr<hoshi::VoiceFactory> createVoiceFactory() const override { return nullptr; }
    std::unique_ptr<hoshi::SpeechService> createSpeechService() const override
    {
        return std::make_unique<RecordingSpeech>(said);
    }
    QString reading(const QString &text) const override { return QStringLiteral("よみ:") + text; }
    void warmUpReading() const override {}
    bool checkCueFiles(QTextStream &) const override { return true; }

    mutable std::vector<Cue> played;
    mutable QStringList said;
    mutable int cuePlayersMade = 0;
};

MediaLoader::Load failing(const QString &why)
{
    return [why](QString &whyNot) -> const MediaModule * {
        whyNot = why;
        return nullptr;
    };
}

} // namespace

class TestMediaLoader : public QObject {
    Q_OBJECT
private slots:
    void the_built_module_loads_and_reads()
    {
        QString whyNot;
        const MediaModule *module = MediaLoader::loadFile(QStringLiteral(HOSHI_TEST_REAL_MODULE), whyNot);
        QVERIFY2(module, qPrintable(whyNot));
        QCOMPARE(module->reading(QStringLiteral("ひだり小ゆびＡ")), QStringLiteral("ひだりこゆびえー"));
        QVERIFY(module->createSpeechService());
        // Loading it again gives the same module.
        QCOMPARE(MediaLoader::loadFile(QStringLiteral(HOSHI_TEST_REAL_MODULE), whyNot), module);
    }

    void unusable_modules_are_refused_with_the_reason_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("reasonHas");
        QTest::newRow("missing") << QStringLiteral("/nonexistent/libhoshinotamago-media.so")
                                 << QStringLiteral("/nonexistent/libhoshinotamago-media.so");
        QTest::newRow("another interface") << QStringLiteral(HOSHI_TEST_WRONG_INTERFACE_MODULE)
                                           << QStringLiteral("has interface 2, this program needs 1");
        QTest::newRow("another version") << QStringLiteral(HOSHI_TEST_OTHER_VERSION_MODULE)
                                         << QStringLiteral("is from another version than " HOSHI_VERSION);
        QTest::newRow("a library, not ours") << QStringLiteral("libz.so.1") << QStringLiteral("is not this program's module");
    }

    void unusable_modules_are_refused_with_the_reason()
    {
        QFETCH(QString, path);
        QFETCH(QString, reasonHas);
        QString whyNot;
        QCOMPARE(MediaLoader::loadFile(path, whyNot), nullptr);
        QVERIFY2(whyNot.contains(reasonHas), qPrintable(whyNot));
    }

    void a_broken_file_is_refused()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("libhoshinotamago-media.so"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\x7f" "ELF but cut short");
        file.close();
        QString whyNot;
        QCOMPARE(MediaLoader::loadFile(path, whyNot), nullptr);
        QVERIFY(!whyNot.isEmpty());
    }

    void a_failure_is_said_once_however_often_asked()
    {
        QStringList reports;
        MediaLoader loader(failing(QStringLiteral("gone")), [&reports](const QString &m) { reports << m; });
        std::thread other([&loader] { QCOMPARE(loader.module(), nullptr); });
        QCOMPARE(loader.module(), nullptr);
        other.join();
        QCOMPARE(loader.module(), nullptr);
        QCOMPARE(reports.size(), 1);
        QVERIFY(reports.first().contains(QStringLiteral("(gone)")));
        QVERIFY(reports.first().contains(QStringLiteral("cues beep and nothing is spoken")));
    }

    void loads_once_and_tells_when_done()
    {
        FakeModule fake;
        std::atomic<int> loads = 0;
        std::atomic<int> told = 0;
        MediaLoader loader([&](QString &) -> const MediaModule * { ++loads; return &fake; });
        loader.setWhenLoaded([&told] { ++told; });
        loader.startLoading();
        loader.startLoading();
        QCOMPARE(loader.module(), &fake);
        loader.waitForLoad();
        QCOMPARE(loads.load(), 1);
        QCOMPARE(told.load(), 1);
    }

    void ending_before_the_load_loads_nothing()
    {
        std::atomic<int> loads = 0;
        QStringList reports;
        MediaLoader loader([&loads](QString &) -> const MediaModule * { ++loads; return nullptr; },
                           [&reports](const QString &m) { reports << m; });
        loader.waitForLoad();
        QCOMPARE(loader.module(), nullptr);
        QCOMPARE(loads.load(), 0);
        QVERIFY(reports.isEmpty());
    }

    void the_first_cue_waits_for_a_slow_module_and_is_the_real_sound()
    {
        FakeModule fake;
        MediaLoader loader([&fake](QString &) -> const MediaModule * {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            return &fake;
        });
        int beeps = 0;
        hoshi::DeferredCuePlayer player(loader, [&beeps] { ++beeps; });
        loader.startLoading();
        player.playCue(Cue::Boo);
        player.playCue(Cue::Ding);
        QCOMPARE(fake.played, (std::vector<Cue>{Cue::Boo, Cue::Ding}));
        QCOMPARE(beeps, 0);
        player.prepare();
        QCOMPARE(fake.cuePlayersMade, 1);
    }

    void speech_and_readings_go_through_the_module()
    {
        FakeModule fake;
        MediaLoader loader([&fake](QString &) -> const MediaModule * { return &fake; });
        hoshi::DeferredSpeechService speech(loader);
        QVERIFY(!speech.say(QStringLiteral("まだ"))); // not opened yet
        QVERIFY(speech.open());
        QVERIFY(speech.say(QStringLiteral("ねこ")));
        QCOMPARE(fake.said, QStringList{QStringLiteral("ねこ")});
        QCOMPARE(hoshi::readingThrough(loader, QStringLiteral("犬")), QStringLiteral("よみ:犬"));
    }

    void without_the_module_cues_beep_and_nothing_speaks()
    {
        MediaLoader loader(failing(QStringLiteral("missing")), [](const QString &) {});
        int beeps = 0;
        hoshi::DeferredCuePlayer player(loader, [&beeps] { ++beeps; });
        player.playCue(Cue::Ding);
        player.playCue(Cue::Zannen);
        QCOMPARE(beeps, 2);
        hoshi::DeferredVoiceFactory voices(loader);
        QCOMPARE(voices.createVoice(), nullptr);
        hoshi::DeferredSpeechService speech(loader);
        QVERIFY(!speech.open());
        QVERIFY(!speech.say(QStringLiteral("ねこ")));
        QVERIFY(!speech.cancel());
        speech.close();
        QCOMPARE(hoshi::readingThrough(loader, QStringLiteral("犬")), QStringLiteral("犬"));
    }
};

QTEST_GUILESS_MAIN(TestMediaLoader)
#include "test_media_loader.moc"
