// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fingers/finger_guide.h"
#include "ui/mode_window.h"

class QLabel;

namespace hoshi {

class PreferenceKeeper;

class Announcer;
class CuePlayer;
class RunRecorder;
struct TranslatedKey;

/// frmYubiren: the finger guide's window, a huge key with its hand and
/// finger above it on black; every key goes to the guide first.
class FingerGuideWindow final : public ModeWindow {
    Q_OBJECT
public:
    /// Without `preferences` the window starts from the defaults and keeps no choice.
    FingerGuideWindow(Announcer &announcer, CuePlayer &cues, RunRecorder *recorder = nullptr,
                      PreferenceKeeper *preferences = nullptr,
                      QWidget *parent = nullptr);

    const FingerGuide &guide() const { return m_guide; }

protected:
    void load() override;
    void unload() override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildMenus(Announcer &announcer);
    void buildLabels(QWidget *client);
    void handleKey(const TranslatedKey &key);
    void layOut();
    void render();

    FingerGuide m_guide;
    PreferenceKeeper *m_preferences;
    QLabel *m_lblKey = nullptr;
    QLabel *m_lblYubiHyoji = nullptr;
    QLabel *m_lblYubi = nullptr;
    QLabel *m_label1 = nullptr;
};

} // namespace hoshi
