// The typing exercise with its practice text: the current line is always in
// the table, the labels match the counts and the time, the timer runs only
// with a text and time left, a load replaces the whole text or nothing, and
// each line, the end text and the score are said when they are due.

#include "fuzz/behaviour/scripts.h"
#include "platform/key_event.h"
#include "support/fakes.h"
#include "typing/typing_exercise.h"

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <vector>

namespace hoshi::fuzzing {

namespace {

using testing::Effect;
using testing::RecordingServices;

std::vector<Effect> effectsSince(const RecordingServices &log, std::size_t from)
{
    return {log.log.begin() + static_cast<std::ptrdiff_t>(from), log.log.end()};
}

const QTemporaryDir &scratchFolder()
{
    static const QTemporaryDir folder;
    return folder;
}

/// A practice file: raw bytes, or lines from a few short texts with mixed line ends.
QByteArray makeFileBytes(FuzzedDataProvider &input)
{
    if (input.ConsumeBool()) {
        const std::string bytes = input.ConsumeBytesAsString(input.ConsumeIntegralInRange(0, 600));
        return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    static const char *const texts[] = {"", "a", "Hello", "x y", "あいう", "ｶﾀｶﾅ", "\xEF\xBB\xBF"};
    static const char *const ends[] = {"\r\n", "\n", "\r"};
    QByteArray bytes;
    const int lines = input.ConsumeIntegralInRange(0, 130);
    for (int i = 0; i < lines; ++i)
        bytes += QByteArray(input.PickValueInArray(texts)) + input.PickValueInArray(ends);
    return bytes;
}

QString choosePath(FuzzedDataProvider &input)
{
    const QTemporaryDir &folder = scratchFolder();
    switch (input.ConsumeIntegralInRange(0, 5)) {
    case 0: return QString(); // the dialog was cancelled
    case 1: return folder.filePath(QStringLiteral("missing.txt"));
    case 2: return folder.path(); // a folder
    default: break;
    }
    const QString path = folder.filePath(input.ConsumeBool() ? QStringLiteral("one.txt") : QStringLiteral("two.txt"));
    QFile file(path);
    HOSHI_FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    const QByteArray bytes = makeFileBytes(input);
    HOSHI_FUZZ_CHECK(file.write(bytes) == bytes.size());
    return path;
}

std::vector<QString> tableOf(const PracticeText &text)
{
    std::vector<QString> lines;
    for (int i = 0; i < PracticeText::TableSize; ++i)
        lines.push_back(text.line(i));
    return lines;
}

class TypingScript {
public:
    TypingScript(FuzzedDataProvider &input, const TypingProfile &profile)
        : m_input(input), m_random(input, input.ConsumeBool()), m_exercise(profile, m_log, m_log, m_random)
    {
    }

    void run()
    {
        open();
        for (int event = 0; event < MaxEvents && m_input.remaining_bytes() > 0; ++event) {
            step();
            checkState();
        }
    }

private:
    const TypingState &state() const { return m_exercise.state(); }

    void step()
    {
        const std::size_t logSize = m_log.log.size();
        switch (m_input.ConsumeIntegralInRange(0, 15)) {
        case 0: open(); break;
        case 1: m_exercise.close(); HOSHI_FUZZ_CHECK(!state().timerOn); break;
        case 2: case 3: case 4: pressEnter(logSize); break;
        case 5: pressCtrl(logSize); break;
        case 6: pressEsc(logSize); break;
        case 7: pressOther(logSize); break;
        case 8: case 9: type(state().display); break;
        case 10: type(QString::fromStdString(m_input.ConsumeRandomLengthString(12))); break;
        case 11: tick(logSize); break;
        case 12:
            while (state().timerOn)
                tick(m_log.log.size());
            break;
        case 13: chooseTimeLimit(); break;
        default: load(); break;
        }
    }

    void open()
    {
        const PracticeText text = m_exercise.text();
        // The English window has a voice only where the system has one.
        m_voiced = m_exercise.profile().voice == TypingProfile::Voice::Announce || m_input.ConsumeBool();
        m_exercise.setSpeaker(m_voiced ? &m_log : nullptr);
        m_exercise.open();
        m_limit = std::nullopt;
        HOSHI_FUZZ_CHECK(state().caption == m_exercise.profile().openingCaption);
        HOSHI_FUZZ_CHECK(m_exercise.jikan() == 180 && m_exercise.maru() == 0 && m_exercise.batsu() == 0);
        HOSHI_FUZZ_CHECK(!state().timerOn && !state().inputLocked && !state().scoreVisible);
        HOSHI_FUZZ_CHECK(state().display.isEmpty() && state().input.isEmpty());
        HOSHI_FUZZ_CHECK(tableOf(m_exercise.text()) == tableOf(text));
    }

    /// What saying a text leaves in the log: announced, spoken, or nothing without a voice.
    std::vector<Effect> said(std::initializer_list<QString> texts) const
    {
        std::vector<Effect> effects;
        const bool speaks = m_exercise.profile().voice == TypingProfile::Voice::Speak;
        for (const QString &text : texts) {
            if (!speaks)
                effects.push_back({Effect::Announce, text});
            else if (m_voiced)
                effects.push_back({Effect::Speak, text});
        }
        return effects;
    }

    void pressEnter(std::size_t logSize)
    {
        const TypingState before = state();
        const int maru = m_exercise.maru();
        const int batsu = m_exercise.batsu();
        m_exercise.keyDown(VkReturn, pickModifiers(m_input));
        if (!m_exercise.text().isLoaded() || m_exercise.jikan() == 0) {
            // Without a text, and after time-up, Enter does nothing.
            HOSHI_FUZZ_CHECK(m_log.log.size() == logSize && state().timerOn == before.timerOn);
            HOSHI_FUZZ_CHECK(m_exercise.maru() == maru && m_exercise.batsu() == batsu);
            return;
        }
        HOSHI_FUZZ_CHECK(state().timerOn);
        if (before.input == before.display) {
            HOSHI_FUZZ_CHECK(m_exercise.maru() == maru + 1 && m_exercise.batsu() == batsu);
            HOSHI_FUZZ_CHECK(state().input.isEmpty() && state().display == m_exercise.text().currentLine());
            const int last = std::max(m_exercise.text().lastLineNo(), 0);
            HOSHI_FUZZ_CHECK(m_exercise.text().lineNo() >= 0 && m_exercise.text().lineNo() <= last);
            HOSHI_FUZZ_CHECK(effectsSince(m_log, logSize) == said({state().display}));
        } else {
            HOSHI_FUZZ_CHECK(m_exercise.maru() == maru && m_exercise.batsu() == batsu + 1);
            HOSHI_FUZZ_CHECK(state().input == before.input && state().display == before.display);
            const std::vector<Effect> wrong{{Effect::Cue, {}, m_exercise.profile().wrongCue}};
            HOSHI_FUZZ_CHECK(effectsSince(m_log, logSize) == wrong);
        }
    }

    void pressCtrl(std::size_t logSize)
    {
        m_exercise.keyDown(VkControl, pickModifiers(m_input));
        HOSHI_FUZZ_CHECK(state().display == m_exercise.text().currentLine());
        HOSHI_FUZZ_CHECK(effectsSince(m_log, logSize) == said({state().display}));
    }

    void pressEsc(std::size_t logSize)
    {
        m_exercise.keyDown(VkEscape, pickModifiers(m_input));
        HOSHI_FUZZ_CHECK(state().display.isEmpty() && state().input.isEmpty() && !state().inputLocked);
        HOSHI_FUZZ_CHECK(m_exercise.maru() == 0 && m_exercise.batsu() == 0 && !state().scoreVisible);
        HOSHI_FUZZ_CHECK(m_exercise.jikan() == m_exercise.timeLimit() && state().barShare == 1.0);
        HOSHI_FUZZ_CHECK(!state().timerOn && m_log.log.size() == logSize);
    }

    void pressOther(std::size_t logSize)
    {
        const int keyCode = pickKeyCode(m_input);
        if (keyCode == VkReturn || keyCode == VkControl || keyCode == VkEscape)
            return;
        const TypingState before = state();
        m_exercise.keyDown(keyCode, pickModifiers(m_input));
        HOSHI_FUZZ_CHECK(state().display == before.display && state().timerOn == before.timerOn);
        HOSHI_FUZZ_CHECK(m_log.log.size() == logSize);
    }

    void type(const QString &text)
    {
        const TypingState before = state();
        m_exercise.inputChanged(text);
        HOSHI_FUZZ_CHECK(state().input == (before.inputLocked ? before.input : text));
    }

    // The window's timer only ticks while it runs.
    void tick(std::size_t logSize)
    {
        if (!state().timerOn)
            return;
        const int jikan = m_exercise.jikan();
        m_exercise.tick();
        HOSHI_FUZZ_CHECK(m_exercise.jikan() == jikan - 1);
        HOSHI_FUZZ_CHECK(state().barShare == static_cast<double>(m_exercise.jikan()) / m_exercise.timeLimit());
        if (m_exercise.jikan() > 0) {
            HOSHI_FUZZ_CHECK(m_log.log.size() == logSize);
            return;
        }
        const TypingProfile &profile = m_exercise.profile();
        HOSHI_FUZZ_CHECK(!state().timerOn && state().inputLocked && state().scoreVisible);
        HOSHI_FUZZ_CHECK(state().display == profile.gameOverText);
        const int score = (m_exercise.maru() - 1) - m_exercise.batsu();
        HOSHI_FUZZ_CHECK(state().scoreLabel == profile.scorePrefix + QString::number(score));
        HOSHI_FUZZ_CHECK(effectsSince(m_log, logSize) == said({profile.gameOverText, state().scoreLabel}));
    }

    void chooseTimeLimit()
    {
        const bool timerOn = state().timerOn;
        const auto choice = static_cast<TimeLimitChoice>(m_input.ConsumeIntegralInRange(0, 2));
        m_exercise.chooseTimeLimit(choice);
        m_limit = choice;
        HOSHI_FUZZ_CHECK(m_exercise.jikan() == timeLimitEntry(choice).seconds);
        HOSHI_FUZZ_CHECK(state().timerOn == timerOn);
    }

    void load()
    {
        const std::vector<QString> tableBefore = tableOf(m_exercise.text());
        const QString fileBefore = m_exercise.text().practiceFile();
        const QString displayBefore = state().display;
        const std::size_t logSize = m_log.log.size();
        const QString answer = choosePath(m_input);
        const std::optional<PracticeFileContent> content = m_exercise.loadChosenFile(answer);
        HOSHI_FUZZ_CHECK(m_log.log.size() == logSize);
        if (!content || !content->ok()) {
            // Nothing loaded: the text and the display stay as they were.
            HOSHI_FUZZ_CHECK(content.has_value() == !(answer.isEmpty() && fileBefore.isEmpty()));
            HOSHI_FUZZ_CHECK(tableOf(m_exercise.text()) == tableBefore);
            HOSHI_FUZZ_CHECK(m_exercise.text().practiceFile() == fileBefore && state().display == displayBefore);
            return;
        }
        const PracticeText &text = m_exercise.text();
        HOSHI_FUZZ_CHECK(text.practiceFile() == (answer.isEmpty() ? fileBefore : answer));
        HOSHI_FUZZ_CHECK(text.lastLineNo() == static_cast<int>(content->lines.size()) - 1);
        HOSHI_FUZZ_CHECK(text.lineNo() == 1 && state().display.isEmpty());
        for (int i = 0; i < PracticeText::TableSize; ++i)
            HOSHI_FUZZ_CHECK(text.line(i) == content->lines.value(i));
    }

    void checkState() const
    {
        const TypingProfile &profile = m_exercise.profile();
        const int limit = m_limit ? timeLimitEntry(*m_limit).seconds : 180;
        HOSHI_FUZZ_CHECK(m_exercise.timeLimit() == limit);
        HOSHI_FUZZ_CHECK(m_exercise.jikan() >= 0 && m_exercise.jikan() <= limit);
        HOSHI_FUZZ_CHECK(state().caption == (m_limit ? profile.captionFor(*m_limit) : profile.openingCaption));
        HOSHI_FUZZ_CHECK(state().barColour == timeLimitEntry(m_limit.value_or(TimeLimitChoice::ThreeMinutes)).barColour);
        HOSHI_FUZZ_CHECK(state().timeLabel == QStringLiteral("TIME ") + QString::number(m_exercise.jikan()));
        HOSHI_FUZZ_CHECK(state().maruLabel == QStringLiteral("○ ") + QString::number(std::max(m_exercise.maru() - 1, 0)));
        HOSHI_FUZZ_CHECK(state().batsuLabel == QStringLiteral("× ") + QString::number(m_exercise.batsu()));
        HOSHI_FUZZ_CHECK(state().barShare >= 0.0 && state().barShare <= 1.0);
        // The countdown runs only with a text and time left.
        HOSHI_FUZZ_CHECK(!state().timerOn || (m_exercise.text().isLoaded() && m_exercise.jikan() > 0));
        HOSHI_FUZZ_CHECK(state().inputLocked == state().scoreVisible);
        const PracticeText &text = m_exercise.text();
        HOSHI_FUZZ_CHECK(text.lineNo() >= 0 && text.lineNo() < PracticeText::TableSize);
        HOSHI_FUZZ_CHECK(text.lastLineNo() >= -1 && text.lastLineNo() < PracticeText::TableSize);
        for (int i = text.lastLineNo() + 1; i < PracticeText::TableSize; ++i)
            HOSHI_FUZZ_CHECK(text.line(i).isEmpty());
    }

    FuzzedDataProvider &m_input;
    RecordingServices m_log;
    InputRandom m_random;
    TypingExercise m_exercise;
    std::optional<TimeLimitChoice> m_limit;
    bool m_voiced = true;
};

} // namespace

void runTypingScript(FuzzedDataProvider &input, bool english)
{
    TypingScript script(input, TypingProfile::of(english ? TypingLanguage::English : TypingLanguage::Japanese));
    script.run();
}

} // namespace hoshi::fuzzing
