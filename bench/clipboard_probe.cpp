// Measures, from outside a program under the current X display, what a
// listener would notice on the clipboard. It prints figures and asserts nothing.
//
// clipboard_probe startup FIRST_TEXT RUNS PROGRAM...
//     starts each PROGRAM RUNS times, in turns, each time timing process start
//     to FIRST_TEXT on the clipboard, and stops it again; prints every run and
//     the median per program.
// clipboard_probe keys KEYSYM REPEATS [EXPECTED_TEXT]
//     the program is running and its window has the keyboard: REPEATS times,
//     puts a sentinel of its own on the clipboard, sends one real key (XTest)
//     and times it until the clipboard holds EXPECTED_TEXT (or, without one,
//     any new non-empty text); prints the median and the 95th percentile. The
//     sentinel makes a repeated identical announcement visible.
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>
#include <QThread>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// Waits until the clipboard holds a text that satisfies `wanted`; returns ms
// or -1. An announcement empties the clipboard first, so a bare change is not enough.
template <typename Wanted>
double waitForClipboard(Wanted wanted, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    QClipboard *clipboard = QGuiApplication::clipboard();
    bool seen = wanted(clipboard->text());
    auto connection = QObject::connect(clipboard, &QClipboard::changed, [&](QClipboard::Mode mode) {
        if (mode == QClipboard::Clipboard && wanted(clipboard->text()))
            seen = true;
    });
    while (!seen && clock.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    QObject::disconnect(connection);
    return seen ? clock.nsecsElapsed() / 1e6 : -1;
}

double percentile(std::vector<double> values, double share)
{
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<std::size_t>(share * values.size()))];
}

QString argumentText(const char *argument)
{
    return QString::fromUtf8(argument).replace(QStringLiteral("\\r\\n"), QStringLiteral("\r\n"));
}

double startOnce(const QString &program, const QString &first)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("probe"));
    QProcess target;
    target.setStandardOutputFile(QProcess::nullDevice());
    target.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    target.start(program, {});
    const double waited = waitForClipboard([&](const QString &text) { return text == first; }, 20000);
    const double ms = waited >= 0 ? clock.nsecsElapsed() / 1e6 : -1.0;
    target.terminate();
    if (!target.waitForFinished(3000)) {
        target.kill();
        target.waitForFinished(3000);
    }
    QThread::msleep(300);
    return ms;
}

// The programs take turns, so that a busy moment of the machine falls on both.
int startup(const QStringList &programs, const QString &first, int runs)
{
    std::vector<std::vector<double>> times(static_cast<std::size_t>(programs.size()));
    for (int run = 0; run < runs; ++run) {
        for (qsizetype p = 0; p < programs.size(); ++p) {
            const double ms = startOnce(programs.at(p), first);
            std::printf("startup_run_ms %s %.1f\n", qPrintable(programs.at(p)), ms);
            if (ms >= 0)
                times[static_cast<std::size_t>(p)].push_back(ms);
        }
    }
    for (qsizetype p = 0; p < programs.size(); ++p) {
        const auto &mine = times[static_cast<std::size_t>(p)];
        std::printf("startup_to_first_announcement_ms %s median %.1f (of %zu runs)\n", qPrintable(programs.at(p)),
                    percentile(mine, 0.5), mine.size());
    }
    return 0;
}

void pressKey(Display *display, KeyCode code)
{
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    XTestFakeKeyEvent(display, code, False, CurrentTime);
    XFlush(display);
}

int keys(const char *keysym, int repeats, const QString *expected)
{
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "clipboard_probe: no display\n");
        return 1;
    }
    const KeyCode code = XKeysymToKeycode(display, XStringToKeysym(keysym));
    QClipboard *clipboard = QGuiApplication::clipboard();
    std::vector<double> latencies;
    int missed = 0;
    for (int i = 0; i < repeats && missed < 3; ++i) {
        const QString sentinel = QStringLiteral("probe-sentinel-%1").arg(i);
        clipboard->setText(sentinel);
        if (waitForClipboard([&](const QString &text) { return text == sentinel; }, 2000) < 0)
            continue;
        // A change of owner stamped with the sentinel's own millisecond is
        // not reported to us: the key must come at least a tick later.
        QThread::msleep(2);
        QElapsedTimer clock;
        clock.start();
        pressKey(display, code);
        const double waited = waitForClipboard(
            [&](const QString &text) {
                return expected ? text == *expected : !text.isEmpty() && text != sentinel;
            },
            2000);
        if (waited < 0) {
            ++missed; // three in a row: the window no longer answers
            continue;
        }
        missed = 0;
        latencies.push_back(clock.nsecsElapsed() / 1e6);
    }
    XCloseDisplay(display);
    std::printf("key_to_announcement_ms median %.2f p95 %.2f (of %zu answered, %d asked)\n",
                percentile(latencies, 0.5), percentile(latencies, 0.95), latencies.size(), repeats);
    return 0;
}

int usage()
{
    std::fprintf(stderr, "usage: clipboard_probe startup FIRST_TEXT RUNS PROGRAM...\n"
                         "       clipboard_probe keys KEYSYM REPEATS [EXPECTED_TEXT]\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString command = argc > 1 ? QString::fromUtf8(argv[1]) : QString();
    if (command == QLatin1String("startup") && argc >= 5) {
        QStringList programs;
        for (int i = 4; i < argc; ++i)
            programs << QString::fromLocal8Bit(argv[i]);
        return startup(programs, argumentText(argv[2]), std::atoi(argv[3]));
    }
    if (command == QLatin1String("keys") && argc >= 4) {
        const QString expected = argc > 4 ? argumentText(argv[4]) : QString();
        return keys(argv[2], std::atoi(argv[3]), argc > 4 ? &expected : nullptr);
    }
    return usage();
}
