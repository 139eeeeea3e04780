// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/speech/screen_reader_watch.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace hoshi {

namespace {
const QString BusService = QStringLiteral("org.a11y.Bus");
const QString BusPath = QStringLiteral("/org/a11y/bus");
const QString StatusInterface = QStringLiteral("org.a11y.Status");
const QString PropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
const QString ScreenReaderProperty = QStringLiteral("ScreenReaderEnabled");
const QString ChangedSignal = QStringLiteral("PropertiesChanged");
const char *const ChangedSlot = SLOT(propertiesChanged(QString, QVariantMap, QStringList));
} // namespace

ScreenReaderWatch::ScreenReaderWatch(QObject *parent)
    : QObject(parent)
{
}

ScreenReaderWatch::~ScreenReaderWatch()
{
    // Unhooked while this object still exists: the bus's thread may close
    // the connection after it is gone.
    if (m_hooked)
        QDBusConnection::sessionBus().disconnect(BusService, BusPath, PropertiesInterface, ChangedSignal, this, ChangedSlot);
}

void ScreenReaderWatch::start()
{
    connect(&m_listeners, &ScreenReaderListeners::listeningChanged, this, [this](bool listening) {
        m_listening = listening;
        m_listenersKnown = true;
        report();
    });
    m_listeners.start();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        QMetaObject::invokeMethod(this, [this] { flagAnswered(false); }, Qt::QueuedConnection);
        return;
    }
    m_hooked = bus.connect(BusService, BusPath, PropertiesInterface, ChangedSignal, this, ChangedSlot);
    ask();
}

void ScreenReaderWatch::ask()
{
    QDBusMessage get = QDBusMessage::createMethodCall(BusService, BusPath, PropertiesInterface,
                                                      QStringLiteral("Get"));
    get << StatusInterface << ScreenReaderProperty;
    auto *watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(get), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *call) {
        const QDBusPendingReply<QDBusVariant> reply = *call;
        flagAnswered(!reply.isError() && reply.value().variant().toBool());
        call->deleteLater();
    });
}

void ScreenReaderWatch::propertiesChanged(const QString &interface, const QVariantMap &changed,
                                          const QStringList &invalidated)
{
    if (interface != StatusInterface)
        return;
    if (changed.contains(ScreenReaderProperty))
        flagAnswered(changed.value(ScreenReaderProperty).toBool());
    else if (invalidated.contains(ScreenReaderProperty))
        ask();
}

void ScreenReaderWatch::flagAnswered(bool enabled)
{
    m_flag = enabled;
    m_flagKnown = true;
    report();
}

void ScreenReaderWatch::report()
{
    // "None" only once both have answered; either one finding one is enough.
    const bool running = m_flag || m_listening;
    if (!running && !(m_flagKnown && m_listenersKnown))
        return;
    if (m_answered && running == m_running)
        return;
    m_answered = true;
    m_running = running;
    emit screenReaderRunningChanged(running);
}

} // namespace hoshi
