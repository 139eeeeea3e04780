// SPDX-License-Identifier: GPL-3.0-or-later
// Records figures: the hand-off of a finished run on the UI thread, the
// records window's figures (1,000 runs stored so far), the file's size per
// 1,000 runs. Prints figures and asserts nothing.
#include "records/record_keeper.h"
#include "records/record_store.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace hoshi;

namespace {

RunRecord run(int i)
{
    RunRecord r;
    r.mode = i % 2 ? QStringLiteral("frmYubiren2") : QStringLiteral("frmYubiren3");
    r.started = QDateTime(QDate(2024, 1, 1), QTime(9, 0)).addSecs(qint64(i) * 600);
    r.seconds = 30;
    r.hits = i % 40;
    r.misses = i % 7;
    r.score = r.hits - r.misses;
    r.missedKeys = {{QStringLiteral("E"), 1 + i % 3}, {QStringLiteral("R"), 1}};
    return r;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("records.sqlite"));
    {
        RecordStore store(path, QStringLiteral("fill"));
        store.open();
        for (int i = 0; i < 1000; ++i)
            store.insert(run(i));
    }
    std::printf("database size per 1,000 runs: %.1f KiB\n", double(QFileInfo(path).size()) / 1024.0);
    RecordKeeper keeper(path, {});
    keeper.start();
    std::vector<double> handOff;
    for (int i = 0; i < 200; ++i) {
        QElapsedTimer timer;
        timer.start();
        keeper.runFinished(run(100000 + i));
        handOff.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(handOff.begin(), handOff.end());
    std::printf("time-up hand-off on the UI thread, 200 runs: median %.3f ms, 95th percentile %.3f ms\n",
                handOff[100], handOff[190]);
    QElapsedTimer timer;
    timer.start();
    bool ready = false;
    keeper.requestSummary([&ready](const RecordsSummary &) { ready = true; });
    while (!ready)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    std::printf("records window's figures, 1,000 runs stored, after the 200 handed off are written: %.1f ms\n",
                double(timer.nsecsElapsed()) / 1e6);
    return 0;
}
