// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/speech/screen_reader_notifier.h"

#include "platform/speech/readable_names.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QDialog>
#include <QWidget>

#include <utility>

namespace hoshi {

namespace {

const char *const NoticeObjectName = "hoshiScreenReaderNotice";
const char *const NoticeBarObjectName = "hoshiScreenReaderNoticeBar";

/// Draws nothing and takes no input: it only carries a name to the screen reader.
class InvisibleWidget final : public QWidget {
public:
    InvisibleWidget(const char *name, QWidget *parent)
        : QWidget(parent)
    {
        setObjectName(QString::fromLatin1(name));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(0, 0, 1, 1);
    }
};

// The notice sits in a status bar: a screen reader then speaks its text
// alone, without the word "notification" before it.
QAccessibleInterface *noticeAccessible(const QString &, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget)
        return nullptr;
    if (widget->objectName() == QLatin1String(NoticeObjectName))
        return new QAccessibleWidget(widget, QAccessible::Notification);
    if (widget->objectName() == QLatin1String(NoticeBarObjectName))
        return new QAccessibleWidget(widget, QAccessible::StatusBar);
    return nullptr;
}

QWidget *activeTopLevel()
{
    if (QWidget *active = QApplication::activeWindow())
        return active;
    if (QWidget *focus = QApplication::focusWidget())
        return focus->window();
    const QList<QWidget *> windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (window->isVisible() && window->isWindow())
            return window;
    }
    return nullptr;
}

} // namespace

ScreenReaderNotifier::ScreenReaderNotifier(ReadingOf readingOf, QObject *parent)
    : QObject(parent)
    , m_readingOf(std::move(readingOf))
{
    static const bool installed = [] {
        QAccessible::installFactory(noticeAccessible);
        return true;
    }();
    (void)installed;
}

ScreenReaderNotifier::~ScreenReaderNotifier()
{
    delete m_bar.data();
}

void ScreenReaderNotifier::say(const QString &text, Turn turn)
{
    if (turn == Turn::NewEvent)
        m_pending.clear();
    m_pending << text;
    if (m_flushQueued)
        return;
    m_flushQueued = true;
    // The message goes out once the event has said everything it says.
    QMetaObject::invokeMethod(this, &ScreenReaderNotifier::flush, Qt::QueuedConnection);
}

void ScreenReaderNotifier::flush()
{
    m_flushQueued = false;
    QStringList readings;
    for (const QString &text : std::as_const(m_pending)) {
        // A screen reader reads 、 out as a word ("テン") at its punctuation
        // level: a blank makes the same pause.
        const QString reading = screenReaderText(m_readingOf, text);
        // Two texts that read the same (Ａ and エー) are heard once.
        if (!reading.trimmed().isEmpty() && (readings.isEmpty() || readings.last() != reading))
            readings << reading;
    }
    m_pending.clear();
    // A dialog that has just opened is read out by the screen reader itself.
    if (qobject_cast<QDialog *>(QApplication::activeModalWidget()))
        return;
    QWidget *window = activeTopLevel();
    if (readings.isEmpty() || !window)
        return;
    const QString message = readings.join(QLatin1Char(' '));
    if (focusJustSays(message))
        return;
    QWidget *notice = noticeIn(window);
    notice->hide();
    notice->setAccessibleName(message);
    notice->show();
}

bool ScreenReaderNotifier::focusJustSays(const QString &message)
{
    // A screen reader reads what the focus moves to: the same words again
    // as a notification would be heard twice.
    QWidget *focus = QApplication::focusWidget();
    const bool moved = focus != m_lastFocus;
    m_lastFocus = focus;
    return moved && focus && readableName(focus) == message;
}

QWidget *ScreenReaderNotifier::noticeIn(QWidget *window)
{
    if (!m_bar) {
        m_bar = new InvisibleWidget(NoticeBarObjectName, window);
        m_notice = new InvisibleWidget(NoticeObjectName, m_bar);
    } else if (m_bar->parentWidget() != window) {
        m_bar->setParent(window);
    }
    m_bar->setGeometry(0, 0, 1, 1);
    m_bar->show();
    return m_notice;
}

} // namespace hoshi
