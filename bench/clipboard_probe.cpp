// SPDX-License-Identifier: GPL-3.0-or-later
// Measures, from outside a program under the current X display, what a
// listener would notice on the clipboard and from speech-dispatcher. It prints
// figures and asserts nothing.
//
// clipboard_probe startup FIRST_TEXT RUNS PROGRAM... [--speech PROTOCOL_LOG PROGRAM...]
//     starts each PROGRAM RUNS times, in turns, each time timing process start
//     to FIRST_TEXT on the clipboard, and stops it again; prints every run and
//     the median per program. For the programs after --speech it also times
//     process start to the first SPEAK command speech-dispatcher read, by the
//     stamp in its protocol log (CustomLogFile "protocol").
// clipboard_probe keys KEYSYM REPEATS [EXPECTED_TEXT]
//     the program is running and its window has the keyboard: REPEATS times,
//     puts a sentinel of its own on the clipboard, sends one real key (XTest)
//     and times it until the clipboard holds EXPECTED_TEXT (or, without one,
//     any new non-empty text); prints the median and the 95th percentile. The
//     sentinel makes a repeated identical announcement visible.
// clipboard_probe speech KEYSYM REPEATS PROTOCOL_LOG
//     the program is running, speaks through the speech-dispatcher that writes
//     PROTOCOL_LOG, and its window has the keyboard: REPEATS times, sends one
//     real key and times it to the SPEAK command the server read next, by the
//     server's own stamp; the next key comes once the log has been still for
//     50 ms. Prints the median and the 95th percentile, and the same for the
//     key's first read (the CANCEL before its first text).
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QThread>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>
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

// Microseconds since the epoch, the clock speech-dispatcher stamps its log with.
qint64 realtimeUs()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<qint64>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

// "Mon Dec  7 09:23:07 2026" (ctime's form, local time) and the microseconds
// logged next to it; -1 if it is not that form. The month is matched by hand
// because strptime would expect the names of the current locale.
qint64 stampUs(const QString &date, qint64 usec)
{
    static const char *const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    char weekday[4] = {}, month[4] = {};
    std::tm parts{};
    if (std::sscanf(date.toLatin1().constData(), "%3s %3s %d %d:%d:%d %d", weekday, month, &parts.tm_mday,
                    &parts.tm_hour, &parts.tm_min, &parts.tm_sec, &parts.tm_year) != 7)
        return -1;
    parts.tm_mon = -1;
    for (int m = 0; m < 12; ++m)
        if (std::strcmp(month, months[m]) == 0)
            parts.tm_mon = m;
    if (parts.tm_mon < 0)
        return -1;
    parts.tm_year -= 1900;
    parts.tm_isdst = -1;
    return static_cast<qint64>(std::mktime(&parts)) * 1000000 + usec;
}

// speech-dispatcher's protocol log, read as it grows. Every read from a client
// is logged as "[DATE : USEC] speechd:     FD:DATA:|BYTES| (LENGTH)\n", every
// reply as "...:REPLY:|BYTES|\n" with no length. Only the program under test
// talks to this server, so every read is the program's.
class ProtocolLog
{
public:
    struct Read
    {
        qint64 stampUs;
        QByteArray bytes;
    };

    explicit ProtocolLog(const QString &path)
        : m_file(path)
    {
    }

    // Later reads see only what the server logs from now on.
    void skipToEnd()
    {
        poll();
        m_pending.clear();
        m_offset = m_file.isOpen() ? m_file.size() : 0;
    }

    // The next read logged from now on, waiting up to timeoutMs.
    std::optional<Read> next(int timeoutMs)
    {
        QElapsedTimer clock;
        clock.start();
        while (true) {
            if (auto read = take())
                return read;
            if (clock.elapsed() >= timeoutMs)
                return std::nullopt;
            QThread::msleep(1);
            poll();
        }
    }

    // Waits until nothing new is logged for quietMs (at most limitMs in all).
    void waitQuiet(int quietMs, int limitMs)
    {
        QElapsedTimer clock, quiet;
        clock.start();
        quiet.start();
        while (quiet.elapsed() < quietMs && clock.elapsed() < limitMs) {
            QThread::msleep(5);
            if (poll())
                quiet.restart();
        }
    }

    // SSIP commands are case-insensitive; libspeechd sends "speak".
    static bool isSpeak(const Read &read)
    {
        return read.bytes.left(7).toUpper() == "SPEAK\r\n";
    }

private:
    // Appends what was written since the last look; true if anything was.
    bool poll()
    {
        if (!m_file.isOpen() && !m_file.open(QIODevice::ReadOnly))
            return false;
        if (m_file.size() <= m_offset)
            return false;
        m_file.seek(m_offset);
        const QByteArray fresh = m_file.readAll();
        m_offset += fresh.size();
        m_pending += fresh;
        return !fresh.isEmpty();
    }

    // The first whole read in what is pending; replies and a half-written
    // entry are left for later.
    std::optional<Read> take()
    {
        static const QRegularExpression header(QStringLiteral("^\\[([^\\]\n]*) : (\\d+)\\] speechd: +\\d+:(DATA|REPLY):\\|"),
                                               QRegularExpression::MultilineOption);
        static const QRegularExpression trailer(QStringLiteral("\\| \\((\\d+)\\)\n"));
        // Latin-1 keeps one character per byte, so positions are byte offsets.
        const QString text = QString::fromLatin1(m_pending);
        qsizetype position = 0;
        while (true) {
            const QRegularExpressionMatch entry = header.match(text, position);
            if (!entry.hasMatch()) {
                m_pending.remove(0, position);
                return std::nullopt;
            }
            const qsizetype start = entry.capturedEnd();
            if (entry.captured(3) == QLatin1String("REPLY")) {
                position = start;
                continue;
            }
            // The bytes may hold "| (n)" themselves: the right trailer names their length.
            for (auto it = trailer.globalMatch(text, start); it.hasNext();) {
                const QRegularExpressionMatch end = it.next();
                if (end.captured(1).toLongLong() == end.capturedStart() - start) {
                    Read read{stampUs(entry.captured(1), entry.captured(2).toLongLong()),
                              m_pending.mid(start, end.capturedStart() - start)};
                    m_pending.remove(0, end.capturedEnd());
                    return read;
                }
            }
            m_pending.remove(0, entry.capturedStart()); // still being written
            return std::nullopt;
        }
    }

    QFile m_file;
    qint64 m_offset = 0;
    QByteArray m_pending;
};

// The server takes the date's second and the microseconds from two clocks, and
// the second's clock lags by up to a tick: just after a second begins it may
// log the one before, a whole second too early. A read that seems to come
// before sinceUs only because of that (its microseconds are within a tick of
// the second's start) gets its second back.
qint64 stampAfter(const ProtocolLog::Read &read, qint64 sinceUs)
{
    constexpr qint64 LagUs = 20000;
    const qint64 usec = read.stampUs % 1000000;
    if (read.stampUs < sinceUs && usec < LagUs && read.stampUs + 1000000 >= sinceUs)
        return read.stampUs + 1000000;
    return read.stampUs;
}

// The first SPEAK read stamped at or after sinceUs; its stamp or -1. An
// earlier one belongs to the key before.
qint64 waitForSpeak(ProtocolLog &log, qint64 sinceUs, int timeoutMs, qint64 *firstReadUs = nullptr)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs) {
        const auto read = log.next(timeoutMs - static_cast<int>(clock.elapsed()));
        if (!read)
            break;
        const qint64 stamp = stampAfter(*read, sinceUs);
        if (stamp < sinceUs)
            continue;
        if (firstReadUs && *firstReadUs < 0)
            *firstReadUs = stamp;
        if (ProtocolLog::isSpeak(*read))
            return stamp;
    }
    return -1;
}

QString argumentText(const char *argument)
{
    return QString::fromUtf8(argument).replace(QStringLiteral("\\r\\n"), QStringLiteral("\r\n"));
}

struct Start
{
    double announcementMs = -1;
    double speechMs = -1;
};

// One start: to the first announcement and, with a log, to the first SPEAK read.
Start startOnce(const QString &program, const QString &first, ProtocolLog *speech)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("probe"));
    QProcess target;
    target.setStandardOutputFile(QProcess::nullDevice());
    target.setStandardErrorFile(QProcess::nullDevice());
    if (speech)
        speech->skipToEnd();
    Start result;
    QElapsedTimer clock;
    const qint64 startUs = realtimeUs();
    clock.start();
    target.start(program, {});
    const double waited = waitForClipboard([&](const QString &text) { return text == first; }, 20000);
    if (waited >= 0)
        result.announcementMs = clock.nsecsElapsed() / 1e6;
    if (speech) {
        // The log holds every read since the start, so the order of the two does not matter.
        const qint64 spoken = waitForSpeak(*speech, startUs, 20000);
        if (spoken >= 0)
            result.speechMs = (spoken - startUs) / 1e3;
    }
    target.terminate();
    if (!target.waitForFinished(3000)) {
        target.kill();
        target.waitForFinished(3000);
    }
    QThread::msleep(300);
    return result;
}

// The programs take turns, so that a busy moment of the machine falls on all.
// The first `silent` programs are not watched for speech.
int startup(const QStringList &programs, qsizetype silent, const QString &first, int runs, ProtocolLog *speech)
{
    const auto count = static_cast<std::size_t>(programs.size());
    std::vector<std::vector<double>> times(count), speechTimes(count);
    for (int run = 0; run < runs; ++run) {
        for (qsizetype p = 0; p < programs.size(); ++p) {
            const bool speaks = p >= silent;
            const Start start = startOnce(programs.at(p), first, speaks ? speech : nullptr);
            const auto at = static_cast<std::size_t>(p);
            std::printf("startup_run_ms %s %.1f", qPrintable(programs.at(p)), start.announcementMs);
            if (speaks)
                std::printf(" speech %.1f", start.speechMs);
            std::printf("\n");
            if (start.announcementMs >= 0)
                times[at].push_back(start.announcementMs);
            if (start.speechMs >= 0)
                speechTimes[at].push_back(start.speechMs);
        }
    }
    for (qsizetype p = 0; p < programs.size(); ++p) {
        const auto &mine = times[static_cast<std::size_t>(p)];
        std::printf("startup_to_first_announcement_ms %s median %.1f (of %zu runs)\n", qPrintable(programs.at(p)),
                    percentile(mine, 0.5), mine.size());
        if (p >= silent) {
            const auto &spoken = speechTimes[static_cast<std::size_t>(p)];
            std::printf("startup_to_first_speech_ms %s median %.1f (of %zu runs)\n", qPrintable(programs.at(p)),
                        percentile(spoken, 0.5), spoken.size());
        }
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

int speech(const char *keysym, int repeats, const QString &logPath)
{
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "clipboard_probe: no display\n");
        return 1;
    }
    const KeyCode code = XKeysymToKeycode(display, XStringToKeysym(keysym));
    ProtocolLog log(logPath);
    std::vector<double> latencies, firstReads;
    // The program may still be waiting on speech-dispatcher for what came
    // before (a cancel that meets a text being started can take as long as the
    // text): the first key must not wait behind it.
    log.waitQuiet(1500, 10000);
    int missed = 0;
    for (int i = 0; i < repeats && missed < 3; ++i) {
        log.skipToEnd();
        const qint64 keyUs = realtimeUs();
        pressKey(display, code);
        qint64 firstReadUs = -1;
        const qint64 spoken = waitForSpeak(log, keyUs, 3000, &firstReadUs);
        if (spoken < 0) {
            std::fprintf(stderr, "clipboard_probe: key %d (%s) read no SPEAK in 3 s%s\n", i, keysym,
                         firstReadUs < 0 ? ", nor anything else" : "");
            ++missed; // three in a row: the window no longer answers
            continue;
        }
        missed = 0;
        latencies.push_back((spoken - keyUs) / 1e3);
        firstReads.push_back((firstReadUs - keyUs) / 1e3);
        // The rest of this key's speech (its text, a second announcement) is
        // read before the next key, so that it is not taken for the next one's;
        // the next key then still cancels a text being said, as in typing.
        log.waitQuiet(50, 3000);
    }
    XCloseDisplay(display);
    std::printf("key_to_speech_ms median %.2f p95 %.2f (of %zu answered, %d asked)\n", percentile(latencies, 0.5),
                percentile(latencies, 0.95), latencies.size(), repeats);
    std::printf("key_to_first_read_ms (the cancel) %.2f at the median, %.2f at p95\n", percentile(firstReads, 0.5),
                percentile(firstReads, 0.95));
    return 0;
}

int usage()
{
    std::fprintf(stderr, "usage: clipboard_probe startup FIRST_TEXT RUNS PROGRAM... [--speech PROTOCOL_LOG PROGRAM...]\n"
                         "       clipboard_probe keys KEYSYM REPEATS [EXPECTED_TEXT]\n"
                         "       clipboard_probe speech KEYSYM REPEATS PROTOCOL_LOG\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString command = argc > 1 ? QString::fromUtf8(argv[1]) : QString();
    if (command == QLatin1String("startup") && argc >= 5) {
        QStringList programs;
        qsizetype silent = -1;
        std::optional<ProtocolLog> log;
        for (int i = 4; i < argc; ++i) {
            if (std::strcmp(argv[i], "--speech") == 0 && i + 1 < argc && !log) {
                silent = programs.size();
                log.emplace(QString::fromLocal8Bit(argv[++i]));
            } else {
                programs << QString::fromLocal8Bit(argv[i]);
            }
        }
        if (programs.isEmpty())
            return usage();
        return startup(programs, log ? silent : programs.size(), argumentText(argv[2]), std::atoi(argv[3]),
                       log ? &*log : nullptr);
    }
    if (command == QLatin1String("speech") && argc == 5)
        return speech(argv[2], std::atoi(argv[3]), QString::fromLocal8Bit(argv[4]));
    if (command == QLatin1String("keys") && argc >= 4) {
        const QString expected = argc > 4 ? argumentText(argv[4]) : QString();
        return keys(argv[2], std::atoi(argv[3]), argc > 4 ? &expected : nullptr);
    }
    return usage();
}
