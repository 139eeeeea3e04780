// Soak of the drill engine with both drill tables: targets typed right and
// wrong, ticks, Space, START/RETRY, Escape and reopening, the finger-name
// menu, with a fair and with a careless random source; its invariants are
// checked against a small model after every event.
#include "fingers/drill_engine.h"
#include "fingers/drill_tables.h"
#include "soak/soak_random.h"
#include "soak/soak_run.h"
#include "support/fakes.h"

#include <QTest>

#include <climits>
#include <cmath>
#include <memory>

using hoshi::Cue;
using hoshi::DrillEngine;
using hoshi::DrillPhase;
using hoshi::DrillProfile;
using hoshi::RandomSource;
using hoshi::soak::CarelessRandom;
using hoshi::soak::SoakFailure;
using hoshi::soak::SoakRun;
using hoshi::testing::Effect;
using hoshi::testing::RecordingServices;

Q_DECLARE_METATYPE(const DrillProfile *)

namespace {

constexpr int Escape = 27;
constexpr int Space = 32;

/// What the engine should hold, followed event by event.
struct Model {
    DrillPhase phase = DrillPhase::Ready;
    int maru = 0;
    int batsu = 0;
    int jikan = 0;
    int ticks = 0;             ///< ticks of the current run
    bool fingerShown = false;  ///< finger label visibility
    bool spacePending = false; ///< the character of a starting Space may follow
};

struct Rig {
    Rig(const DrillProfile &profile, std::unique_ptr<RandomSource> source)
        : random(std::move(source))
        , engine(profile, services, services, *random)
    {
    }
    RecordingServices services;
    std::unique_ptr<RandomSource> random;
    DrillEngine engine;
    Model model;
};

QString count(const QString &mark, int n)
{
    return mark + QLatin1Char(' ') + QString::number(n);
}

bool isTarget(int charCode, const QString &target)
{
    if (target.size() != 1)
        return false;
    const int t = target.at(0).unicode();
    return charCode == t || (t >= 'A' && t <= 'Z' && charCode == t + ('a' - 'A'));
}

int randomCharacter(SoakRun &run)
{
    static const int odd[] = {8, 13, 9, 0, -1, 0xD800, 0x110000, INT_MIN, INT_MAX, 0xFF41};
    const int kind = run.below(100);
    if (kind < 70)
        return run.between(32, 126);
    if (kind < 90)
        return run.between(0x80, 0xFFFF);
    return run.pick(odd);
}

} // namespace

class DrillEngineSoak : public QObject {
    Q_OBJECT

private slots:
    void random_play_keeps_counts_labels_and_timer_true_data();
    void random_play_keeps_counts_labels_and_timer_true();

private:
    void runningEvent(SoakRun &run, Rig &rig, int i);
    void idleEvent(SoakRun &run, Rig &rig, int i);
    void reopen(SoakRun &run, Rig &rig);
    void start(SoakRun &run, Rig &rig, bool bySpace);
    void keyPress(SoakRun &run, Rig &rig, int charCode, bool meantRight);
    void keyDown(SoakRun &run, Rig &rig, int keyCode);
    void tick(SoakRun &run, Rig &rig);
    void checkState(SoakRun &run, Rig &rig);
    void checkBar(SoakRun &run, Rig &rig);
};

void DrillEngineSoak::random_play_keeps_counts_labels_and_timer_true_data()
{
    QTest::addColumn<const DrillProfile *>("profile");
    QTest::addColumn<bool>("careless");
    QTest::addColumn<uint>("seed");
    QTest::newRow("alphabet, fair draws") << &hoshi::alphabetDrillProfile() << false << 20240303u;
    QTest::newRow("numbers and symbols, fair draws") << &hoshi::numbersAndSymbolsDrillProfile() << false << 20240304u;
    QTest::newRow("alphabet, careless draws") << &hoshi::alphabetDrillProfile() << true << 20240305u;
    QTest::newRow("numbers and symbols, careless draws") << &hoshi::numbersAndSymbolsDrillProfile() << true << 20240306u;
}

void DrillEngineSoak::random_play_keeps_counts_labels_and_timer_true()
{
    QFETCH(const DrillProfile *, profile);
    QFETCH(bool, careless);
    QFETCH(uint, seed);
    SoakRun run(QStringLiteral("drill: %1").arg(QString::fromUtf8(QTest::currentDataTag())), seed);
    std::unique_ptr<RandomSource> source;
    if (careless)
        source = std::make_unique<CarelessRandom>(seed);
    else
        source = std::make_unique<hoshi::SeededRandom>(seed);
    Rig rig(*profile, std::move(source));
    try {
        run.begin(0, QStringLiteral("open"));
        reopen(run, rig);
        for (int i = 1; i < run.eventCount(); ++i) {
            rig.services.clear();
            if (rig.model.phase == DrillPhase::Running)
                runningEvent(run, rig, i);
            else
                idleEvent(run, rig, i);
            checkState(run, rig);
        }
    } catch (const SoakFailure &failure) {
        QFAIL(qPrintable(failure.message));
    }
    run.printTally();
    QVERIFY(run.counted("time-ups") > 0);
    QVERIFY(run.counted("hits") > 0);
    QVERIFY(run.counted("misses") > 0);
    QVERIFY(run.counted("start characters swallowed") > 0);
}

void DrillEngineSoak::runningEvent(SoakRun &run, Rig &rig, int i)
{
    // Closing is rare here, so that most runs go on to time-up.
    const int kind = run.below(1000);
    if (kind < 400) {
        const QChar target = rig.engine.view().keyText.at(0);
        const int c = run.percent(50) ? target.toLower().unicode() : target.unicode();
        run.begin(i, QStringLiteral("keyPress(%1) of the target").arg(c));
        keyPress(run, rig, c, true);
    } else if (kind < 550) {
        const int c = rig.model.spacePending && run.percent(50) ? Space : randomCharacter(run);
        run.begin(i, QStringLiteral("keyPress(%1)").arg(c));
        keyPress(run, rig, c, false);
    } else if (kind < 870) {
        run.begin(i, QStringLiteral("tick"));
        tick(run, rig);
    } else if (kind < 940) {
        int code = run.percent(30) ? Space : run.below(256);
        if (code == Escape)
            code = Space; // Escape has its own, rarer, event
        run.begin(i, QStringLiteral("keyDown(%1)").arg(code));
        keyDown(run, rig, code);
    } else if (kind < 994) {
        const bool show = run.percent(50);
        run.begin(i, show ? QStringLiteral("show finger names") : QStringLiteral("hide finger names"));
        show ? rig.engine.showFingerNames() : rig.engine.hideFingerNames();
        rig.model.fingerShown = show;
        run.require(rig.services.log.empty(), "the menu announces nothing");
    } else if (kind < 997) {
        run.begin(i, QStringLiteral("keyDown(27)"));
        keyDown(run, rig, Escape);
    } else {
        run.begin(i, QStringLiteral("close and reopen"));
        reopen(run, rig);
    }
}

void DrillEngineSoak::idleEvent(SoakRun &run, Rig &rig, int i)
{
    const int kind = run.below(100);
    if (kind < 45) {
        run.begin(i, QStringLiteral("keyDown(32)"));
        keyDown(run, rig, Space);
    } else if (kind < 60) {
        run.begin(i, QStringLiteral("START/RETRY"));
        start(run, rig, false);
    } else if (kind < 72) {
        const int c = rig.model.spacePending && run.percent(70) ? Space : randomCharacter(run);
        run.begin(i, QStringLiteral("keyPress(%1)").arg(c));
        keyPress(run, rig, c, false);
    } else if (kind < 82) {
        run.begin(i, QStringLiteral("stray tick"));
        tick(run, rig);
    } else if (kind < 90) {
        const int code = run.below(256);
        run.begin(i, QStringLiteral("keyDown(%1)").arg(code));
        keyDown(run, rig, code);
    } else if (kind < 95) {
        const bool show = run.percent(50);
        run.begin(i, show ? QStringLiteral("show finger names") : QStringLiteral("hide finger names"));
        show ? rig.engine.showFingerNames() : rig.engine.hideFingerNames();
        rig.model.fingerShown = show;
        run.require(rig.services.log.empty(), "the menu announces nothing");
    } else {
        run.begin(i, QStringLiteral("close and reopen"));
        reopen(run, rig);
    }
}

void DrillEngineSoak::reopen(SoakRun &run, Rig &rig)
{
    rig.engine.load();
    rig.model = Model{};
    rig.model.jikan = rig.engine.profile().timeLimit;
    run.require(rig.services.log.empty(), "opening announces nothing");
    run.count("reopens");
}

void DrillEngineSoak::start(SoakRun &run, Rig &rig, bool bySpace)
{
    if (!bySpace)
        rig.engine.start();
    rig.model = Model{DrillPhase::Running, 0, 0, rig.engine.profile().timeLimit, 0, true, bySpace};
    const auto &log = rig.services.log;
    run.requireEqual(static_cast<long long>(log.size()), 1, "a start has one effect");
    run.require(log.front().kind == Effect::Announce, "a start announces");
    run.requireEqual(log.front().text, rig.engine.view().keyText, "a start announces the first target");
    run.count("starts");
}

void DrillEngineSoak::keyDown(SoakRun &run, Rig &rig, int keyCode)
{
    const DrillEngine::KeyResult result = rig.engine.keyDown(keyCode, run.below(8));
    rig.model.spacePending = false;
    if (keyCode == Escape) {
        run.require(result == DrillEngine::KeyResult::Close, "Escape asks to close");
        run.require(rig.services.log.empty(), "Escape announces nothing");
        reopen(run, rig);
        return;
    }
    if (keyCode == Space && rig.model.phase != DrillPhase::Running) {
        run.require(result == DrillEngine::KeyResult::Started, "Space outside a run starts one");
        start(run, rig, true);
        return;
    }
    run.require(result == DrillEngine::KeyResult::None, "other key-downs do nothing");
    run.require(rig.services.log.empty(), "other key-downs announce nothing");
}

void DrillEngineSoak::keyPress(SoakRun &run, Rig &rig, int charCode, bool meantRight)
{
    const QString targetBefore = rig.engine.view().keyText;
    const QString echoBefore = rig.engine.view().echoText;
    const bool swallowed = rig.model.spacePending && charCode == Space;
    rig.model.spacePending = false;
    rig.engine.keyPress(charCode);
    const auto &log = rig.services.log;
    if (swallowed || rig.model.phase != DrillPhase::Running) {
        run.require(log.empty(), "an unjudged character announces nothing");
        run.requireEqual(rig.engine.view().echoText, echoBefore, "an unjudged character is not echoed");
        run.count(swallowed ? "start characters swallowed" : "characters outside a run");
        return;
    }
    if (charCode >= 32 && charCode < 127) {
        const int shown = charCode >= 'a' && charCode <= 'z' ? charCode - ('a' - 'A') : charCode;
        run.requireEqual(rig.engine.view().echoText, QString(QChar(shown)), "echo of the typed character");
    }
    if (isTarget(charCode, targetBefore)) {
        ++rig.model.maru;
        run.requireEqual(static_cast<long long>(log.size()), 1, "a hit has one effect");
        run.require(log.front().kind == Effect::Announce, "a hit announces");
        run.requireEqual(log.front().text, rig.engine.view().keyText, "a hit announces the new target");
        run.count("hits");
        return;
    }
    run.require(!meantRight, "the target, typed, is a hit");
    ++rig.model.batsu;
    run.requireEqual(static_cast<long long>(log.size()), 2, "a miss: announcement and cue");
    run.require(log[0].kind == Effect::Announce, "a miss announces first");
    run.requireEqual(log[0].text, targetBefore, "a miss announces the same target");
    run.require(log[1].kind == Effect::Cue && log[1].cue == Cue::Ding, "then the wrong-key cue");
    run.requireEqual(rig.engine.view().keyText, targetBefore, "a miss keeps the target");
    run.count("misses");
}

void DrillEngineSoak::tick(SoakRun &run, Rig &rig)
{
    rig.engine.tick();
    Model &model = rig.model;
    if (model.phase != DrillPhase::Running) {
        run.require(rig.services.log.empty(), "a tick outside a run announces nothing");
        return;
    }
    --model.jikan;
    ++model.ticks;
    if (model.jikan > 0) {
        run.require(rig.services.log.empty(), "a tick during a run announces nothing");
        return;
    }
    model.phase = DrillPhase::TimeUp;
    run.requireEqual(model.ticks, rig.engine.profile().timeLimit, "a run lasts exactly its ticks");
    const auto &log = rig.services.log;
    run.requireEqual(static_cast<long long>(log.size()), 1, "time-up has one effect");
    run.require(log.back().kind == Effect::Announce, "time-up announces");
    run.requireEqual(log.back().text, QStringLiteral("得点 ") + QString::number(model.maru - model.batsu),
                     "time-up announces the score last");
    run.count("time-ups");
}

// The engine against the model, and its labels against its own counts.
void DrillEngineSoak::checkState(SoakRun &run, Rig &rig)
{
    const DrillEngine &engine = rig.engine;
    const hoshi::DrillView &view = engine.view();
    const Model &model = rig.model;
    const auto &table = engine.profile().table;
    run.require(engine.phase() == model.phase, "phase follows the events");
    run.requireEqual(engine.maru(), model.maru, "hit count");
    run.requireEqual(engine.batsu(), model.batsu, "miss count");
    run.requireEqual(engine.jikan(), model.jikan, "seconds left");
    run.requireEqual(view.maruText, count(QStringLiteral("○"), model.maru), "lblMaru from the count");
    run.requireEqual(view.batsuText, count(QStringLiteral("×"), model.batsu), "lblBatsu from the count");
    run.requireEqual(view.timeText, QStringLiteral("TIME ") + QString::number(model.jikan), "lblTime from the time");
    run.require(engine.keyNo() >= 1 && engine.keyNo() <= static_cast<int>(table.size()), "KeyNo inside the table");
    run.require(engine.timerOn() == (model.phase == DrillPhase::Running), "timer on exactly in a run");
    run.require(view.fingerVisible == model.fingerShown, "finger label shown as started or chosen");
    const hoshi::DrillTarget &row = table[static_cast<std::size_t>(engine.keyNo() - 1)];
    switch (model.phase) {
    case DrillPhase::Ready:
    case DrillPhase::Running: {
        const bool running = model.phase == DrillPhase::Running;
        run.requireEqual(view.keyText, row.character, "target is the drawn row");
        run.requireEqual(view.fingerText, row.fingerLabel, "finger label of the drawn row");
        run.require(view.keyVisible == running, "target shown only in a run");
        run.require(!view.tokutenVisible, "no score before time-up");
        run.require(view.startEnabled != running, "START enabled outside a run");
        if (!running)
            run.requireEqual(view.startCaption, QStringLiteral("START"), "START caption when ready");
        run.require(model.jikan >= (running ? 1 : 0) && model.jikan <= engine.profile().timeLimit, "time in range");
        break;
    }
    case DrillPhase::TimeUp:
        run.requireEqual(view.keyText, QString(), "no target after time-up");
        run.requireEqual(view.fingerText, QStringLiteral("Spaceでスタート"), "prompt after time-up");
        run.require(view.tokutenVisible && view.startEnabled, "score shown and RETRY enabled");
        run.requireEqual(view.startCaption, QStringLiteral("RETRY"), "RETRY caption");
        run.requireEqual(view.tokutenText, QStringLiteral("得点 ") + QString::number(model.maru - model.batsu),
                         "score is hits minus misses");
        run.requireEqual(model.jikan, 0, "no time left");
        break;
    }
    checkBar(run, rig);
}

// The bar never spills past its box, and is the share of time left.
void DrillEngineSoak::checkBar(SoakRun &run, Rig &rig)
{
    static const int boxes[] = {0, 1, 7, 333, 600, 1279, 1920, 7680};
    const int box = run.pick(boxes);
    const float width = rig.engine.barWidth(static_cast<float>(box));
    const double share = static_cast<double>(rig.model.jikan) / rig.engine.profile().timeLimit;
    run.require(width >= 0.0f && std::lround(width) <= box, "bar inside its box");
    run.require(std::abs(width - box * share) < 0.5, "bar is the share of time left");
}

QTEST_GUILESS_MAIN(DrillEngineSoak)
#include "test_drill_engine.moc"
