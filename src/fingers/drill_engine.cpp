// SPDX-License-Identifier: GPL-3.0-or-later
#include "fingers/drill_engine.h"

#include "fingers/case_folding.h"
#include "platform/api/interfaces.h"
#include "platform/api/key_codes.h"
#include "platform/api/random_source.h"

#include <algorithm>
#include <utility>

namespace hoshi {

namespace {

// Counts read "○ 12": the number carries one leading blank.
QString countText(const QString &mark, int count)
{
    return mark + QLatin1Char(' ') + QString::number(count);
}

} // namespace

QString DrillView::timeText() const
{
    return QStringLiteral("TIME ") + QString::number(jikan);
}

QString DrillView::maruText() const
{
    return countText(QStringLiteral("○"), maru);
}

QString DrillView::batsuText() const
{
    return countText(QStringLiteral("×"), batsu);
}

QString DrillView::tokutenText() const
{
    return QStringLiteral("得点 ") + QString::number(maru - batsu);
}

DrillEngine::DrillEngine(DrillProfile profile, Announcer &announcer, CuePlayer &cues,
                         RandomSource &random, RunRecorder *recorder)
    : m_profile(std::move(profile))
    , m_announcer(announcer)
    , m_cues(cues)
    , m_random(random)
    , m_recorder(recorder)
{
    m_view.jikan = m_profile.timeLimit;
}

void DrillEngine::load()
{
    m_fingerNamesWanted = true;
    resetRun();
    m_announcer.hint(startHint());
}

QString DrillEngine::startHint()
{
    return QStringLiteral("すぺーすで すたーと");
}

void DrillEngine::resetRun()
{
    m_phase = DrillPhase::Ready;
    m_startSpacePending = false;
    m_view.fingerVisible = false;
    m_view.keyVisible = false;
    m_view.tokutenVisible = false;
    m_view.startEnabled = true;
    CurrentStatus();
    m_view.maru = 0;
    m_view.batsu = 0;
    m_view.jikan = m_profile.timeLimit;
    m_view.startCaption = QStringLiteral("START");
}

void DrillEngine::start()
{
    resetRun();
    m_view.fingerVisible = m_fingerNamesWanted;
    m_view.keyVisible = true;
    m_announcer.announce(m_view.keyText);
    m_view.startEnabled = false;
    m_phase = DrillPhase::Running;
    m_started = QDateTime::currentDateTime();
    m_missedKeys.clear();
}

void DrillEngine::CurrentStatus()
{
    ++m_view.maru;
    // One generator for the window's life: every row equally likely at every draw.
    const int rows = static_cast<int>(m_profile.table.size());
    m_keyNo = std::clamp(m_random.below(rows), 0, std::max(rows - 1, 0)) + 1;
    if (rows == 0)
        return;
    const DrillTarget &target = m_profile.table[static_cast<std::size_t>(m_keyNo - 1)];
    m_view.fingerText = target.fingerLabel;
    m_view.keyText = target.character;
}

DrillEngine::KeyResult DrillEngine::keyDown(int keyCode, int /*modifiers*/)
{
    // The character of the Space that started a run follows its key-down; any
    // other key-down in between means that character is not coming.
    m_startSpacePending = false;
    if (keyCode == VkEscape)
        return KeyResult::Close;
    if (keyCode == VkSpace && m_phase != DrillPhase::Running) {
        start();
        m_startSpacePending = true;
        return KeyResult::Started;
    }
    return KeyResult::None;
}

void DrillEngine::keyPress(int charCode)
{
    if (std::exchange(m_startSpacePending, false) && charCode == ' ')
        return;
    if (m_phase != DrillPhase::Running)
        return;
    m_view.echoText = upperCaseAsciiOnly(charCode);
    if (m_view.echoText == m_view.keyText)
        judgeHit();
    else
        judgeMiss();
}

void DrillEngine::judgeHit()
{
    // A failure while drawing or announcing ends this key's handling only;
    // the run goes on with what was done before it.
    try {
        CurrentStatus();
        m_announcer.announce(m_view.keyText);
    } catch (...) {
    }
}

void DrillEngine::judgeMiss()
{
    m_announcer.announce(m_view.keyText);
    ++m_missedKeys[m_view.keyText];
    ++m_view.batsu;
    m_cues.playCue(Cue::Ding);
}

void DrillEngine::tick()
{
    if (m_phase != DrillPhase::Running)
        return;
    --m_view.jikan;
    if (m_view.jikan <= 0)
        endRun();
}

void DrillEngine::endRun()
{
    m_phase = DrillPhase::TimeUp;
    m_view.fingerText = QStringLiteral("Spaceでスタート");
    m_view.keyText.clear();
    m_view.startEnabled = true;
    m_view.startCaption = QStringLiteral("RETRY");
    m_view.tokutenVisible = true;
    m_announcer.announce(m_view.tokutenText());
    m_announcer.hint(startHint());
    const QString standing = keepRun(m_recorder, runRecord());
    if (!standing.isEmpty())
        m_announcer.hint(standing);
}

void DrillEngine::close()
{
    if (m_phase != DrillPhase::Running)
        return;
    RunRecord run = runRecord();
    run.cutShort = true;
    keepRun(m_recorder, run);
    m_phase = DrillPhase::Ready;
}

RunRecord DrillEngine::runRecord() const
{
    RunRecord run;
    run.mode = m_profile.objectName;
    run.started = m_started;
    run.seconds = m_profile.timeLimit - m_view.jikan;
    run.hits = m_view.maru;
    run.misses = m_view.batsu;
    run.score = m_view.maru - m_view.batsu;
    run.missedKeys = m_missedKeys;
    return run;
}

float DrillEngine::barWidth(float boxWidth) const
{
    if (m_profile.timeLimit <= 0)
        return 0.0f;
    // Divide first, as the bar loses one share of the box each second.
    return boxWidth / static_cast<float>(m_profile.timeLimit) * static_cast<float>(m_view.jikan);
}

void DrillEngine::hideFingerNames()
{
    m_fingerNamesWanted = false;
    m_view.fingerVisible = false;
}

void DrillEngine::showFingerNames()
{
    m_fingerNamesWanted = true;
    m_view.fingerVisible = true;
}

} // namespace hoshi
