// SPDX-License-Identifier: GPL-3.0-or-later
#include "fingers/finger_guide.h"

#include "fingers/case_folding.h"
#include "fingers/finger_steps.h"
#include "platform/api/interfaces.h"
#include "platform/api/key_codes.h"

namespace hoshi {

namespace {

const QString LastStepKey = QStringLiteral(":");

} // namespace

FingerGuide::FingerGuide(Announcer &announcer, CuePlayer &cues, RunRecorder *recorder)
    : m_announcer(announcer)
    , m_cues(cues)
    , m_recorder(recorder)
{
}

void FingerGuide::load()
{
    m_view = FingerGuideView{};
    m_walk = RunRecord{};
    m_currentStep = 0;
    CurrentStatus();
    // The first reading is set and announced once more, so it is not missed
    // while the reading tool catches up with the new window.
    m_view.reading = fingerSteps().front().reading;
    m_announcer.announce(m_view.reading);
}

void FingerGuide::CurrentStatus()
{
    // The wrap follows the key on show, not the counter.
    if (m_view.keyText == LastStepKey)
        m_currentStep = 0;
    ++m_currentStep;
    if (m_currentStep >= 1 && m_currentStep <= FingerStepCount) {
        const FingerStep &step = fingerSteps()[static_cast<std::size_t>(m_currentStep - 1)];
        m_view.keyText = step.key;
        m_view.fingerLabel = step.fingerLabel;
        m_view.reading = step.reading;
    }
    m_announcer.announce(m_view.reading);
}

FingerGuide::Request FingerGuide::keyDown(int keyCode, int /*modifiers*/)
{
    return keyCode == VkEscape ? Request::Close : Request::None;
}

void FingerGuide::keyPress(int charCode)
{
    if (!m_walk.started.isValid())
        m_walk.started = QDateTime::currentDateTime();
    m_view.typedText = upperCaseAnyScript(charCode);
    if (m_view.typedText != m_view.keyText) {
        ++m_walk.misses;
        ++m_walk.missedKeys[m_view.keyText];
        m_announcer.announce(m_view.keyText);
        m_cues.playCue(Cue::Ding);
        return;
    }
    ++m_walk.hits;
    const bool lastStep = m_view.keyText == LastStepKey;
    CurrentStatus();
    if (lastStep)
        finishWalk(false);
}

void FingerGuide::close()
{
    if (m_walk.started.isValid())
        finishWalk(true);
}

void FingerGuide::finishWalk(bool cutShort)
{
    m_walk.mode = QStringLiteral("frmYubiren");
    m_walk.cutShort = cutShort;
    m_walk.seconds = static_cast<int>(m_walk.started.secsTo(QDateTime::currentDateTime()));
    m_walk.score = m_walk.hits - m_walk.misses;
    keepRun(m_recorder, m_walk);
    m_walk = RunRecord{};
}

void FingerGuide::hideFingerNames()
{
    m_view.fingerLabelVisible = false;
}

void FingerGuide::showFingerNames()
{
    m_view.fingerLabelVisible = true;
}

} // namespace hoshi
