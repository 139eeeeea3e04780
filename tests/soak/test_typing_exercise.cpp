// Soak of the typing exercise, Japanese and English: typed lines right and
// wrong, Enter, Ctrl, Esc, ticks while the timer runs, time-limit entries,
// practice files loaded while they are rewritten, deleted or are no files
// at all, closing and reopening (the English voice made anew or missing),
// with its invariants checked against a small model after every event.
#include "platform/key_event.h"
#include "soak/practice_files.h"
#include "soak/soak_random.h"
#include "soak/soak_run.h"
#include "support/fakes.h"
#include "typing/typing_exercise.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <memory>
#include <vector>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using hoshi::PracticeFileContent;
using hoshi::PracticeReadError;
using hoshi::PracticeText;
using hoshi::RandomSource;
using hoshi::TimeLimitChoice;
using hoshi::TypingExercise;
using hoshi::TypingProfile;
using hoshi::TypingState;
using hoshi::soak::CarelessRandom;
using hoshi::soak::ExpectedText;
using hoshi::soak::PracticeFileWriter;
using hoshi::soak::SoakFailure;
using hoshi::soak::SoakRun;
using hoshi::testing::Effect;
using hoshi::testing::RecordingServices;

Q_DECLARE_METATYPE(const TypingProfile *)

namespace {

/// What the exercise should hold, followed event by event.
struct Model {
    bool running = false;
    bool locked = false;
    int maru = 0;
    int batsu = 0;
    int jikan = 180;
    TimeLimitChoice limit = TimeLimitChoice::ThreeMinutes;
    QString caption;
    QString input;
    bool voice = true;
    QString path; ///< the loaded practice file; empty: none
    QStringList lines;
};

/// One file of the pool the file dialog answers from.
struct PoolEntry {
    enum class Kind { Text, Missing, Folder, NotAFile };
    QString path;
    Kind kind = Kind::Text;
    std::optional<ExpectedText> expected; ///< unknown for random bytes
};

/// Everything a load may change or must leave alone.
struct Snapshot {
    TypingState state;
    std::array<QString, PracticeText::TableSize> table;
    int lineNo = 0;
    int lastLineNo = 0;
    QString practiceFile;
    int maru = 0, batsu = 0, jikan = 0, timeLimit = 0;
};

Snapshot snapshot(const TypingExercise &exercise)
{
    Snapshot s{exercise.state(), {}, exercise.text().lineNo(), exercise.text().lastLineNo(),
               exercise.text().practiceFile(), exercise.maru(), exercise.batsu(), exercise.jikan(),
               exercise.timeLimit()};
    for (int i = 0; i < PracticeText::TableSize; ++i)
        s.table[static_cast<std::size_t>(i)] = exercise.text().line(i);
    return s;
}

bool sameRunState(const TypingState &a, const TypingState &b)
{
    return a.caption == b.caption && a.input == b.input && a.inputLocked == b.inputLocked
        && a.timeLabel == b.timeLabel && a.maruLabel == b.maruLabel && a.batsuLabel == b.batsuLabel
        && a.scoreLabel == b.scoreLabel && a.scoreVisible == b.scoreVisible && a.keyGuide == b.keyGuide
        && a.barColour == b.barColour && a.barShare == b.barShare && a.timerOn == b.timerOn;
}

struct Rig {
    Rig(const TypingProfile &profile, std::unique_ptr<RandomSource> source)
        : random(std::move(source))
        , exercise(profile, services, services, *random)
    {
        exercise.setSpeaker(&services);
    }
    const TypingProfile &profile() const { return exercise.profile(); }
    bool speaks() const { return profile().voice == TypingProfile::Voice::Speak; }

    RecordingServices services;
    std::unique_ptr<RandomSource> random;
    TypingExercise exercise;
    Model model;
    std::vector<PoolEntry> pool;
};

} // namespace

class TypingExerciseSoak : public QObject {
    Q_OBJECT

private slots:
    void random_runs_keep_counts_timer_and_text_true_data();
    void random_runs_keep_counts_timer_and_text_true();

private:
    void makePool(Rig &rig, PracticeFileWriter &writer, const QString &folderPath);
    void event(SoakRun &run, Rig &rig, PracticeFileWriter &writer, int i);
    void enter(SoakRun &run, Rig &rig);
    void type(SoakRun &run, Rig &rig, int i);
    void ctrl(SoakRun &run, Rig &rig);
    void escape(SoakRun &run, Rig &rig);
    void tick(SoakRun &run, Rig &rig);
    void chooseLimit(SoakRun &run, Rig &rig);
    void load(SoakRun &run, Rig &rig);
    void reopen(SoakRun &run, Rig &rig);
    void changeFile(SoakRun &run, Rig &rig, PracticeFileWriter &writer, int i);
    void requireSaid(SoakRun &run, const Rig &rig, const QStringList &texts, const char *what);
    void requireNoEffects(SoakRun &run, const Rig &rig, const char *what);
    void checkTable(SoakRun &run, const Rig &rig);
    void checkState(SoakRun &run, Rig &rig);
};

void TypingExerciseSoak::random_runs_keep_counts_timer_and_text_true_data()
{
    QTest::addColumn<const TypingProfile *>("profile");
    QTest::addColumn<bool>("careless");
    QTest::addColumn<uint>("seed");
    QTest::newRow("Japanese, fair draws") << &TypingProfile::japanese() << false << 20240401u;
    QTest::newRow("English, fair draws") << &TypingProfile::english() << false << 20240402u;
    QTest::newRow("Japanese, careless draws") << &TypingProfile::japanese() << true << 20240403u;
    QTest::newRow("English, careless draws") << &TypingProfile::english() << true << 20240404u;
}

void TypingExerciseSoak::random_runs_keep_counts_timer_and_text_true()
{
    QFETCH(const TypingProfile *, profile);
    QFETCH(bool, careless);
    QFETCH(uint, seed);
    // A folder of its own per run, so a replay meets the same files.
    const QTemporaryDir dir;
    QVERIFY(dir.isValid());
    SoakRun run(QStringLiteral("typing: %1").arg(QString::fromUtf8(QTest::currentDataTag())), seed);
    std::unique_ptr<RandomSource> source;
    if (careless)
        source = std::make_unique<CarelessRandom>(seed);
    else
        source = std::make_unique<hoshi::SeededRandom>(seed);
    Rig rig(*profile, std::move(source));
    rig.model.caption = profile->openingCaption;
    PracticeFileWriter writer(run);
    makePool(rig, writer, dir.path());
    try {
        for (int i = 0; i < run.eventCount(); ++i) {
            rig.services.clear();
            event(run, rig, writer, i);
            checkState(run, rig);
        }
    } catch (const SoakFailure &failure) {
        QFAIL(qPrintable(failure.message));
    }
    run.printTally();
    QVERIFY(run.counted("time-ups") > 0);
    QVERIFY(run.counted("right lines") > 0);
    QVERIFY(run.counted("wrong tries") > 0);
    QVERIFY(run.counted("loads") > 0);
    QVERIFY(run.counted("failed loads") > 0);
}

void TypingExerciseSoak::makePool(Rig &rig, PracticeFileWriter &writer, const QString &folderPath)
{
    const QDir dir(folderPath);
    for (int n = 0; n < 12; ++n) {
        const QString path = dir.filePath(QStringLiteral("practice-%1.txt").arg(n));
        rig.pool.push_back({path, PoolEntry::Kind::Text, writer.write(path)});
    }
    const QString folder = dir.filePath(QStringLiteral("folder"));
    dir.mkpath(folder);
    rig.pool.push_back({folder, PoolEntry::Kind::Folder, std::nullopt});
    rig.pool.push_back({dir.filePath(QStringLiteral("never.txt")), PoolEntry::Kind::Missing, std::nullopt});
#ifdef Q_OS_UNIX
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    if (::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0)
        rig.pool.push_back({fifo, PoolEntry::Kind::NotAFile, std::nullopt});
#endif
}

void TypingExerciseSoak::event(SoakRun &run, Rig &rig, PracticeFileWriter &writer, int i)
{
    enum Kind { Tick, Enter, Type, Ctrl, OtherKey, ChangeFile, Escape, Limit, Load, Reopen };
    // Weights per thousand. While a run counts down, what ends it early is
    // rare, so that most runs reach time-up; the timer alone sends ticks.
    static const std::array<int, 10> whileRunning{450, 200, 230, 50, 30, 15, 6, 6, 8, 5};
    static const std::array<int, 10> otherwise{0, 300, 250, 60, 40, 40, 40, 80, 150, 40};
    const auto &weights = rig.exercise.state().timerOn ? whileRunning : otherwise;
    int roll = run.below(1000);
    int kind = 0;
    while (roll >= weights[static_cast<std::size_t>(kind)])
        roll -= weights[static_cast<std::size_t>(kind++)];
    switch (kind) {
    case Tick: run.begin(i, QStringLiteral("tick")); tick(run, rig); break;
    case Enter: run.begin(i, QStringLiteral("keyDown(Enter)")); enter(run, rig); break;
    case Type: type(run, rig, i); break;
    case Ctrl: run.begin(i, QStringLiteral("keyDown(Ctrl)")); ctrl(run, rig); break;
    case OtherKey: {
        int code = run.below(256);
        if (code == hoshi::VkReturn || code == hoshi::VkControl || code == hoshi::VkEscape)
            code = 0; // those have their own events
        run.begin(i, QStringLiteral("keyDown(%1)").arg(code));
        rig.exercise.keyDown(code, run.below(8));
        requireNoEffects(run, rig, "other key-downs");
        break;
    }
    case ChangeFile: changeFile(run, rig, writer, i); break;
    case Escape: run.begin(i, QStringLiteral("keyDown(Esc)")); escape(run, rig); break;
    case Limit: run.begin(i, QStringLiteral("time-limit entry")); chooseLimit(run, rig); break;
    case Load: run.begin(i, QStringLiteral("load")); load(run, rig); break;
    default: run.begin(i, QStringLiteral("close and reopen")); reopen(run, rig); break;
    }
}

void TypingExerciseSoak::enter(SoakRun &run, Rig &rig)
{
    Model &model = rig.model;
    const QString input = rig.exercise.state().input;
    const QString display = rig.exercise.state().display;
    rig.exercise.keyDown(hoshi::VkReturn, run.below(2)); // Shift+Enter is Enter too
    if (model.path.isEmpty() || model.jikan == 0) {
        requireNoEffects(run, rig, model.path.isEmpty() ? "Enter without text" : "Enter after time-up");
        run.requireEqual(rig.exercise.state().display, display, "Enter that does nothing keeps the line");
        return;
    }
    model.running = true;
    if (input != display) {
        ++model.batsu;
        const auto &log = rig.services.log;
        run.requireEqual(static_cast<long long>(log.size()), 1, "a wrong try has one effect");
        run.require(log.front().kind == Effect::Cue && log.front().cue == rig.profile().wrongCue,
                    "a wrong try plays the wrong cue");
        run.requireEqual(rig.exercise.state().display, display, "a wrong try keeps the line");
        run.count("wrong tries");
        return;
    }
    ++model.maru;
    model.input.clear();
    const PracticeText &text = rig.exercise.text();
    run.require(text.lineNo() >= 0 && text.lineNo() <= std::max(text.lastLineNo(), 0),
                "a draw stays inside the file's lines");
    run.requireEqual(rig.exercise.state().display, text.currentLine(), "the drawn line is shown");
    requireSaid(run, rig, {text.currentLine()}, "a right line says the next one");
    run.count("right lines");
}

void TypingExerciseSoak::type(SoakRun &run, Rig &rig, int i)
{
    const QString display = rig.exercise.state().display;
    QString typed;
    const int kind = run.below(100);
    if (kind < 55)
        typed = display;
    else if (kind < 70)
        typed = display + QStringLiteral("x");
    else if (kind < 80)
        typed = display.left(std::max<qsizetype>(display.size() - 1, 0));
    else if (kind < 90)
        typed = QString();
    else
        typed = QStringLiteral("あいう abc").left(run.between(1, 7));
    run.begin(i, QStringLiteral("input '%1'").arg(typed.left(30)));
    rig.exercise.inputChanged(typed);
    if (!rig.model.locked)
        rig.model.input = typed;
    requireNoEffects(run, rig, "typing");
}

void TypingExerciseSoak::ctrl(SoakRun &run, Rig &rig)
{
    rig.exercise.keyDown(hoshi::VkControl, run.below(8));
    const QString line = rig.exercise.text().currentLine();
    run.requireEqual(rig.exercise.state().display, line, "Ctrl shows the current line");
    requireSaid(run, rig, {line}, "Ctrl says the current line");
}

void TypingExerciseSoak::escape(SoakRun &run, Rig &rig)
{
    rig.exercise.keyDown(hoshi::VkEscape, 0);
    Model &model = rig.model;
    model.running = false;
    model.locked = false;
    model.maru = 0;
    model.batsu = 0;
    model.jikan = hoshi::timeLimitEntry(model.limit).seconds;
    model.input.clear();
    requireNoEffects(run, rig, "Esc");
    run.requireEqual(rig.exercise.state().display, QString(), "Esc empties the line");
    run.require(rig.exercise.state().barShare == 1.0, "Esc fills the bar");
}

void TypingExerciseSoak::tick(SoakRun &run, Rig &rig)
{
    rig.exercise.tick();
    Model &model = rig.model;
    --model.jikan;
    const double share = static_cast<double>(model.jikan) / hoshi::timeLimitEntry(model.limit).seconds;
    run.require(rig.exercise.state().barShare == share, "the bar is the share of time left");
    if (model.jikan > 0) {
        requireNoEffects(run, rig, "a tick");
        return;
    }
    model.running = false;
    model.locked = true;
    const QString score = rig.profile().scorePrefix + QString::number((model.maru - 1) - model.batsu);
    run.requireEqual(rig.exercise.state().display, rig.profile().gameOverText, "the end text is shown");
    run.requireEqual(rig.exercise.state().scoreLabel, score, "the score is correct lines minus wrong tries");
    requireSaid(run, rig, {rig.profile().gameOverText, score}, "time-up says the end text, then the score");
    run.count("time-ups");
}

void TypingExerciseSoak::chooseLimit(SoakRun &run, Rig &rig)
{
    // Mostly one minute, so that many runs reach time-up.
    static const TimeLimitChoice choices[] = {TimeLimitChoice::OneMinute, TimeLimitChoice::OneMinute,
                                              TimeLimitChoice::OneMinute, TimeLimitChoice::ThreeMinutes,
                                              TimeLimitChoice::FiveMinutes};
    const TimeLimitChoice choice = run.pick(choices);
    rig.exercise.chooseTimeLimit(choice);
    rig.model.limit = choice;
    rig.model.jikan = hoshi::timeLimitEntry(choice).seconds;
    rig.model.caption = rig.profile().captionFor(choice);
    requireNoEffects(run, rig, "a time-limit entry");
}

void TypingExerciseSoak::load(SoakRun &run, Rig &rig)
{
    const bool cancelled = run.percent(10);
    const PoolEntry *entry = cancelled ? nullptr : &rig.pool[static_cast<std::size_t>(run.below(static_cast<int>(rig.pool.size())))];
    const QString answer = entry ? entry->path : QString();
    const QString path = cancelled ? rig.model.path : answer;
    if (cancelled) {
        for (const PoolEntry &candidate : rig.pool)
            if (candidate.path == path)
                entry = &candidate;
    }
    const Snapshot before = snapshot(rig.exercise);
    const std::optional<PracticeFileContent> content = rig.exercise.loadChosenFile(answer);
    requireNoEffects(run, rig, "loading");
    const Snapshot after = snapshot(rig.exercise);
    if (path.isEmpty()) {
        run.require(!content, "a cancelled dialog with no file loads nothing");
        run.require(sameRunState(after.state, before.state) && after.table == before.table, "nothing changes");
        return;
    }
    run.require(content.has_value(), "a chosen file is read");
    static const PracticeReadError errors[] = {PracticeReadError::None, PracticeReadError::Missing,
                                               PracticeReadError::Folder, PracticeReadError::NotAFile};
    run.require(content->error == errors[static_cast<int>(entry->kind)], "the read error names what was chosen");
    if (!content->ok()) {
        run.require(sameRunState(after.state, before.state) && after.state.display == before.state.display
                        && after.table == before.table && after.lineNo == before.lineNo
                        && after.lastLineNo == before.lastLineNo && after.practiceFile == before.practiceFile,
                    "a failed load leaves everything as it was");
        run.count("failed loads");
        return;
    }
    if (entry->expected) {
        run.require(content->lines == entry->expected->lines, "the lines read are the lines written");
        run.require(content->moreLines == entry->expected->moreLines, "more lines than kept are reported");
        run.require(content->lineCut == entry->expected->lineCut, "a cut line is reported");
        run.count("loads checked line by line");
    }
    run.require(content->lines.size() <= PracticeText::TableSize, "at most the table's lines");
    for (const QString &line : content->lines)
        run.require(line.size() <= hoshi::PracticeLineLengthLimit && !line.contains(u'\r') && !line.contains(u'\n'),
                    "a line is short and holds no line end");
    rig.model.path = path;
    rig.model.lines = content->lines;
    run.requireEqual(after.lineNo, 1, "a load makes entry 1 current");
    run.requireEqual(after.state.display, QString(), "a load empties the line shown");
    run.require(sameRunState(after.state, before.state), "a load leaves the run alone");
    checkTable(run, rig);
    run.count("loads");
}

void TypingExerciseSoak::reopen(SoakRun &run, Rig &rig)
{
    rig.exercise.close();
    run.require(!rig.exercise.state().timerOn, "closing stops the timer");
    // A voice is made anew at every opening; sometimes there is none.
    rig.model.voice = run.percent(85);
    rig.exercise.setSpeaker(rig.model.voice ? &rig.services : nullptr);
    rig.exercise.open();
    Model &model = rig.model;
    model.running = false;
    model.locked = false;
    model.maru = 0;
    model.batsu = 0;
    model.limit = TimeLimitChoice::ThreeMinutes;
    model.jikan = 180;
    model.caption = rig.profile().openingCaption;
    model.input.clear();
    requireNoEffects(run, rig, "closing and opening");
    run.requireEqual(rig.exercise.state().display, QString(), "opening shows no line");
    run.count("reopens");
}

// The file system changes under the window: a pool file is rewritten or deleted.
void TypingExerciseSoak::changeFile(SoakRun &run, Rig &rig, PracticeFileWriter &writer, int i)
{
    PoolEntry &entry = rig.pool[static_cast<std::size_t>(run.below(12))];
    if (run.percent(25)) {
        run.begin(i, QStringLiteral("delete %1").arg(entry.path));
        QFile::remove(entry.path);
        entry.kind = PoolEntry::Kind::Missing;
        entry.expected.reset();
    } else {
        run.begin(i, QStringLiteral("rewrite %1").arg(entry.path));
        entry.expected = writer.write(entry.path);
        entry.kind = PoolEntry::Kind::Text;
    }
    requireNoEffects(run, rig, "a file changing");
}

// The texts said in order: announced in Japanese, spoken in English (or
// nothing without a voice); the English window never touches the clipboard.
void TypingExerciseSoak::requireSaid(SoakRun &run, const Rig &rig, const QStringList &texts, const char *what)
{
    const auto &log = rig.services.log;
    const bool silent = rig.speaks() && !rig.model.voice;
    run.requireEqual(static_cast<long long>(log.size()), silent ? 0 : texts.size(), what);
    for (std::size_t k = 0; k < log.size(); ++k) {
        run.require(log[k].kind == (rig.speaks() ? Effect::Speak : Effect::Announce), what);
        run.requireEqual(log[k].text, texts.at(static_cast<qsizetype>(k)), what);
    }
}

void TypingExerciseSoak::requireNoEffects(SoakRun &run, const Rig &rig, const char *what)
{
    run.requireEqual(static_cast<long long>(rig.services.log.size()), 0, what);
}

void TypingExerciseSoak::checkTable(SoakRun &run, const Rig &rig)
{
    const PracticeText &text = rig.exercise.text();
    run.requireEqual(text.practiceFile(), rig.model.path, "the practice file");
    if (rig.model.path.isEmpty())
        return;
    run.requireEqual(text.lastLineNo(), rig.model.lines.size() - 1, "LastLineNo is the last line read");
    for (int k = 0; k < PracticeText::TableSize; ++k)
        run.requireEqual(text.line(k), rig.model.lines.value(k), "LineTable holds the file, then empty lines");
}

// The exercise against the model, and its labels against its own counts.
void TypingExerciseSoak::checkState(SoakRun &run, Rig &rig)
{
    const TypingExercise &exercise = rig.exercise;
    const TypingState &state = exercise.state();
    const Model &model = rig.model;
    const hoshi::TimeLimitEntry limit = hoshi::timeLimitEntry(model.limit);
    run.require(state.timerOn == model.running, "timer on exactly while a run counts down");
    run.require(!state.timerOn || (!model.path.isEmpty() && model.jikan > 0), "a run has text and time");
    run.require(state.inputLocked == model.locked, "input locked exactly after time-up");
    run.require(state.scoreVisible == model.locked, "score shown exactly after time-up");
    run.requireEqual(exercise.maru(), model.maru, "correct count");
    run.requireEqual(exercise.batsu(), model.batsu, "wrong count");
    run.requireEqual(exercise.jikan(), model.jikan, "seconds left");
    run.requireEqual(exercise.timeLimit(), limit.seconds, "run length");
    run.requireEqual(state.maruLabel, QStringLiteral("○ ") + QString::number(std::max(model.maru - 1, 0)),
                     "lblMaru from the count");
    run.requireEqual(state.batsuLabel, QStringLiteral("× ") + QString::number(model.batsu), "lblBatsu from the count");
    run.requireEqual(state.timeLabel, QStringLiteral("TIME ") + QString::number(model.jikan), "lblTime from the time");
    run.require(model.jikan >= 0 && model.jikan <= limit.seconds, "time in range");
    run.require(state.barShare >= 0.0 && state.barShare <= 1.0, "bar inside its box");
    run.require(state.barColour == limit.barColour, "bar colour of the run length");
    run.requireEqual(state.caption, model.caption, "caption");
    run.requireEqual(state.keyGuide, QStringLiteral("Esc:RESET\r\nCtrl:REPEAT"), "key help");
    if (!model.locked)
        run.requireEqual(state.input, model.input, "the input is what was typed");
    const PracticeText &text = exercise.text();
    run.require(text.lineNo() >= 0 && text.lineNo() < PracticeText::TableSize, "LineNo inside the table");
    run.require(state.display.isEmpty() || state.display == rig.profile().gameOverText
                    || state.display == text.currentLine(),
                "the line shown is empty, the end text or the current line");
    run.requireEqual(text.practiceFile(), model.path, "the practice file");
}

QTEST_GUILESS_MAIN(TypingExerciseSoak)
#include "test_typing_exercise.moc"
