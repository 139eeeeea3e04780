// SPDX-License-Identifier: GPL-3.0-or-later
// The typing exercise with its practice text, followed by a small model: the
// counts, the time, the timer, the lock and the input follow the events, the
// current line is always in the table, a load names why it could not read a
// file and replaces the whole text or nothing, and each line, the end text
// and the score are said when they are due, in that order.

#include "platform/api/key_codes.h"
#include "fuzz/scripts/scripts.h"
#include "typing/typing_exercise.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <optional>
#include <tuple>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace hoshi::scripts {

namespace {

/// The whole text: its table, its file and where it stands.
auto textState(const PracticeText &text)
{
    std::vector<QString> lines;
    for (int i = 0; i < PracticeText::TableSize; ++i)
        lines.push_back(text.line(i));
    return std::tuple(lines, text.practiceFile(), text.lineNo(), text.lastLineNo());
}

/// Everything a load must leave alone.
auto runState(const TypingState &s)
{
    return std::tie(s.caption, s.input, s.inputLocked, s.jikan, s.maru, s.batsu, s.scoreLabel, s.scoreVisible,
                    s.keyGuide, s.barColour, s.barShare, s.timerOn);
}

/// The English window's voice: its hints go to the hint list, as the
/// Japanese window's do, so the ordered log holds what the exercise says.
class HintSortingVoice final : public Speaker {
public:
    HintSortingVoice(RecordingServices &log, const TypingHints &hints) : m_log(log), m_hints(hints) {}
    void speak(const QString &text) override
    {
        const TypingHints &h = m_hints;
        if (text == h.openFile || text == h.start || text == h.loaded || text == h.wrongLine || text == h.startOver)
            m_log.hintLog << text;
        else
            m_log.speak(text);
    }

private:
    RecordingServices &m_log;
    const TypingHints &m_hints;
};

/// One answer the file dialog may give, and why reading it must fail
/// (None: a file with some text, which may still be blank).
struct PoolEntry {
    QString path;
    PracticeReadError error = PracticeReadError::Missing;
};

class TypingScript : public Script {
public:
    TypingScript(ScriptInput &input, const TypingProfile &profile, bool careless)
        : m_input(input), m_random(input, careless), m_exercise(profile, log, log, m_random)
    {
        // A folder of its own per run, so a replay meets the same files.
        const QDir dir(m_folder.path());
        for (const char *name : {"one.txt", "two.txt", "three.txt", "never.txt"})
            m_pool.push_back({dir.filePath(QString::fromLatin1(name))});
        dir.mkpath(QStringLiteral("folder"));
        m_pool.push_back({dir.filePath(QStringLiteral("folder")), PracticeReadError::Folder});
#ifdef Q_OS_UNIX
        const QString fifo = dir.filePath(QStringLiteral("fifo"));
        if (::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0)
            m_pool.push_back({fifo, PracticeReadError::NotAFile});
#endif
    }

    void open()
    {
        const auto text = textState(m_exercise.text());
        m_exercise.close();
        HOSHI_FUZZ_CHECK(!state().timerOn);
        // The English window has a voice only where the system has one, made anew at every opening.
        m_voiced = profile().voice == TypingProfile::Voice::Announce || m_input.between(0, 7) != 0;
        m_exercise.setSpeaker(m_voiced ? &m_voice : nullptr);
        m_exercise.open();
        m_limit = std::nullopt;
        resetRun(180);
        HOSHI_FUZZ_CHECK(state().caption == profile().openingCaption && state().display.isEmpty() && state().input.isEmpty());
        HOSHI_FUZZ_CHECK(textState(m_exercise.text()) == text);
    }

    void step()
    {
        const TypingState before = state();
        switch (m_input.between(0, 17)) {
        case 0: return open();
        case 1: case 2: case 3: return pressEnter(before);
        case 4: case 5:
            // Ctrl says the line again; Esc starts over, silently.
            if (m_input.flip()) {
                m_exercise.keyDown(VkControl, pickModifiers(m_input));
                HOSHI_FUZZ_CHECK(state().display == m_exercise.text().currentLine());
                say(state().display);
            } else {
                m_exercise.keyDown(VkEscape, pickModifiers(m_input));
                resetRun(m_exercise.timeLimit());
                HOSHI_FUZZ_CHECK(state().display.isEmpty() && state().barShare == 1.0);
            }
            return;
        case 6:
            if (const int keyCode = pickKeyCode(m_input); keyCode != VkReturn && keyCode != VkControl && keyCode != VkEscape) {
                m_exercise.keyDown(keyCode, pickModifiers(m_input));
                HOSHI_FUZZ_CHECK(state().display == before.display);
            }
            return;
        case 7: case 8: case 9: return type(attempt());
        case 10: return tick();
        case 11:
            while (state().timerOn)
                tick();
            return;
        case 12: {
            // Mostly one minute, so that many runs reach time-up.
            static constexpr TimeLimitChoice choices[] = {TimeLimitChoice::OneMinute, TimeLimitChoice::OneMinute,
                                                          TimeLimitChoice::ThreeMinutes, TimeLimitChoice::FiveMinutes};
            m_limit = m_input.pick(choices);
            m_exercise.chooseTimeLimit(*m_limit);
            m_jikan = timeLimitEntry(*m_limit).seconds;
            return;
        }
        case 13: return changeFile();
        default: return load(before);
        }
    }

    void check() const
    {
        const TimeLimitEntry limit = timeLimitEntry(m_limit.value_or(TimeLimitChoice::ThreeMinutes));
        const PracticeText &text = m_exercise.text();
        HOSHI_FUZZ_CHECK(state().timerOn == m_running && state().inputLocked == m_locked && state().scoreVisible == m_locked);
        HOSHI_FUZZ_CHECK(m_exercise.maru() == m_maru && m_exercise.batsu() == m_batsu && m_exercise.jikan() == m_jikan);
        HOSHI_FUZZ_CHECK(m_locked || state().input == m_typed);
        HOSHI_FUZZ_CHECK(m_exercise.timeLimit() == limit.seconds && m_jikan >= 0 && m_jikan <= limit.seconds);
        HOSHI_FUZZ_CHECK(state().caption == (m_limit ? profile().captionFor(*m_limit) : profile().openingCaption));
        HOSHI_FUZZ_CHECK(state().barColour == limit.barColour && state().barShare >= 0.0 && state().barShare <= 1.0);
        // The countdown runs only with a text and time left.
        HOSHI_FUZZ_CHECK(!state().timerOn || (text.isLoaded() && m_jikan > 0));
        HOSHI_FUZZ_CHECK(state().display.isEmpty() || state().display == profile().gameOverText || state().display == text.currentLine());
        HOSHI_FUZZ_CHECK(text.lineNo() >= 0 && text.lineNo() < PracticeText::TableSize);
        HOSHI_FUZZ_CHECK(text.lastLineNo() >= -1 && text.lastLineNo() < PracticeText::TableSize);
        for (int i = text.lastLineNo() + 1; i < PracticeText::TableSize; ++i)
            HOSHI_FUZZ_CHECK(text.line(i).isEmpty());
    }

private:
    const TypingState &state() const { return m_exercise.state(); }
    const TypingProfile &profile() const { return m_exercise.profile(); }

    void resetRun(int jikan)
    {
        m_running = m_locked = false;
        m_maru = m_batsu = 0;
        m_jikan = jikan;
        m_typed.clear();
    }

    /// Saying a text: announced, spoken, or nothing without a voice.
    void say(const QString &text)
    {
        const bool speaks = profile().voice == TypingProfile::Voice::Speak;
        if (!speaks || m_voiced)
            expect(speaks ? Effect::Speak : Effect::Announce, text);
    }

    /// A try that is right, one character off, empty, or anything.
    QString attempt()
    {
        const QString display = state().display;
        switch (m_input.between(0, 5)) {
        case 0: return display + QStringLiteral("x");
        case 1: return display.left(display.size() - 1);
        case 2: return QString::fromStdString(m_input.text(12));
        default: return display;
        }
    }

    void pressEnter(const TypingState &before)
    {
        m_exercise.keyDown(VkReturn, pickModifiers(m_input));
        if (!m_exercise.text().isLoaded() || m_jikan == 0) {
            // Without a text, and after time-up, Enter does nothing but say how to open a text.
            HOSHI_FUZZ_CHECK(state().display == before.display);
            if (!m_exercise.text().isLoaded() && m_voiced)
                HOSHI_FUZZ_CHECK(log.hintLog.value(log.hintLog.size() - 1) == profile().hints.openFile);
            return;
        }
        m_running = true;
        if (before.input != before.display) {
            ++m_batsu;
            HOSHI_FUZZ_CHECK(state().display == before.display);
            expectCue(profile().wrongCue);
            return;
        }
        ++m_maru;
        m_typed.clear();
        HOSHI_FUZZ_CHECK(state().input.isEmpty() && state().display == m_exercise.text().currentLine());
        HOSHI_FUZZ_CHECK(m_exercise.text().lineNo() <= std::max(m_exercise.text().lastLineNo(), 0));
        say(state().display);
    }

    void type(const QString &text)
    {
        const TypingState before = state();
        m_exercise.inputChanged(text);
        if (!m_locked)
            m_typed = text;
        HOSHI_FUZZ_CHECK(state().input == (before.inputLocked ? before.input : text));
    }

    // The window's timer only ticks while it runs; the last tick locks the
    // input and says the end text and the score.
    void tick()
    {
        if (!state().timerOn)
            return;
        m_exercise.tick();
        --m_jikan;
        HOSHI_FUZZ_CHECK(state().barShare == static_cast<double>(m_jikan) / m_exercise.timeLimit());
        if (m_jikan > 0)
            return;
        m_running = false;
        m_locked = true;
        const QString score = profile().scorePrefix + QString::number((m_maru - 1) - m_batsu);
        HOSHI_FUZZ_CHECK(state().display == profile().gameOverText && state().scoreLabel == score);
        say(profile().gameOverText);
        say(score);
    }

    // The file system changes under the window: a practice file is rewritten
    // (any bytes, or lines of any bytes around the reader's line limit) or deleted.
    void changeFile()
    {
        PoolEntry &entry = m_pool[static_cast<std::size_t>(m_input.between(0, 2))];
        QFile::remove(entry.path);
        entry.error = PracticeReadError::Missing;
        if (m_input.between(0, 3) == 0)
            return;
        static constexpr int lineCounts[] = {0, 1, 2, 5, 100, 101, 150};
        QByteArray bytes;
        if (m_input.flip()) {
            bytes = QByteArray::fromStdString(m_input.bytes(static_cast<std::size_t>(m_input.between(0, 600))));
        } else {
            for (int i = m_input.pick(lineCounts); i > 0; --i)
                bytes += QByteArray::fromStdString(m_input.text(40)) + (m_input.flip() ? "\r\n" : "\n");
        }
        QFile file(entry.path);
        if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size())
            entry.error = PracticeReadError::None;
    }

    void load(const TypingState &before)
    {
        const auto textBefore = textState(m_exercise.text());
        // A cancelled dialog reads the file loaded before again.
        const bool cancelled = m_input.between(0, 9) == 0;
        const QString answer = cancelled ? QString() : m_pool[static_cast<std::size_t>(m_input.between(0, static_cast<int>(m_pool.size()) - 1))].path;
        const QString path = cancelled ? std::get<1>(textBefore) : answer;
        const std::optional<PracticeFileContent> content = m_exercise.loadChosenFile(answer);
        HOSHI_FUZZ_CHECK(runState(state()) == runState(before));
        HOSHI_FUZZ_CHECK(content.has_value() == !path.isEmpty());
        const auto entry = std::find_if(m_pool.begin(), m_pool.end(), [&path](const PoolEntry &e) { return e.path == path; });
        // Any bytes may hold nothing to type.
        if (content && entry != m_pool.end() && !(entry->error == PracticeReadError::None && content->error == PracticeReadError::Blank))
            HOSHI_FUZZ_CHECK(content->error == entry->error);
        const PracticeText &text = m_exercise.text();
        if (!content || !content->ok()) {
            HOSHI_FUZZ_CHECK(textState(text) == textBefore && state().display == before.display);
            return;
        }
        // Lines a child can type: no control character (a tab became a space), some not blank.
        HOSHI_FUZZ_CHECK(content->lines.size() <= PracticeText::TableSize);
        const auto control = [](QChar c) { return c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F); };
        bool somethingToType = false;
        for (const QString &line : content->lines) {
            HOSHI_FUZZ_CHECK(line.size() <= PracticeLineLengthLimit && std::none_of(line.begin(), line.end(), control));
            somethingToType = somethingToType || !line.trimmed().isEmpty();
        }
        HOSHI_FUZZ_CHECK(somethingToType && text.practiceFile() == path);
        HOSHI_FUZZ_CHECK(text.lastLineNo() == static_cast<int>(content->lines.size()) - 1);
        HOSHI_FUZZ_CHECK(text.lineNo() == 1 && state().display.isEmpty());
        for (int i = 0; i < PracticeText::TableSize; ++i)
            HOSHI_FUZZ_CHECK(text.line(i) == content->lines.value(i));
    }

    ScriptInput &m_input;
    InputRandom m_random;
    TypingExercise m_exercise;
    HintSortingVoice m_voice{log, m_exercise.profile().hints};
    QTemporaryDir m_folder;
    std::vector<PoolEntry> m_pool;
    std::optional<TimeLimitChoice> m_limit;
    bool m_running = false, m_locked = false, m_voiced = true;
    int m_maru = 0, m_batsu = 0, m_jikan = 180;
    QString m_typed;
};

} // namespace

void runTypingScript(ScriptInput &input, bool english)
{
    const bool careless = input.flip();
    drive(input, TypingScript(input, TypingProfile::of(english ? TypingLanguage::English : TypingLanguage::Japanese), careless));
}

} // namespace hoshi::scripts
