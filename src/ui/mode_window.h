// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>

namespace hoshi {

/// A practice mode's top-level window. The launcher keeps one object per mode
/// for the whole run; opening a window that is not shown runs its load step
/// again, and closing it only hides it (a typing window keeps its text).
class ModeWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit ModeWindow(QWidget *parent = nullptr);

    /// Shows the window; loads it first unless it is already open.
    void open();

signals:
    /// The whole program is to stop at once (the key guide's double-click).
    void endProgramRequested();

protected:
    /// Fills the screen and sets the window's state as on opening.
    virtual void load() = 0;
    /// Stops whatever runs while the window is open (timers); called on close.
    virtual void unload() {}

    void closeEvent(QCloseEvent *event) override;
};

} // namespace hoshi
