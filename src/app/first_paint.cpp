// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/first_paint.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <utility>

namespace hoshi {

namespace {

// A window that is never painted (minimised, no screen) still gets the task.
constexpr int LongestWaitMs = 1000;

class FirstPaintWatch final : public QObject {
public:
    FirstPaintWatch(QWidget &window, std::function<void()> task)
        : QObject(&window)
        , m_task(std::move(task))
    {
        window.installEventFilter(this);
        QTimer::singleShot(LongestWaitMs, this, [this] { runSoon(); });
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == parent() && event->type() == QEvent::Paint)
            runSoon();
        return false;
    }

private:
    void runSoon()
    {
        if (!m_task)
            return;
        parent()->removeEventFilter(this);
        // Queued, so the paint and its flush to the screen end first.
        QTimer::singleShot(0, parent(), std::exchange(m_task, nullptr));
        deleteLater();
    }

    std::function<void()> m_task;
};

} // namespace

void runAfterFirstPaint(QWidget &window, std::function<void()> task)
{
    new FirstPaintWatch(window, std::move(task));
}

} // namespace hoshi
