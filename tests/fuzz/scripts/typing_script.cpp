// SPDX-License-Identifier: GPL-3.0-or-later
// The typing exercise against a small model: the counts, the time, the timer,
// the lock, the input and the whole practice text follow the events (a load
// replaces all of the text or nothing; a file that cannot be read is rejected
// with a message), and lines, hints, the end text and the score are said in order.

#include "platform/api/key_codes.h"
#include "fuzz/scripts/scripts.h"
#include "typing/typing_exercise.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <optional>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace hoshi::scripts {

namespace {

/// A file the dialog may answer, and why reading it must fail (None: some text, maybe blank).
struct PoolEntry {
    QString path;
    PracticeReadError error = PracticeReadError::Missing;
};

class TypingScript : public Script {
public:
    TypingScript(ScriptInput &input, const TypingProfile &profile)
        : m_input(input), m_random(input), m_exercise(profile, log, log, m_random)
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
        m_exercise.close();
        // The English window has a voice only where the system has one, made anew at every opening.
        m_voiced = !speaks() || m_input.between(0, 7) != 0;
        m_exercise.setSpeaker(m_voiced ? &log : nullptr);
        m_exercise.open();
        m_limit = std::nullopt;
        resetRun(180);
        say(m_file.isEmpty() ? profile().hints.openFile : profile().hints.start, true);
    }

    void step()
    {
        const QString shown = state().display;
        switch (m_input.between(0, 17)) {
        case 0: return open();
        case 1: case 2: case 3: return pressEnter();
        case 4: case 5:
            // Ctrl says the line again; Esc starts over.
            if (m_input.flip()) {
                m_exercise.keyDown(VkControl, pickModifiers(m_input));
                HOSHI_FUZZ_CHECK(state().display == m_exercise.text().currentLine());
                return say(state().display);
            }
            m_exercise.keyDown(VkEscape, pickModifiers(m_input));
            resetRun(m_exercise.timeLimit());
            HOSHI_FUZZ_CHECK(state().display.isEmpty() && state().barShare == 1.0);
            return say(profile().hints.startOver, true);
        case 6:
            if (const int keyCode = pickKeyCode(m_input); keyCode != VkReturn && keyCode != VkControl && keyCode != VkEscape) {
                const bool handled = m_exercise.keyDown(keyCode, pickModifiers(m_input));
                HOSHI_FUZZ_CHECK(!handled && state().display == shown);
            }
            return;
        case 7: case 8: case 9: return type();
        case 10: return tick();
        case 11:
            while (state().timerOn)
                tick();
            return;
        case 12: {
            // Mostly one minute, so that many runs reach time-up.
            using enum TimeLimitChoice;
            static constexpr TimeLimitChoice choices[] = {OneMinute, OneMinute, ThreeMinutes, FiveMinutes};
            m_limit = m_input.pick(choices);
            m_exercise.chooseTimeLimit(*m_limit);
            m_jikan = timeLimitEntry(*m_limit).seconds;
            return;
        }
        case 13: return changeFile();
        default: return load(shown);
        }
    }

    void check() const
    {
        const PracticeText &text = m_exercise.text();
        const int limit = timeLimitEntry(m_limit.value_or(TimeLimitChoice::ThreeMinutes)).seconds;
        HOSHI_FUZZ_CHECK(state().timerOn == m_running && state().inputLocked == m_locked && state().scoreVisible == m_locked);
        HOSHI_FUZZ_CHECK(m_exercise.maru() == m_maru && m_exercise.batsu() == m_batsu && m_exercise.jikan() == m_jikan);
        HOSHI_FUZZ_CHECK(m_exercise.timeLimit() == limit && m_jikan >= 0 && m_jikan <= limit && state().input == m_typed);
        // The countdown runs only with a text and time left; what is shown is a line of the text.
        HOSHI_FUZZ_CHECK(!state().timerOn || (text.isLoaded() && m_jikan > 0));
        HOSHI_FUZZ_CHECK(state().display.isEmpty() || state().display == profile().gameOverText || state().display == text.currentLine());
        HOSHI_FUZZ_CHECK(text.practiceFile() == m_file && text.lastLineNo() == std::max<int>(m_lines.size() - 1, 0));
        HOSHI_FUZZ_CHECK(text.lineNo() >= 0 && text.lineNo() <= std::max(text.lastLineNo(), 1));
        for (int i = 0; i < PracticeText::TableSize; ++i)
            HOSHI_FUZZ_CHECK(text.line(i) == m_lines.value(i));
    }

private:
    const TypingState &state() const { return m_exercise.state(); }
    const TypingProfile &profile() const { return m_exercise.profile(); }
    bool speaks() const { return profile().voice == TypingProfile::Voice::Speak; }

    void resetRun(int jikan)
    {
        m_running = m_locked = false;
        m_maru = m_batsu = 0;
        m_jikan = jikan;
        m_typed.clear();
    }

    /// A text the window says: announced, or spoken where the English window has a
    /// voice. A hint is heard only: spoken in English, kept off the log in Japanese.
    void say(const QString &text, bool hint = false)
    {
        if (speaks() ? m_voiced : !hint)
            expect(speaks() ? Effect::Speak : Effect::Announce, text);
    }

    // Without a text Enter says how to open one; after time-up it does nothing;
    // else the input is judged, and a right one draws and says the next line.
    void pressEnter()
    {
        const TypingState before = state();
        m_exercise.keyDown(VkReturn, pickModifiers(m_input));
        const PracticeText &text = m_exercise.text();
        if (!text.isLoaded())
            say(profile().hints.openFile, true);
        const bool judged = text.isLoaded() && m_jikan > 0, right = judged && before.input == before.display;
        m_running = m_running || judged;
        if (!right) {
            HOSHI_FUZZ_CHECK(state().display == before.display);
            if (judged) {
                ++m_batsu;
                expectCue(profile().wrongCue);
                say(profile().hints.wrongLine, true);
            }
            return;
        }
        ++m_maru;
        m_typed.clear();
        HOSHI_FUZZ_CHECK(state().display == text.currentLine() && text.lineNo() <= text.lastLineNo());
        say(state().display);
    }

    /// A try that is right, one character off, empty, or anything; a locked input keeps its text.
    void type()
    {
        QString text = state().display;
        switch (m_input.between(0, 5)) {
        case 0: text += QStringLiteral("x"); break;
        case 1: text.chop(1); break;
        case 2: text = QString::fromStdString(m_input.ConsumeRandomLengthString(12)); break;
        }
        m_exercise.inputChanged(text);
        if (!m_locked)
            m_typed = text;
    }

    // The timer only ticks while it runs; the last tick locks the input and says the end text and the score.
    void tick()
    {
        if (!state().timerOn)
            return;
        m_exercise.tick();
        HOSHI_FUZZ_CHECK(state().barShare == static_cast<double>(--m_jikan) / m_exercise.timeLimit());
        if (m_jikan > 0)
            return;
        m_running = false;
        m_locked = true;
        const QString score = profile().scorePrefix + QString::number((m_maru - 1) - m_batsu);
        HOSHI_FUZZ_CHECK(state().display == profile().gameOverText && state().scoreLabel == score);
        say(profile().gameOverText);
        say(score);
    }

    // The file system changes under the window: a practice file is deleted, or
    // rewritten as lines of any bytes (where the bytes decoding is the practice
    // file fuzzer's), a count of them around the reader's line limit.
    void changeFile()
    {
        PoolEntry &entry = m_pool[static_cast<std::size_t>(m_input.between(0, 2))];
        QFile::remove(entry.path);
        entry.error = PracticeReadError::Missing;
        if (m_input.between(0, 3) == 0)
            return;
        static constexpr int lineCounts[] = {0, 1, 2, 5, 100, 101, 150};
        QByteArray bytes;
        for (int i = m_input.pick(lineCounts); i > 0; --i)
            bytes += QByteArray::fromStdString(m_input.ConsumeRandomLengthString(40)) + (m_input.flip() ? "\r\n" : "\n");
        QFile file(entry.path);
        if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size())
            entry.error = PracticeReadError::None;
    }

    // A cancelled dialog reads the file loaded before again. Any bytes may hold
    // nothing to type; what cannot be read is rejected with a message.
    void load(const QString &shown)
    {
        const bool cancelled = m_input.between(0, 9) == 0;
        const int chosen = cancelled ? m_loaded : m_input.between(0, static_cast<int>(m_pool.size()) - 1);
        const QString answer = cancelled ? QString() : m_pool[static_cast<std::size_t>(chosen)].path;
        const std::optional<PracticeFileContent> content = m_exercise.loadChosenFile(answer);
        HOSHI_FUZZ_CHECK(content.has_value() == (chosen >= 0));
        if (!content)
            return;
        const auto [path, error] = m_pool[static_cast<std::size_t>(chosen)];
        HOSHI_FUZZ_CHECK(content->error == error || (error == PracticeReadError::None && content->error == PracticeReadError::Blank));
        if (!content->ok()) {
            HOSHI_FUZZ_CHECK(!profile().loadMessages(*content).value(0).isEmpty() && state().display == shown);
            return;
        }
        // Lines a child can type: no control character (a tab became a space), some not blank.
        const auto control = [](QChar c) { return c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F); };
        bool somethingToType = false;
        for (const QString &line : content->lines) {
            HOSHI_FUZZ_CHECK(line.size() <= PracticeLineLengthLimit && std::none_of(line.begin(), line.end(), control));
            somethingToType = somethingToType || !line.trimmed().isEmpty();
        }
        HOSHI_FUZZ_CHECK(somethingToType && state().display.isEmpty() && m_exercise.text().lineNo() == 1);
        m_loaded = chosen;
        m_file = path;
        m_lines = content->lines;
        say(profile().hints.loaded, true);
    }

    ScriptInput &m_input;
    InputRandom m_random;
    TypingExercise m_exercise;
    QTemporaryDir m_folder;
    std::vector<PoolEntry> m_pool;
    std::optional<TimeLimitChoice> m_limit;
    bool m_running = false, m_locked = false, m_voiced = true;
    int m_maru = 0, m_batsu = 0, m_jikan = 180, m_loaded = -1;
    QString m_typed, m_file; ///< the model's input and practice file
    QStringList m_lines;     ///< the model's practice text
};

} // namespace

void runTypingScript(ScriptInput &input, bool english)
{
    drive(TypingScript(input, TypingProfile::of(english ? TypingLanguage::English : TypingLanguage::Japanese)), input);
}

} // namespace hoshi::scripts
