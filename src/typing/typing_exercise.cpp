// SPDX-License-Identifier: GPL-3.0-or-later
#include "typing/typing_exercise.h"

#include "platform/api/interfaces.h"
#include "platform/api/key_codes.h"
#include "platform/api/random_source.h"

namespace hoshi {

namespace {

QString keyGuideText()
{
    return QStringLiteral("Esc:RESET\r\nCtrl:REPEAT");
}

} // namespace

TypingExercise::TypingExercise(const TypingProfile &profile, Announcer &announcer, CuePlayer &cues,
                               RandomSource &random)
    : m_profile(profile)
    , m_announcer(announcer)
    , m_cues(cues)
    , m_random(random)
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
    m_maru = 0;
    m_batsu = 0;
    const TimeLimitEntry threeMinutes = timeLimitEntry(TimeLimitChoice::ThreeMinutes);
    m_jikan = threeMinutes.seconds;
    m_timeLimit = threeMinutes.seconds;
    m_state = TypingState{};
    m_state.caption = m_profile.openingCaption;
    m_state.barColour = threeMinutes.barColour;
    m_state.keyGuide = keyGuideText();
    showTime();
    showMaru(0);
    showBatsu(0);
}

void TypingExercise::close()
{
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
    if (!m_text.isLoaded())
        return;
    if (m_jikan == 0)
        return; // after time-up Enter does nothing, and the timer stays off
    m_state.timerOn = true;
    checkInput();
}

void TypingExercise::checkInput()
{
    if (m_state.input == m_state.display) {
        ++m_maru;
        showMaru(m_maru - 1);
        m_state.input.clear();
        drawLine();
        return;
    }
    ++m_batsu;
    showBatsu(m_batsu);
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
    m_maru = 0;
    showMaru(0);
    m_batsu = 0;
    showBatsu(0);
    m_state.scoreVisible = false;
    m_jikan = m_timeLimit;
    m_state.barShare = 1.0;
    m_state.timerOn = false;
    showTime();
    sayHint(m_profile.hints.startOver);
}

void TypingExercise::drawLine()
{
    m_state.display = m_text.drawLine(m_random);
    say(m_state.display);
}

void TypingExercise::tick()
{
    if (m_jikan <= 0) {
        m_state.timerOn = false;
        return;
    }
    --m_jikan;
    showTime();
    if (!m_text.isLoaded())
        m_state.timerOn = false;
    if (m_jikan == 0)
        endRun();
    m_state.barShare = static_cast<double>(m_jikan) / m_timeLimit;
}

void TypingExercise::endRun()
{
    m_state.timerOn = false;
    m_state.inputLocked = true;
    m_state.display = m_profile.gameOverText;
    say(m_state.display);
    m_state.scoreVisible = true;
    m_state.scoreLabel = m_profile.scorePrefix + QString::number((m_maru - 1) - m_batsu);
    say(m_state.scoreLabel);
}

void TypingExercise::chooseTimeLimit(TimeLimitChoice choice)
{
    const TimeLimitEntry entry = timeLimitEntry(choice);
    m_jikan = entry.seconds;
    m_timeLimit = entry.seconds;
    m_state.barColour = entry.barColour;
    showTime();
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

void TypingExercise::sayHint(const QString &text)
{
    if (m_profile.voice == TypingProfile::Voice::Announce)
        m_announcer.hint(text);
    else if (m_speaker)
        m_speaker->speak(text);
}

void TypingExercise::showTime()
{
    m_state.timeLabel = QStringLiteral("TIME ") + QString::number(m_jikan);
}

void TypingExercise::showMaru(int count)
{
    m_state.maruLabel = QStringLiteral("○ ") + QString::number(count);
}

void TypingExercise::showBatsu(int count)
{
    m_state.batsuLabel = QStringLiteral("× ") + QString::number(count);
}

} // namespace hoshi
