// SPDX-License-Identifier: GPL-3.0-or-later
#include "typing/typing_exercise.h"

#include "platform/api/interfaces.h"
#include "platform/api/key_codes.h"
#include "platform/api/random_source.h"

#include <QFileInfo>

#include <algorithm>

namespace hoshi {

namespace {

QString keyGuideText()
{
    return QStringLiteral("Esc:RESET\r\nCtrl:REPEAT");
}

} // namespace

QString TypingState::timeLabel() const
{
    return QStringLiteral("TIME ") + QString::number(jikan);
}

QString TypingState::maruLabel() const
{
    return QStringLiteral("○ ") + QString::number(std::max(maru - 1, 0));
}

QString TypingState::batsuLabel() const
{
    return QStringLiteral("× ") + QString::number(batsu);
}

TypingExercise::TypingExercise(const TypingProfile &profile, Announcer &announcer, CuePlayer &cues,
                               RandomSource &random, RunRecorder *recorder)
    : m_profile(profile)
    , m_announcer(announcer)
    , m_cues(cues)
    , m_random(random)
    , m_recorder(recorder)
{
    resetWindow();
}

void TypingExercise::open()
{
    resetWindow();
    sayHint(m_text.isLoaded() ? m_profile.hints.start : m_profile.hints.openFile);
}

void TypingExercise::resetWindow()
{
    const TimeLimitEntry threeMinutes = timeLimitEntry(TimeLimitChoice::ThreeMinutes);
    m_timeLimit = threeMinutes.seconds;
    m_state = TypingState{};
    m_state.jikan = threeMinutes.seconds;
    m_state.caption = m_profile.openingCaption;
    m_state.barColour = threeMinutes.barColour;
    m_state.keyGuide = keyGuideText();
}

void TypingExercise::close()
{
    if (m_state.timerOn) {
        RunRecord run = runRecord();
        run.cutShort = true;
        keepRun(m_recorder, run);
    }
    m_state.timerOn = false;
}

bool TypingExercise::keyDown(int keyCode, int /*modifiers: Shift+Enter is Enter too*/)
{
    switch (keyCode) {
    case VkReturn: pressEnter(); return true;
    case VkControl: repeatLine(); return true;
    case VkEscape: reset(); return true;
    default: return false;
    }
}

void TypingExercise::inputChanged(const QString &text)
{
    if (!m_state.inputLocked)
        m_state.input = text;
}

void TypingExercise::pressEnter()
{
    if (!m_text.isLoaded()) {
        // Nothing to draw yet: the voice says how to get a text.
        sayHint(m_profile.hints.openFile);
        return;
    }
    if (m_state.jikan == 0)
        return; // after time-up Enter does nothing, and the timer stays off
    if (!m_state.timerOn && m_state.maru == 0) {
        m_started = QDateTime::currentDateTime();
        m_charactersRight = 0;
    }
    m_state.timerOn = true;
    checkInput();
}

void TypingExercise::checkInput()
{
    if (m_state.input == m_state.display) {
        ++m_state.maru;
        m_charactersRight += static_cast<int>(m_state.display.size());
            m_state.input.clear();
        drawLine();
        return;
    }
    ++m_state.batsu;
    m_cues.playCue(m_profile.wrongCue);
    sayHint(m_profile.hints.wrongLine);
}

void TypingExercise::repeatLine()
{
    m_state.display = m_text.currentLine();
    say(m_state.display);
}

void TypingExercise::reset()
{
    m_state.display.clear();
    m_state.inputLocked = false;
    m_state.input.clear();
    m_state.maru = 0;
    m_state.batsu = 0;
    m_state.scoreVisible = false;
    m_state.jikan = m_timeLimit;
    m_state.barShare = 1.0;
    m_state.timerOn = false;
    sayHint(m_profile.hints.startOver);
}

void TypingExercise::drawLine()
{
    m_state.display = m_text.drawLine(m_random);
    say(m_state.display);
}

void TypingExercise::tick()
{
    if (m_state.jikan <= 0) {
        m_state.timerOn = false;
        return;
    }
    --m_state.jikan;
    if (!m_text.isLoaded())
        m_state.timerOn = false;
    if (m_state.jikan == 0)
        endRun();
    m_state.barShare = static_cast<double>(m_state.jikan) / m_timeLimit;
}

void TypingExercise::endRun()
{
    m_state.timerOn = false;
    m_state.inputLocked = true;
    m_state.display = m_profile.gameOverText;
    say(m_state.display);
    m_state.scoreVisible = true;
    m_state.scoreLabel = m_profile.scorePrefix + QString::number((m_state.maru - 1) - m_state.batsu);
    say(m_state.scoreLabel);
    const QString standing = keepRun(m_recorder, runRecord());
    if (!standing.isEmpty())
        sayHint(standing);
}

RunRecord TypingExercise::runRecord() const
{
    RunRecord run;
    // The English window is the one that speaks with a voice of its own.
    const bool english = m_profile.voice == TypingProfile::Voice::Speak;
    run.mode = english ? QStringLiteral("frmEnglish") : QStringLiteral("frmJapanese");
    run.language = english ? RunLanguage::English : RunLanguage::Japanese;
    run.started = m_started;
    run.seconds = m_timeLimit - m_state.jikan;
    // The press that started the run counts as a hit on screen but is no line.
    run.linesRight = std::max(m_state.maru - 1, 0);
    run.linesWrong = m_state.batsu;
    run.hits = run.linesRight;
    run.misses = run.linesWrong;
    run.score = run.linesRight - run.linesWrong;
    run.characters = m_charactersRight;
    if (run.seconds > 0)
        run.charsPerMinute = run.characters * 60.0 / run.seconds;
    if (run.linesRight + run.linesWrong > 0)
        run.accuracy = double(run.linesRight) / (run.linesRight + run.linesWrong);
    run.practiceFile = QFileInfo(m_text.practiceFile()).fileName();
    return run;
}

void TypingExercise::chooseTimeLimit(TimeLimitChoice choice)
{
    const TimeLimitEntry entry = timeLimitEntry(choice);
    m_state.jikan = entry.seconds;
    m_timeLimit = entry.seconds;
    m_state.barColour = entry.barColour;
    m_state.caption = m_profile.captionFor(choice);
}

std::optional<PracticeFileContent> TypingExercise::loadChosenFile(const QString &dialogAnswer)
{
    // A cancelled dialog answers with the file chosen before, if any.
    const QString path = dialogAnswer.isEmpty() ? m_text.practiceFile() : dialogAnswer;
    if (path.isEmpty())
        return std::nullopt;
    PracticeFileContent content = m_text.load(path);
    if (content.ok()) {
        m_state.display.clear();
        sayHint(m_profile.hints.loaded);
    }
    return content;
}

void TypingExercise::say(const QString &text)
{
    if (m_profile.voice == TypingProfile::Voice::Announce)
        m_announcer.announce(text);
    else if (m_speaker)
        m_speaker->speak(text);
}

void TypingExercise::sayMenuHint(const QString &text)
{
    if (m_profile.voice == TypingProfile::Voice::Announce)
        m_announcer.menuHint(text);
    else if (m_speaker)
        m_speaker->speak(text);
}

void TypingExercise::sayJapanese(const QString &text)
{
    if (m_profile.voice == TypingProfile::Voice::Announce)
        m_announcer.announce(text);
    else
        m_announcer.hint(text);
}

void TypingExercise::sayHint(const QString &text)
{
    if (m_profile.voice == TypingProfile::Voice::Announce)
        m_announcer.hint(text);
    else if (m_speaker)
        m_speaker->speak(text);
}

} // namespace hoshi
