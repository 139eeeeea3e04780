// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/speech/screen_reader_listeners.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QMetaObject>
#include <QPointer>
#include <QThread>
#include <QTimer>

namespace hoshi {

namespace {
const QString Registry = QStringLiteral("org.a11y.atspi.Registry");
const QString RegistryPath = QStringLiteral("/org/a11y/atspi/registry");
const QString ConnectionName = QStringLiteral("hoshinotamago-listeners");
constexpr int AnswerMs = 2000;
constexpr int GoneAfterMs = 1500;
constexpr unsigned long StopWaitMs = 500;
constexpr const char *Changes[] = {"EventListenerRegistered", "EventListenerDeregistered"};

/// Lives on the asking thread: every call there may wait on a bus.
class Asker final : public QObject {
    Q_OBJECT
public:
    explicit Asker(ScreenReaderListeners *listeners) : m_listeners(listeners) {}

public slots:
    void start()
    {
        const QString address = accessibilityBusAddress();
        if (address.isEmpty())
            return report(false);
        m_bus = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(address, ConnectionName));
        if (!m_bus->isConnected())
            return report(false);
        for (const char *change : Changes)
            m_bus->connect(Registry, RegistryPath, Registry, QString::fromLatin1(change), this, SLOT(ask()));
        ask();
    }

    void ask() { tell(listensNow()); }

    void stop()
    {
        // The bus's own thread closes the connection later and would reach
        // back to this object, deleted by then, through any hook left on it.
        if (m_bus) {
            for (const char *change : Changes)
                m_bus->disconnect(Registry, RegistryPath, Registry, QString::fromLatin1(change), this, SLOT(ask()));
        }
        m_bus.reset();
        QDBusConnection::disconnectFromBus(ConnectionName);
        QThread::currentThread()->quit();
    }

private:
    bool listensNow()
    {
        QDBusMessage get = QDBusMessage::createMethodCall(Registry, RegistryPath, Registry,
                                                          QStringLiteral("GetRegisteredEvents"));
        const QDBusMessage reply = m_bus->call(get, QDBus::Block, AnswerMs);
        return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()
               && listensLikeScreenReader(eventsOf(reply.arguments().first()));
    }

    void tell(bool listens)
    {
        if (m_known && listens == m_listens)
            return;
        // A screen reader drops its listeners and asks again as the focus
        // moves between programs: gone only if it is still gone a while later.
        if (m_known && !listens) {
            if (!m_confirming) {
                m_confirming = true;
                QTimer::singleShot(GoneAfterMs, this, [this] {
                    m_confirming = false;
                    if (!listensNow())
                        report(false);
                });
            }
            return;
        }
        report(listens);
    }

    void report(bool listens)
    {
        if (m_known && listens == m_listens)
            return;
        m_known = true;
        m_listens = listens;
        if (m_listeners)
            QMetaObject::invokeMethod(m_listeners, "listeningChanged", Qt::QueuedConnection, Q_ARG(bool, listens));
    }

    static QString accessibilityBusAddress()
    {
        // Given, or set at start to none when the bus was silent.
        if (const QString given = qEnvironmentVariable("AT_SPI_BUS_ADDRESS"); !given.isEmpty())
            return given;
        QDBusMessage get = QDBusMessage::createMethodCall(QStringLiteral("org.a11y.Bus"),
                                                          QStringLiteral("/org/a11y/bus"),
                                                          QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress"));
        const QDBusMessage reply = QDBusConnection::sessionBus().call(get, QDBus::Block, AnswerMs);
        return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()
                   ? reply.arguments().first().toString()
                   : QString();
    }

    // The reply is an array of (bus name, event) pairs.
    static QStringList eventsOf(const QVariant &answer)
    {
        QStringList events;
        const auto array = answer.value<QDBusArgument>();
        array.beginArray();
        while (!array.atEnd()) {
            QString client;
            QString event;
            array.beginStructure();
            array >> client >> event;
            array.endStructure();
            events << event;
        }
        array.endArray();
        return events;
    }

    QPointer<ScreenReaderListeners> m_listeners;
    std::unique_ptr<QDBusConnection> m_bus;
    bool m_known = false;
    bool m_listens = false;
    bool m_confirming = false;
};

} // namespace

bool listensLikeScreenReader(const QStringList &events)
{
    for (QString event : events) {
        // The registry spells them "Object:StateChanged:Focused"; libatspi "object:state-changed:focused".
        event.remove(QLatin1Char('-'));
        if (event.startsWith(QLatin1String("Focus:"), Qt::CaseInsensitive)
            || event.startsWith(QLatin1String("Object:StateChanged:Focused"), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

ScreenReaderListeners::ScreenReaderListeners(QObject *parent)
    : QObject(parent)
{
}

ScreenReaderListeners::~ScreenReaderListeners()
{
    if (!m_thread)
        return;
    QMetaObject::invokeMethod(m_asker, "stop", Qt::QueuedConnection);
    // One stuck on a bus that does not answer is left behind, not waited for.
    if (m_thread->wait(StopWaitMs)) {
        delete m_asker;
        delete m_thread;
    }
}

void ScreenReaderListeners::start()
{
    if (m_thread)
        return;
    m_thread = new QThread;
    m_thread->setObjectName(QStringLiteral("screen reader listeners"));
    m_asker = new Asker(this);
    m_asker->moveToThread(m_thread);
    m_thread->start();
    QMetaObject::invokeMethod(m_asker, "start", Qt::QueuedConnection);
}

} // namespace hoshi

#include "screen_reader_listeners.moc"
