// SPDX-License-Identifier: GPL-3.0-or-later
// Records figures with 100,000 runs stored: the file's size per 1,000 runs,
// the hand-off of a finished run on the UI thread at time-up, and the records
// window opened, to its first announcement and to its first row of figures.
// Prints figures and asserts nothing.
//     records_bench [RUNS]         the figures, over RUNS runs (100,000)
//     records_bench fill PATH RUNS a records file of RUNS runs, for bench/run.sh;
//                                  prints the row the records window opens on
#include "platform/api/interfaces.h"
#include "records/record_keeper.h"
#include "records/record_store.h"
#include "records/records_browser.h"
#include "records/records_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace hoshi;

namespace {

const QStringList Modes{QStringLiteral("frmYubiren"), QStringLiteral("frmYubiren2"), QStringLiteral("frmYubiren3"),
                        QStringLiteral("frmJapanese"), QStringLiteral("frmEnglish")};

// A year and more of runs, ten minutes apart, spread over the five modes.
RunRecord run(int i)
{
    RunRecord r;
    r.mode = Modes[i % Modes.size()];
    r.started = QDateTime(QDate(2022, 1, 1), QTime(9, 0)).addSecs(qint64(i) * 600);
    r.seconds = 30;
    r.hits = i % 40;
    r.misses = i % 7;
    r.score = r.hits - r.misses;
    if (r.mode.startsWith(QLatin1String("frmYubiren")))
        r.missedKeys = {{QString(QChar(u'A' + i % 26)), 1 + i % 3}, {QStringLiteral("R"), 1}};
    else
        r.charsPerMinute = 20 + i % 50, r.accuracy = 0.5 + (i % 50) / 100.0;
    return r;
}

double fill(const QString &path, int runs)
{
    QElapsedTimer timer;
    timer.start();
    RecordStore store(path, QStringLiteral("fill"));
    store.open();
    constexpr int Batch = 10000;
    for (int first = 0; first < runs; first += Batch) {
        std::vector<RunRecord> batch;
        for (int i = first; i < std::min(runs, first + Batch); ++i)
            batch.push_back(run(i));
        if (store.insertAll(batch) != StoreProblem::None) {
            std::fprintf(stderr, "records_bench: cannot write %s\n", qPrintable(path));
            std::exit(1);
        }
    }
    return double(timer.elapsed());
}

// Notes when each text was announced, from the moment it was started.
class TimedAnnouncer final : public Announcer {
public:
    void restart()
    {
        m_clock.start();
        m_texts.clear();
        m_times.clear();
    }
    void announce(const QString &text) override
    {
        m_texts << text;
        m_times.push_back(double(m_clock.nsecsElapsed()) / 1e6);
    }
    int count() const { return int(m_texts.size()); }
    double at(int i) const { return m_times[std::size_t(i)]; }
    const QString &text(int i) const { return m_texts[i]; }

private:
    QElapsedTimer m_clock;
    QStringList m_texts;
    std::vector<double> m_times;
};

QString firstRow(const QString &path)
{
    RecordStore store(path, QStringLiteral("read"));
    store.openToRead();
    TimedAnnouncer announcer;
    RecordsBrowser browser(announcer);
    browser.show(store.summary());
    return browser.rows().value(0);
}

void waitFor(const std::function<bool()> &done)
{
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double percentile95(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, values.size() * 95 / 100)];
}

void handOff(RecordKeeper &keeper)
{
    std::vector<double> times;
    for (int i = 0; i < 200; ++i) {
        QElapsedTimer timer;
        timer.start();
        keeper.runFinished(run(200000 + i));
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("records_hand_off_ms median %.3f p95 %.3f (200 runs at time-up, on the UI thread)\n", median(times),
                percentile95(times));
}

// The window opened REPEATS times: to its first announcement, and to the
// first row of figures (the heading row of the first mode).
void openWindow(RecordKeeper &keeper, int repeats)
{
    TimedAnnouncer announcer;
    RecordsWindow window(&keeper, announcer);
    std::vector<double> first;
    std::vector<double> filled;
    for (int round = 0; round < repeats; ++round) {
        announcer.restart();
        window.open();
        waitFor([&] { return announcer.count() > 0 && window.browser().loaded(); });
        first.push_back(announcer.at(0));
        filled.push_back(announcer.at(announcer.count() - 1));
        if (round == 0)
            std::printf("records window: first said '%s', then '%s'\n", qPrintable(announcer.text(0)),
                        qPrintable(announcer.text(announcer.count() - 1)));
        window.close();
        QCoreApplication::processEvents();
    }
    std::printf("records_window_first_announcement_ms median %.1f p95 %.1f (%d opens)\n", median(first),
                percentile95(first), repeats);
    std::printf("records_window_figures_ms median %.1f p95 %.1f (%d opens)\n", median(filled),
                percentile95(filled), repeats);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "fill") {
        const QString path = QString::fromLocal8Bit(argv[2]);
        fill(path, std::atoi(argv[3]));
        std::printf("%s\n", qPrintable(firstRow(path)));
        return 0;
    }
    const int runs = argc > 1 ? std::atoi(argv[1]) : 100000;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("records.sqlite"));
    const double filling = fill(path, runs);
    std::printf("records_fill_ms %.0f (%d runs, batches of 10,000)\n", filling, runs);
    std::printf("records_size_per_1000_runs_kib %.1f (%d runs: %.1f MiB)\n",
                double(QFileInfo(path).size()) / 1024.0 / (runs / 1000.0), runs,
                double(QFileInfo(path).size()) / 1024.0 / 1024.0);
    RecordKeeper keeper(path, {});
    QElapsedTimer started;
    started.start();
    keeper.start();
    bool ready = false;
    keeper.requestSummary([&ready](const RecordsSummary &) { ready = true; });
    waitFor([&] { return ready; });
    std::printf("records_store_started_ms %.1f (opened, history read, one summary)\n", double(started.elapsed()));
    openWindow(keeper, 9);
    handOff(keeper);
    return 0;
}
