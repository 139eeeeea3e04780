// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/mode_window.h"

#include <memory>

class QLabel;

namespace hoshi {

class Announcer;
class KeyGuide;
class KeyInjector;
struct KeyDown;
struct KeyGuideState;

/// frmKeyGuide, "押せばわかる": names every key in huge letters on black, with
/// its reading below, and announces both. The window takes every key itself
/// (Tab, Alt, F10, Escape included): no control and no menu keeps the keyboard.
/// Alt+F4 closes it; a double-click on the key text ends the program.
class KeyGuideWindow final : public ModeWindow {
    Q_OBJECT
public:
    explicit KeyGuideWindow(Announcer &announcer, QWidget *parent = nullptr);
    ~KeyGuideWindow() override;

    const KeyGuideState &guideState() const;

protected:
    void load() override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildMenu(Announcer &announcer);
    void buildLabels(QWidget *client);
    bool Form_KeyDown(const KeyDown &down);
    void lblKey_DblClick();
    void showState();
    void layOut();

    std::unique_ptr<KeyInjector> m_injector;
    std::unique_ptr<KeyGuide> m_guide;
    QLabel *m_lblKey = nullptr;
    QLabel *m_lblYomi = nullptr;
    QLabel *m_label2 = nullptr;
};

} // namespace hoshi
