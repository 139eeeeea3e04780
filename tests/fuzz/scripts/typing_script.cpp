// SPDX-License-Identifier: GPL-3.0-or-later
// The typing exercise with its practice text, followed by a small model: the
// counts, the time, the timer, the lock and the input follow the events, the
// labels match them, the current line is always in the table, a load names
// why it could not read a file and replaces the whole text or nothing, and each line, the end text and the score are said
// when they are due, in that order.

#include "platform/api/key_codes.h"
#include "fuzz/scripts/scripts.h"
#include "support/fakes.h"
#include "typing/typing_exercise.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <vector>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace hoshi::scripts {

namespace {

using testing::Effect;
using testing::RecordingServices;

std::vector<QString> tableOf(const PracticeText &text)
{
    std::vector<QString> lines;
    for (int i = 0; i < PracticeText::TableSize; ++i)
        lines.push_back(text.line(i));
    return lines;
}

bool sameRunState(const TypingState &a, const TypingState &b)
{
    return a.caption == b.caption && a.input == b.input && a.inputLocked == b.inputLocked
        && a.jikan == b.jikan && a.maru == b.maru && a.batsu == b.batsu
        && a.scoreLabel == b.scoreLabel && a.scoreVisible == b.scoreVisible && a.keyGuide == b.keyGuide
        && a.barColour == b.barColour && a.barShare == b.barShare && a.timerOn == b.timerOn;
}

/// The English window's voice: its hints go to the hint list, as the
/// Japanese window's do, so the ordered log holds what the exercise says.
class HintSortingVoice final : public Speaker {
public:
    HintSortingVoice(RecordingServices &log, const TypingHints &hints) : m_log(log), m_hints(hints) {}
    void speak(const QString &text) override
    {
        const bool hint = text == m_hints.openFile || text == m_hints.start || text == m_hints.loaded
                       || text == m_hints.wrongLine || text == m_hints.startOver;
        if (hint)
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
    PracticeReadError error = PracticeReadError::None;
};

/// What the exercise should hold, followed event by event.
struct Model {
    bool running = false;
    bool locked = false;
    int maru = 0;
    int batsu = 0;
    int jikan = 180;
    QString input;
};

class TypingScript {
public:
    TypingScript(ScriptInput &input, const TypingProfile &profile, bool careless)
        : m_input(input), m_random(input, careless), m_exercise(profile, m_log, m_log, m_random)
    {
        makePool();
    }

    void run()
    {
        open();
        while (m_input.nextEvent()) {
            step();
            checkState();
        }
    }

private:
    const TypingState &state() const { return m_exercise.state(); }

    void makePool()
    {
        // A folder of its own per run, so a replay meets the same files.
        const QDir dir(m_folder.path());
        for (const char *name : {"one.txt", "two.txt", "three.txt"})
            m_pool.push_back({dir.filePath(QString::fromLatin1(name)), PracticeReadError::Missing});
        const QString folder = dir.filePath(QStringLiteral("folder"));
        dir.mkpath(folder);
        m_pool.push_back({folder, PracticeReadError::Folder});
        m_pool.push_back({dir.filePath(QStringLiteral("never.txt")), PracticeReadError::Missing});
#ifdef Q_OS_UNIX
        const QString fifo = dir.filePath(QStringLiteral("fifo"));
        if (::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0)
            m_pool.push_back({fifo, PracticeReadError::NotAFile});
#endif
    }

    void step()
    {
        const std::size_t logSize = m_log.log.size();
        switch (m_input.between(0, 17)) {
        case 0: open(); break;
        case 1: case 2: case 3: pressEnter(logSize); break;
        case 4: pressCtrl(logSize); break;
        case 5: pressEsc(logSize); break;
        case 6: pressOther(logSize); break;
        case 7: case 8: type(state().display); break;
        case 9: type(mistyped()); break;
        case 10: tick(logSize); break;
        case 11:
            while (state().timerOn)
                tick(m_log.log.size());
            break;
        case 12: chooseTimeLimit(logSize); break;
        case 13: changeFile(logSize); break;
        default: load(); break;
        }
    }

    void open()
    {
        const std::size_t logSize = m_log.log.size();
        const PracticeText text = m_exercise.text();
        m_exercise.close();
        HOSHI_SCRIPT_CHECK(!state().timerOn);
        // The English window has a voice only where the system has one; it is made anew at every opening.
        m_voiced = m_exercise.profile().voice == TypingProfile::Voice::Announce || m_input.between(0, 7) != 0;
        m_exercise.setSpeaker(m_voiced ? &m_voice : nullptr);
        m_exercise.open();
        m_limit = std::nullopt;
        m_model = Model{};
        HOSHI_SCRIPT_CHECK(state().caption == m_exercise.profile().openingCaption);
        HOSHI_SCRIPT_CHECK(state().display.isEmpty() && state().input.isEmpty());
        HOSHI_SCRIPT_CHECK(tableOf(m_exercise.text()) == tableOf(text));
        HOSHI_SCRIPT_CHECK(m_log.log.size() == logSize);
        checkState();
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

    QString mistyped()
    {
        const QString display = state().display;
        switch (m_input.between(0, 3)) {
        case 0: return display + QStringLiteral("x");
        case 1: return display.left(std::max<qsizetype>(display.size() - 1, 0));
        case 2: return QString();
        default: return QString::fromStdString(m_input.text(12));
        }
    }

    void pressEnter(std::size_t logSize)
    {
        const TypingState before = state();
        m_exercise.keyDown(VkReturn, pickModifiers(m_input));
        if (!m_exercise.text().isLoaded() || m_model.jikan == 0) {
            // Without a text, and after time-up, Enter does nothing; without a text the voice
            // says how to open one.
            HOSHI_SCRIPT_CHECK(m_log.log.size() == logSize && state().display == before.display);
            if (!m_exercise.text().isLoaded() && m_voiced)
                HOSHI_SCRIPT_CHECK(m_log.hintLog.value(m_log.hintLog.size() - 1) == m_exercise.profile().hints.openFile);
            return;
        }
        m_model.running = true;
        if (before.input == before.display) {
            ++m_model.maru;
            m_model.input.clear();
            HOSHI_SCRIPT_CHECK(state().input.isEmpty() && state().display == m_exercise.text().currentLine());
            const int last = std::max(m_exercise.text().lastLineNo(), 0);
            HOSHI_SCRIPT_CHECK(m_exercise.text().lineNo() >= 0 && m_exercise.text().lineNo() <= last);
            HOSHI_SCRIPT_CHECK(m_log.effectsSince(logSize) == said({state().display}));
        } else {
            ++m_model.batsu;
            HOSHI_SCRIPT_CHECK(state().display == before.display);
            const std::vector<Effect> wrong{{Effect::Cue, {}, m_exercise.profile().wrongCue}};
            HOSHI_SCRIPT_CHECK(m_log.effectsSince(logSize) == wrong);
        }
    }

    void pressCtrl(std::size_t logSize)
    {
        m_exercise.keyDown(VkControl, pickModifiers(m_input));
        HOSHI_SCRIPT_CHECK(state().display == m_exercise.text().currentLine());
        HOSHI_SCRIPT_CHECK(m_log.effectsSince(logSize) == said({state().display}));
    }

    void pressEsc(std::size_t logSize)
    {
        m_exercise.keyDown(VkEscape, pickModifiers(m_input));
        m_model = Model{false, false, 0, 0, m_exercise.timeLimit(), QString()};
        HOSHI_SCRIPT_CHECK(state().display.isEmpty() && state().barShare == 1.0);
        HOSHI_SCRIPT_CHECK(m_log.log.size() == logSize);
    }

    void pressOther(std::size_t logSize)
    {
        const int keyCode = pickKeyCode(m_input);
        if (keyCode == VkReturn || keyCode == VkControl || keyCode == VkEscape)
            return;
        const TypingState before = state();
        m_exercise.keyDown(keyCode, pickModifiers(m_input));
        HOSHI_SCRIPT_CHECK(state().display == before.display);
        HOSHI_SCRIPT_CHECK(m_log.log.size() == logSize);
    }

    void type(const QString &text)
    {
        const std::size_t logSize = m_log.log.size();
        const TypingState before = state();
        m_exercise.inputChanged(text);
        if (!m_model.locked)
            m_model.input = text;
        HOSHI_SCRIPT_CHECK(state().input == (before.inputLocked ? before.input : text));
        HOSHI_SCRIPT_CHECK(m_log.log.size() == logSize);
    }

    // The window's timer only ticks while it runs.
    void tick(std::size_t logSize)
    {
        if (!state().timerOn)
            return;
        m_exercise.tick();
        --m_model.jikan;
        HOSHI_SCRIPT_CHECK(state().barShare == static_cast<double>(m_model.jikan) / m_exercise.timeLimit());
        if (m_model.jikan > 0) {
            HOSHI_SCRIPT_CHECK(m_log.log.size() == logSize);
            return;
        }
        m_model.running = false;
        m_model.locked = true;
        const TypingProfile &profile = m_exercise.profile();
        HOSHI_SCRIPT_CHECK(state().display == profile.gameOverText);
        const QString score = profile.scorePrefix + QString::number((m_model.maru - 1) - m_model.batsu);
        HOSHI_SCRIPT_CHECK(state().scoreLabel == score);
        HOSHI_SCRIPT_CHECK(m_log.effectsSince(logSize) == said({profile.gameOverText, score}));
    }

    void chooseTimeLimit(std::size_t logSize)
    {
        // Mostly one minute, so that many runs reach time-up.
        static constexpr TimeLimitChoice choices[] = {TimeLimitChoice::OneMinute, TimeLimitChoice::OneMinute,
                                                      TimeLimitChoice::ThreeMinutes, TimeLimitChoice::FiveMinutes};
        const TimeLimitChoice choice = m_input.pick(choices);
        m_exercise.chooseTimeLimit(choice);
        m_limit = choice;
        m_model.jikan = timeLimitEntry(choice).seconds;
        HOSHI_SCRIPT_CHECK(m_log.log.size() == logSize);
    }

    // The file system changes under the window: a practice file is rewritten
    // (any bytes, or lines of any bytes around the reader's line limit) or deleted.
    void changeFile(std::size_t logSize)
    {
        PoolEntry &entry = m_pool[static_cast<std::size_t>(m_input.between(0, 2))];
        QFile::remove(entry.path);
        entry.error = PracticeReadError::Missing;
        if (m_input.between(0, 3) != 0) {
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
        HOSHI_SCRIPT_CHECK(m_log.log.size() == logSize);
    }

    const PoolEntry *entryAt(const QString &path) const
    {
        const auto found = std::find_if(m_pool.begin(), m_pool.end(), [&path](const PoolEntry &e) { return e.path == path; });
        return found == m_pool.end() ? nullptr : &*found;
    }

    void load()
    {
        const std::vector<QString> tableBefore = tableOf(m_exercise.text());
        const QString fileBefore = m_exercise.text().practiceFile();
        const int lineNoBefore = m_exercise.text().lineNo();
        const int lastLineNoBefore = m_exercise.text().lastLineNo();
        const TypingState before = state();
        const std::size_t logSize = m_log.log.size();
        // A cancelled dialog reads the file loaded before again.
        const bool cancelled = m_input.between(0, 9) == 0;
        const QString answer = cancelled ? QString() : m_pool[static_cast<std::size_t>(m_input.between(0, static_cast<int>(m_pool.size()) - 1))].path;
        const QString path = cancelled ? fileBefore : answer;
        const std::optional<PracticeFileContent> content = m_exercise.loadChosenFile(answer);
        HOSHI_SCRIPT_CHECK(m_log.log.size() == logSize);
        HOSHI_SCRIPT_CHECK(sameRunState(state(), before));
        HOSHI_SCRIPT_CHECK(content.has_value() == !path.isEmpty());
        const PoolEntry *entry = entryAt(path);
        // Any bytes may hold nothing to type.
        if (content && entry && !(entry->error == PracticeReadError::None && content->error == PracticeReadError::Blank))
            HOSHI_SCRIPT_CHECK(content->error == entry->error);
        if (!content || !content->ok()) {
            // Nothing loaded: the text and the display stay as they were.
            HOSHI_SCRIPT_CHECK(tableOf(m_exercise.text()) == tableBefore);
            HOSHI_SCRIPT_CHECK(m_exercise.text().practiceFile() == fileBefore && state().display == before.display);
            HOSHI_SCRIPT_CHECK(m_exercise.text().lineNo() == lineNoBefore);
            HOSHI_SCRIPT_CHECK(m_exercise.text().lastLineNo() == lastLineNoBefore);
            return;
        }
        // Lines a child can type: no control character (a tab became a space), some not blank.
        HOSHI_SCRIPT_CHECK(content->lines.size() <= PracticeText::TableSize);
        bool somethingToType = false;
        for (const QString &line : content->lines) {
            HOSHI_SCRIPT_CHECK(line.size() <= PracticeLineLengthLimit);
            HOSHI_SCRIPT_CHECK(std::none_of(line.begin(), line.end(), [](QChar c) { return c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F); }));
            somethingToType = somethingToType || !line.trimmed().isEmpty();
        }
        HOSHI_SCRIPT_CHECK(somethingToType);
        const PracticeText &text = m_exercise.text();
        HOSHI_SCRIPT_CHECK(text.practiceFile() == path);
        HOSHI_SCRIPT_CHECK(text.lastLineNo() == static_cast<int>(content->lines.size()) - 1);
        HOSHI_SCRIPT_CHECK(text.lineNo() == 1 && state().display.isEmpty());
        for (int i = 0; i < PracticeText::TableSize; ++i)
            HOSHI_SCRIPT_CHECK(text.line(i) == content->lines.value(i));
    }

    void checkState() const
    {
        const TypingProfile &profile = m_exercise.profile();
        const TimeLimitEntry limit = timeLimitEntry(m_limit.value_or(TimeLimitChoice::ThreeMinutes));
        HOSHI_SCRIPT_CHECK(state().timerOn == m_model.running);
        HOSHI_SCRIPT_CHECK(state().inputLocked == m_model.locked && state().scoreVisible == m_model.locked);
        HOSHI_SCRIPT_CHECK(m_exercise.maru() == m_model.maru && m_exercise.batsu() == m_model.batsu);
        HOSHI_SCRIPT_CHECK(m_exercise.jikan() == m_model.jikan);
        if (!m_model.locked)
            HOSHI_SCRIPT_CHECK(state().input == m_model.input);
        HOSHI_SCRIPT_CHECK(m_exercise.timeLimit() == limit.seconds);
        HOSHI_SCRIPT_CHECK(m_exercise.jikan() >= 0 && m_exercise.jikan() <= limit.seconds);
        HOSHI_SCRIPT_CHECK(state().caption == (m_limit ? profile.captionFor(*m_limit) : profile.openingCaption));
        HOSHI_SCRIPT_CHECK(state().barColour == limit.barColour);
        HOSHI_SCRIPT_CHECK(state().barShare >= 0.0 && state().barShare <= 1.0);
        // The countdown runs only with a text and time left.
        HOSHI_SCRIPT_CHECK(!state().timerOn || (m_exercise.text().isLoaded() && m_exercise.jikan() > 0));
        const PracticeText &text = m_exercise.text();
        HOSHI_SCRIPT_CHECK(state().display.isEmpty() || state().display == profile.gameOverText
                           || state().display == text.currentLine());
        HOSHI_SCRIPT_CHECK(text.lineNo() >= 0 && text.lineNo() < PracticeText::TableSize);
        HOSHI_SCRIPT_CHECK(text.lastLineNo() >= -1 && text.lastLineNo() < PracticeText::TableSize);
        for (int i = text.lastLineNo() + 1; i < PracticeText::TableSize; ++i)
            HOSHI_SCRIPT_CHECK(text.line(i).isEmpty());
    }

    ScriptInput &m_input;
    RecordingServices m_log;
    InputRandom m_random;
    TypingExercise m_exercise;
    HintSortingVoice m_voice{m_log, m_exercise.profile().hints};
    QTemporaryDir m_folder;
    std::vector<PoolEntry> m_pool;
    std::optional<TimeLimitChoice> m_limit;
    Model m_model;
    bool m_voiced = true;
};

} // namespace

void runTypingScript(ScriptInput &input, bool english)
{
    const bool drawsCarelessly = input.flip();
    TypingScript script(input, TypingProfile::of(english ? TypingLanguage::English : TypingLanguage::Japanese),
                        drawsCarelessly);
    script.run();
}

} // namespace hoshi::scripts
