// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/speech/screen_reader_listeners.h"

#include <QObject>
#include <QStringList>
#include <QVariantMap>

namespace hoshi {

/// Follows whether a screen reader runs, however it was started: the flag a
/// desktop sets when it starts one (org.a11y.Status.ScreenReaderEnabled on
/// the session bus), or a client of the accessibility bus that follows the
/// focus, as one started by hand does. Without a session bus no screen
/// reader is assumed. Nothing here waits for an answer.
class ScreenReaderWatch final : public QObject {
    Q_OBJECT
public:
    explicit ScreenReaderWatch(QObject *parent = nullptr);
    ~ScreenReaderWatch() override;

    /// Asks once and follows every change from then on. The first answer is
    /// always reported; no session bus or no accessibility bus answers false.
    void start();
    bool screenReaderRunning() const { return m_running; }

signals:
    void screenReaderRunningChanged(bool running);

private slots:
    void propertiesChanged(const QString &interface, const QVariantMap &changed,
                           const QStringList &invalidated);

private:
    void ask();
    void flagAnswered(bool enabled);
    void report();

    ScreenReaderListeners m_listeners;
    bool m_flag = false;
    bool m_flagKnown = false;
    bool m_listening = false;
    bool m_listenersKnown = false;
    bool m_running = false;
    bool m_answered = false;
    bool m_hooked = false;
};

} // namespace hoshi
