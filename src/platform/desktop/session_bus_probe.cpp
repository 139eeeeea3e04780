// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/session_bus_probe.h"

#include <QByteArrayList>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariant>
#include <QtGlobal>

#include <cstdio>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

namespace hoshi {

namespace {

// An address that fails at once: Qt then finds no bus instead of a silent one.
constexpr const char *NoBus = "unix:path=/nonexistent/hoshinotamago-silent-bus";

#if defined(Q_OS_UNIX)
using Clock = std::chrono::steady_clock;

struct Socket {
    int fd = -1;
    ~Socket()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

/// The first unix transport of the address, as a socket address.
bool unixAddressOf(const QByteArray &address, sockaddr_un &out, socklen_t &length)
{
    for (const QByteArray &transport : address.split(';')) {
        if (!transport.startsWith("unix:"))
            continue;
        for (const QByteArray &pair : transport.mid(5).split(',')) {
            const bool abstract = pair.startsWith("abstract=");
            if (!abstract && !pair.startsWith("path="))
                continue;
            const QByteArray path = QByteArray::fromPercentEncoding(pair.mid(pair.indexOf('=') + 1));
            if (path.isEmpty() || std::size_t(path.size()) + 1 >= sizeof out.sun_path)
                return false;
            std::memset(&out, 0, sizeof out);
            out.sun_family = AF_UNIX;
            std::memcpy(out.sun_path + (abstract ? 1 : 0), path.constData(), std::size_t(path.size()));
            length = socklen_t(offsetof(sockaddr_un, sun_path) + (abstract ? 1 : 0) + std::size_t(path.size()));
            return true;
        }
    }
    return false;
}

/// Waits for the socket to be ready for `events` until the deadline.
bool waitFor(int fd, short events, Clock::time_point until)
{
    while (true) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
        if (left.count() <= 0)
            return false;
        pollfd one{fd, events, 0};
        const int ready = ::poll(&one, 1, int(left.count()));
        if (ready > 0)
            return true;
        if (ready < 0 && errno != EINTR)
            return false;
    }
}
#endif

} // namespace

BusAnswer probeBus(const QByteArray &address, std::chrono::milliseconds deadline)
{
#if defined(Q_OS_UNIX)
    sockaddr_un peer{};
    socklen_t length = 0;
    if (!unixAddressOf(address, peer, length))
        return BusAnswer::Unreachable;
    Socket socket{::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0)};
    if (socket.fd < 0)
        return BusAnswer::Unreachable;
    const auto until = Clock::now() + deadline;
    if (::connect(socket.fd, reinterpret_cast<const sockaddr *>(&peer), length) != 0) {
        if (errno != EINPROGRESS && errno != EAGAIN)
            return BusAnswer::Unreachable;
        if (!waitFor(socket.fd, POLLOUT, until))
            return BusAnswer::Silent;
    }
    // The protocol begins with a NUL byte, then the client asks to authenticate;
    // any bus answers with a line at once (OK, REJECTED or ERROR).
    const QByteArray hello = QByteArray(1, '\0') + "AUTH EXTERNAL "
                             + QByteArray::number(qulonglong(::getuid())).toHex() + "\r\n";
    if (::send(socket.fd, hello.constData(), std::size_t(hello.size()), MSG_NOSIGNAL) != hello.size())
        return BusAnswer::Unreachable;
    char reply[64];
    if (!waitFor(socket.fd, POLLIN, until))
        return BusAnswer::Silent;
    return ::recv(socket.fd, reply, sizeof reply, 0) > 0 ? BusAnswer::Answered : BusAnswer::Unreachable;
#else
    Q_UNUSED(address)
    Q_UNUSED(deadline)
    return BusAnswer::Unreachable;
#endif
}

namespace {

// A bus named by the variable that takes the connection and never answers is
// replaced by one that fails at once.
void useNoBus(const char *variable, const char *what, const QByteArray &silent)
{
    std::fprintf(stderr,
                 "hoshinotamago: the %s does not answer (%s); this run does without it: "
                 "no screen reader is reached, the built-in voice speaks\n",
                 what, silent.constData());
    qputenv(variable, NoBus);
}

void avoidSilentBus(const char *variable, const char *what, std::chrono::milliseconds deadline)
{
    const QByteArray address = qgetenv(variable);
    if (!address.isEmpty() && probeBus(address, deadline) == BusAnswer::Silent)
        useNoBus(variable, what, address);
}

} // namespace

void avoidSilentSessionBus(std::chrono::milliseconds deadline)
{
    avoidSilentBus("DBUS_SESSION_BUS_ADDRESS", "session bus", deadline);
}

QByteArray launchedAccessibilityBus(std::chrono::milliseconds deadline)
{
    const QString name = QStringLiteral("hoshinotamago-accessibility-address");
    QByteArray address;
    {
        const QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, name);
        QDBusMessage ask = QDBusMessage::createMethodCall(QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                                                          QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress"));
        // A launcher not running yet is left for Qt to start, without waiting here.
        ask.setAutoStartService(false);
        if (bus.isConnected()) {
            const QDBusMessage reply = bus.call(ask, QDBus::Block, int(deadline.count()));
            if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
                address = reply.arguments().constFirst().toString().toUtf8();
        }
    }
    QDBusConnection::disconnectFromBus(name);
    return address;
}

void avoidSilentAccessibilityBus(std::chrono::milliseconds deadline)
{
    if (!qEnvironmentVariableIsEmpty("AT_SPI_BUS_ADDRESS")) {
        avoidSilentBus("AT_SPI_BUS_ADDRESS", "accessibility bus", deadline);
        return;
    }
    // Qt joins the bus the launcher hands out without a deadline: the address
    // is asked for here and checked. A bus that answers is left for Qt to
    // find itself: given in the environment, Qt's bridge would never start.
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return;
    const QByteArray launched = launchedAccessibilityBus(deadline);
    if (!launched.isEmpty() && probeBus(launched, deadline) == BusAnswer::Silent)
        useNoBus("AT_SPI_BUS_ADDRESS", "accessibility bus", launched);
}

} // namespace hoshi
