// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fingers/drill_engine.h"
#include "ui/mode_window.h"

#include <memory>

class QLabel;
class QPushButton;
class QTimer;

namespace hoshi {

class PreferenceKeeper;

class Announcer;
class CuePlayer;
class RandomSource;
class RunRecorder;
struct TranslatedKey;

/// frmYubiren2 and frmYubiren3: one timed drill window, made twice with two
/// profiles. It owns its one-second timer and its random source.
class DrillWindow final : public ModeWindow {
    Q_OBJECT
public:
    /// Without `preferences` the window starts from the defaults and keeps no choice.
    DrillWindow(const DrillProfile &profile, Announcer &announcer, CuePlayer &cues,
                std::unique_ptr<RandomSource> random, RunRecorder *recorder = nullptr,
                PreferenceKeeper *preferences = nullptr,
                QWidget *parent = nullptr);
    ~DrillWindow() override;

    const DrillEngine &engine() const { return m_engine; }

    /// START / RETRY.
    void cmdStart_Click();
    /// One second of the run.
    void Timer1_Timer();

protected:
    void load() override;
    void unload() override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildMenus(Announcer &announcer);
    void buildControls(QWidget *client);
    void handleKey(const TranslatedKey &key);
    void startRun();
    void layOut();
    void drawBar();
    void render();

    std::unique_ptr<RandomSource> m_random;
    DrillEngine m_engine;
    PreferenceKeeper *m_preferences;
    QTimer *m_timer = nullptr;
    QWidget *m_frame1 = nullptr;
    QLabel *m_lblYubi = nullptr;
    QLabel *m_lblKey = nullptr;
    QLabel *m_lblTime = nullptr;
    QLabel *m_lblMaru = nullptr;
    QLabel *m_lblBatsu = nullptr;
    QLabel *m_lblTokuten = nullptr;
    QLabel *m_label1 = nullptr;
    QWidget *m_shpBox = nullptr;
    QWidget *m_shpScale = nullptr;
    QPushButton *m_cmdStart = nullptr;
};

} // namespace hoshi
