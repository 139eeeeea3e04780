// SPDX-License-Identifier: GPL-3.0-or-later
// The typing exercise without widgets, with every announcement in order.
#include "platform/api/key_codes.h"
#include "support/fakes.h"
#include "support/test_files.h"
#include "typing/typing_exercise.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace hoshi;
using hoshi::testing::Effect;

namespace {

struct Rig {
    explicit Rig(const TypingProfile &profile, RunRecorder *recorder = nullptr)
        : exercise(profile, services, services, random, recorder) {}

    testing::RecordingServices services;
    testing::ScriptedRandom random;
    TypingExercise exercise;
};

// The effects in order: said texts as they are, "speak ..." and "cue ...".
QStringList effects(const testing::RecordingServices &services)
{
    QStringList out;
    for (const Effect &e : services.log) {
        if (e.kind == Effect::Cue)
            out << QStringLiteral("cue ") + cueFileName(e.cue);
        else
            out << (e.kind == Effect::Speak ? QStringLiteral("speak ") : QString()) + e.text;
    }
    return out;
}

// What the window would draw: labels, [line] [input], clock, lock, score, bar, file/last entry.
QString drawn(const TypingExercise &exercise)
{
    const TypingState &s = exercise.state();
    QString out = QStringLiteral("%1 %2 %3 [%4] [%5]").arg(s.timeLabel(), s.maruLabel(), s.batsuLabel(), s.display, s.input);
    out += (s.timerOn ? QStringLiteral(" timer") : QString()) + (s.inputLocked ? QStringLiteral(" locked") : QString());
    out += (s.scoreVisible ? QStringLiteral(" ") + s.scoreLabel : QString());
    out += QStringLiteral(" bar %1%").arg(qRound(s.barShare * 100));
    const PracticeText &text = exercise.text();
    if (text.isLoaded())
        out += QStringLiteral(" %1/%2").arg(QFileInfo(text.practiceFile()).baseName()).arg(text.lastLineNo());
    return out;
}

} // namespace

class TypingExerciseTest : public QObject {
    Q_OBJECT

private:
    // Runs the steps: load[:name] (practice.txt by default), cancel (the dialog cancelled), enter,
    // ctrl, esc, type:text ("_" a blank), typeshown, draw:row (the next draw), tick[:count], runout,
    // limit:minutes, close, open, clear (forget the effects so far), edit (changing.txt rewritten).
    void run(Rig &rig, const QString &script)
    {
        TypingExercise &exercise = rig.exercise;
        for (const QString &step : script.split(u' ', Qt::SkipEmptyParts)) {
            const QString word = step.section(u':', 0, 0);
            const QString arg = step.section(u':', 1).replace(u'_', u' ');
            if (word == "load")
                exercise.loadChosenFile(m_dir.filePath((arg.isEmpty() ? QStringLiteral("practice") : arg) + ".txt"));
            else if (word == "cancel")
                exercise.loadChosenFile(QString());
            else if (word == "enter" || word == "ctrl" || word == "esc")
                exercise.keyDown(word == "enter" ? VkReturn : word == "ctrl" ? VkControl : VkEscape, 0);
            else if (word == "type" || word == "typeshown")
                exercise.inputChanged(word == "type" ? arg : exercise.state().display);
            else if (word == "draw")
                rig.random.push(arg.toInt());
            else if (word == "tick" || word == "runout")
                for (int i = word == "runout" ? exercise.jikan() : qMax(arg.toInt(), 1); i > 0; --i)
                    exercise.tick();
            else if (word == "limit")
                exercise.chooseTimeLimit(arg == "1"   ? TimeLimitChoice::OneMinute
                                         : arg == "3" ? TimeLimitChoice::ThreeMinutes
                                                      : TimeLimitChoice::FiveMinutes);
            else if (word == "close" || word == "open")
                word == "close" ? exercise.close() : exercise.open();
            else if (word == "clear")
                rig.services.clear();
            else if (word == "edit")
                testing::writeTestFile(m_dir, QStringLiteral("changing.txt"), "new 1\nnew 2\nnew 3\n");
            else
                QFAIL(qPrintable("unknown step " + step));
        }
    }

    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        for (const auto &[name, bytes] : {std::pair{"practice", "one\r\ntwo\r\nthree\r\nfour\r\nfive"},
                                          std::pair{"abc", "Abc"}, std::pair{"gap", "a\r\n\r\nb"},
                                          std::pair{"other", "x\ny"}, std::pair{"short", "S1\n"}, std::pair{"empty", ""},
                                          std::pair{"blank", " \t\r\n\xE3\x80\x80\r\n"},
                                          std::pair{"changing", "old 1\nold 2\n"}})
            testing::writeTestFile(m_dir, QString::fromLatin1(name) + ".txt", bytes);
    }

    void runs_data()
    {
        QTest::addColumn<bool>("english"); // the English exercise, with a voice
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("effects");
        QTest::addColumn<QString>("drawn");
        const auto row = [](const char *name, const char *script, const QStringList &effects, const char *drawn) {
            QTest::newRow(name) << false << QString::fromUtf8(script) << effects << QString::fromUtf8(drawn);
        };
        const QString zannen = QStringLiteral("cue zannen.wav");
        const QString end = QStringLiteral("おしまい  RESET!");
        row("no text: Enter does nothing", "cancel enter", {}, "TIME 180 ○ 0 × 0 [] [] bar 100%");
        row("the start press runs the clock, counts 0, draws and says a line", "load draw:2 enter", {"three"},
            "TIME 180 ○ 0 × 0 [three] [] timer bar 100% practice/4");
        row("typing before the first Enter is a wrong try; then an empty input draws a line", "load type:abc enter type: draw:0 enter", {zannen, "one"},
            "TIME 180 ○ 0 × 1 [one] [] timer bar 100% practice/4");
        row("score: 5 right, 2 wrong",
            qPrintable("load enter" + QStringLiteral(" type:wrong enter typeshown enter").repeated(2)
                       + QStringLiteral(" typeshown enter").repeated(3) + " clear runout"),
            {end, "得点 3"}, "TIME 0 ○ 5 × 2 [おしまい  RESET!] [] locked 得点 3 bar 0% practice/4");
        row("only the exact line is right; a wrong try keeps line and input",
            "load:abc enter clear type:abc enter type:Abc_ enter type:Ａｂｃ enter enter type:Abc enter",
            {zannen, zannen, zannen, zannen, "Abc"}, "TIME 180 ○ 1 × 4 [Abc] [] timer bar 100% abc/0");
        row("an empty line is matched by an empty input", "load:gap draw:1 draw:1 enter enter", {"", ""},
            "TIME 180 ○ 1 × 0 [] [] timer bar 100% gap/2");
        row("Ctrl before the first Enter says entry 1", "load ctrl", {"two"},
            "TIME 180 ○ 0 × 0 [two] [] bar 100% practice/4");
        row("time-up locks the input, says the end text, then the score; then typing, Enter and ticks do nothing",
            "load enter type:half_typed tick:179 clear tick type:more enter tick", {end, "得点 0"},
            "TIME 0 ○ 0 × 0 [おしまい  RESET!] [half typed] locked 得点 0 bar 0% practice/4");
        row("a new limit mid-run: the time at once, the bar at the next tick", "load draw:0 enter tick:80 limit:1",
            {"one"}, "TIME 60 ○ 0 × 0 [one] [] timer bar 56% practice/4");
        row("a new limit after time-up: Enter runs the clock, the input stays locked",
            "load enter runout limit:1 clear enter", {zannen},
            "TIME 60 ○ 0 × 1 [おしまい  RESET!] [] timer locked 得点 0 bar 0% practice/4");
        const char *fresh = "TIME 300 ○ 0 × 0 [] [] bar 100% practice/4";
        row("Esc mid-run", "limit:5 load enter type:typed tick:10 clear esc", {}, fresh);
        row("reopening: a fresh three-minute run on the same text",
            "load limit:1 enter tick close open clear draw:0 enter", {"one"},
            "TIME 180 ○ 0 × 0 [one] [] timer bar 100% practice/4");
        row("loading mid-run: no line shown; input, clock and counts go on",
            "load enter tick type:on load:other clear ctrl", {"y"},
            "TIME 179 ○ 0 × 0 [y] [on] timer bar 99% other/1");
        row("a shorter file leaves no line of the longer one", "load load:short ctrl enter", {"", "S1"},
            "TIME 180 ○ 0 × 0 [S1] [] timer bar 100% short/0");
        row("a cancelled dialog reads the earlier file again, changed on disk",
            "load:changing ctrl edit cancel clear ctrl", {"new 2"}, "TIME 180 ○ 0 × 0 [new 2] [] bar 100% changing/2");
        row("an empty file is refused: no text to run", "load:empty enter", {}, "TIME 180 ○ 0 × 0 [] [] bar 100%");
        row("a blank file keeps the text, the line and the run",
            "load draw:0 enter load:blank type:one draw:1 enter", {"one", "two"},
            "TIME 180 ○ 1 × 0 [two] [] timer bar 100% practice/4");
        QTest::newRow("English speaks where Japanese announces; Boo on a wrong try")
            << true << "enter load draw:0 enter type:on enter ctrl runout"
            << QStringList{"speak Press Control O to open a text file.",
                           "speak The text is ready. Press Enter to start.", "speak one", "cue boo.wav",
                           "speak Not quite. Press Control to hear the line again.", "speak one",
                           "speak GAME OVER.  RESET!", "speak SCORE -1"}
            << "TIME 0 ○ 0 × 1 [GAME OVER.  RESET!] [on] locked SCORE -1 bar 0% practice/4";
    }

    void runs()
    {
        QFETCH(bool, english);
        QFETCH(QString, script);
        Rig rig(english ? TypingProfile::english() : TypingProfile::japanese());
        rig.exercise.setSpeaker(english ? &rig.services : nullptr);
        run(rig, script);
        QTEST(effects(rig.services), "effects");
        QTEST(drawn(rig.exercise), "drawn");
    }

    void finished_runs_go_to_the_records_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("kept"); // each run handed over
        QTest::newRow("time-up: the start press is no line")
            << false << "limit:1 load:abc enter typeshown enter type:x enter typeshown enter runout"
            << "frmJapanese 60s ○2 ×1 score 1 chars 6 cpm 6 acc 67% abc.txt";
        QTest::newRow("closed mid-run: cut short, its seconds so far")
            << true << "load:abc enter typeshown enter tick:30 close"
            << "frmEnglish 30s ○1 ×0 score 1 chars 3 cpm 6 acc 100% abc.txt cut";
        QTest::newRow("closing when no run goes: nothing")
            << false << "load close enter runout close" << "frmJapanese 180s ○0 ×0 score 0 chars 0 cpm 0 acc 0% practice.txt";
        QTest::newRow("Esc mid-run hands nothing over") << false << "load enter tick:5 esc close" << "";
    }

    void finished_runs_go_to_the_records()
    {
        // A recorder with something to say of each finished run: said after the score.
        struct Recorder final : RunRecorder {
            QString runFinished(const RunRecord &run) override
            {
                kept << QStringLiteral("%1 %2s ○%3 ×%4 score %5 chars %6 cpm %7 acc %8% %9%10")
                            .arg(run.mode).arg(run.seconds).arg(run.linesRight).arg(run.linesWrong).arg(run.score)
                            .arg(run.characters).arg(qRound(run.charsPerMinute)).arg(qRound(run.accuracy * 100))
                            .arg(run.practiceFile, run.cutShort ? QStringLiteral(" cut") : QString());
                return QStringLiteral("standing");
            }
            QStringList kept;
        } recorder;
        QFETCH(bool, english);
        QFETCH(QString, script);
        Rig rig(english ? TypingProfile::english() : TypingProfile::japanese(), &recorder);
        rig.exercise.setSpeaker(&rig.services);
        run(rig, script);
        QTEST(recorder.kept.join(u'|'), "kept");
        const bool finished = !recorder.kept.isEmpty() && !recorder.kept.last().endsWith(QLatin1String("cut"));
        QCOMPARE(rig.services.hints().endsWith(QStringLiteral("standing")), finished && !english);
    }
};

QTEST_GUILESS_MAIN(TypingExerciseTest)
#include "test_typing_exercise.moc"
