// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QThread;

namespace hoshi {

/// Whether the events a client has asked the accessibility registry for are
/// a screen reader's: it follows the focus.
bool listensLikeScreenReader(const QStringList &events);

/// Finds a screen reader that runs without the desktop's flag (one started
/// by hand, from a terminal or a start-up script): a client of the
/// accessibility bus that follows the focus. Asks on a thread of its own,
/// since connecting to that bus waits for its answer, and follows every
/// listener that comes and goes. The first answer is always reported; no
/// accessibility bus, or one that does not answer, answers false.
class ScreenReaderListeners final : public QObject {
    Q_OBJECT
public:
    explicit ScreenReaderListeners(QObject *parent = nullptr);
    ~ScreenReaderListeners() override;

    void start();

signals:
    void listeningChanged(bool aScreenReaderListens);

private:
    QThread *m_thread = nullptr;
    QObject *m_asker = nullptr;
};

} // namespace hoshi
