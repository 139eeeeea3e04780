// Starts a program under the current X display and measures, from outside,
// what a listener would notice: time to the first announcement on the
// clipboard, time from a real key (XTest) to the next announcement, resident
// memory and CPU used while idle. It prints figures and asserts nothing.
//
// clipboard_probe PROGRAM EXPECTED_FIRST_TEXT [KEYSYM] [REPEATS] [IDLE_SECONDS]
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

// Waits until the clipboard holds a text that satisfies `wanted`; returns ms or -1.
// An announcement empties the clipboard first, so a bare change is not enough.
template <typename Wanted>
double waitForClipboard(Wanted wanted, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    QClipboard *clipboard = QGuiApplication::clipboard();
    bool changed = false;
    auto connection = QObject::connect(clipboard, &QClipboard::changed, [&](QClipboard::Mode mode) {
        if (mode == QClipboard::Clipboard && wanted(clipboard->text()))
            changed = true;
    });
    while (!changed && clock.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    QObject::disconnect(connection);
    return changed ? clock.nsecsElapsed() / 1e6 : -1;
}

long residentKiB(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

double cpuSeconds(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return (fields.value(11).toDouble() + fields.value(12).toDouble()) / sysconf(_SC_CLK_TCK);
}

void pressKey(Display *display, const char *keysym)
{
    const KeyCode code = XKeysymToKeycode(display, XStringToKeysym(keysym));
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    XTestFakeKeyEvent(display, code, False, CurrentTime);
    XFlush(display);
}

double percentile(std::vector<double> values, double share)
{
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<std::size_t>(share * values.size()))];
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: clipboard_probe PROGRAM FIRST_TEXT [KEYSYM] [REPEATS] [IDLE_SECONDS]\n");
        return 2;
    }
    const QString program = QString::fromLocal8Bit(argv[1]);
    const QString first = QString::fromUtf8(argv[2]).replace(QStringLiteral("\\r\\n"), QStringLiteral("\r\n"));
    const char *keysym = argc > 3 && argv[3][0] != 0 ? argv[3] : nullptr;
    const int repeats = argc > 4 ? std::atoi(argv[4]) : 100;
    const int idleSeconds = argc > 5 ? std::atoi(argv[5]) : 10;

    QGuiApplication::clipboard()->setText(QStringLiteral("probe"));
    QProcess target;
    QElapsedTimer clock;
    clock.start();
    target.start(program, {});
    const double startup = waitForClipboard([&](const QString &text) { return text == first; }, 20000);
    std::printf("startup_to_first_announcement_ms %.1f\n", startup >= 0 ? clock.nsecsElapsed() / 1e6 : -1.0);
    QThread::msleep(1500);
    QCoreApplication::processEvents();
    std::printf("resident_kib_after_start %ld\n", residentKiB(target.processId()));

    if (keysym) {
        Display *display = XOpenDisplay(nullptr);
        std::vector<double> latencies;
        for (int i = 0; i < repeats; ++i) {
            QElapsedTimer keyClock;
            keyClock.start();
            const QString before = QGuiApplication::clipboard()->text();
            pressKey(display, keysym);
            const double waited = waitForClipboard(
                [&](const QString &text) { return !text.isEmpty() && text != before; }, 2000);
            if (waited >= 0)
                latencies.push_back(keyClock.nsecsElapsed() / 1e6);
        }
        XCloseDisplay(display);
        std::printf("key_to_announcement_ms median %.2f p95 %.2f (of %zu answered, %d sent)\n",
                    percentile(latencies, 0.5), percentile(latencies, 0.95), latencies.size(), repeats);
    }

    const double cpuBefore = cpuSeconds(target.processId());
    QThread::sleep(static_cast<unsigned long>(idleSeconds));
    std::printf("idle_cpu_seconds_over_%ds %.3f\n", idleSeconds, cpuSeconds(target.processId()) - cpuBefore);
    std::printf("resident_kib_at_end %ld\n", residentKiB(target.processId()));
    target.kill();
    target.waitForFinished(3000);
    return 0;
}
