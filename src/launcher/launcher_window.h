// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "launcher/settings_menu.h"

#include <QElapsedTimer>
#include <QMainWindow>

#include <memory>
#include <vector>

class QLabel;
class QTimer;

namespace hoshi {

class Announcer;
class KeyInjector;
class LauncherEntry;
class ModeRegistry;
struct KeyDown;

/// frmEntrance: the scrolling title and one entry for each mode of the registry.
/// Every key reaches the window's own handling before the focused entry.
class LauncherWindow final : public QMainWindow {
    Q_OBJECT
public:
    LauncherWindow(ModeRegistry &modes, Announcer &announcer, const LauncherSettings &settings = {},
                   QWidget *parent = nullptr);
    ~LauncherWindow() override;

    static QString initialTitle();

    LauncherEntry *entry(int number) const;
    QString titleText() const;
    /// Moves the focus to the previous entry when direction is 1, else to the next.
    void MoveEntryFocus(int direction);

signals:
    /// Escape or the end menu entry: the whole program stops at once.
    void endProgramRequested();
    /// K: the records window is asked for.
    void recordsRequested();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildMenus(const LauncherSettings &settings);
    void buildEntries(QWidget *client);
    void layOut();
    void tickTitle();
    void onEntryFocused(LauncherEntry *entry, Qt::FocusReason reason);
    bool handleKey(const KeyDown &down);
    bool handleWindowKey(const KeyDown &down);
    bool handleEntryKey(const KeyDown &down);

    ModeRegistry &m_modes;
    Announcer &m_announcer;
    std::unique_ptr<KeyInjector> m_injector;
    QLabel *m_title = nullptr;
    QTimer *m_ticker = nullptr;
    std::vector<LauncherEntry *> m_entries;
    bool m_announcedOnce = false;
    bool m_activatedBefore = false;
    QElapsedTimer m_menuClosed;
    LauncherEntry *m_lastAnnounced = nullptr;
};

} // namespace hoshi
