// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/speech/voice_output.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <functional>


namespace hoshi {

/// Hands what is to be heard to a running screen reader: the texts of one
/// event, joined into one message of their readings, become the name of a
/// small notification widget in a status bar of the active window, which is
/// hidden and shown again. A screen reader speaks a notification whatever has the focus, and
/// of two in a row only the last, hence one message an event.
class ScreenReaderNotifier final : public QObject, public VoiceOutput {
    Q_OBJECT
public:
    using ReadingOf = std::function<QString(const QString &)>;

    explicit ScreenReaderNotifier(ReadingOf readingOf, QObject *parent = nullptr);
    ~ScreenReaderNotifier() override;

    void say(const QString &text, Turn turn) override;

    /// The widget that carries the last message (for tests); may be null.
    QWidget *notice() const { return m_notice; }

private:
    void flush();
    QWidget *noticeIn(QWidget *window);
    bool focusJustSays(const QString &message);

    ReadingOf m_readingOf;
    QStringList m_pending;
    bool m_flushQueued = false;
    QPointer<QWidget> m_bar; ///< holds the notice
    QPointer<QWidget> m_notice;
    QPointer<QWidget> m_lastFocus; ///< where the focus was at the last message
};

} // namespace hoshi
