// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/app_records.h"

#include "platform/api/interfaces.h"
#include "records/record_keeper.h"
#include "records/record_problem_notice.h"
#include "records/records_browser.h"
#include "records/records_window.h"
#include "ui/menus.h"

#include <QMainWindow>
#include <QMenuBar>
#include <QPointer>

namespace hoshi {

namespace {
constexpr int EnglishTyping = 6;
} // namespace

AppRecords::AppRecords(bool keep, Announcer &announcer)
    : m_announcer(announcer)
{
    if (keep) {
        m_keeper = std::make_unique<RecordKeeper>(RecordKeeper::defaultPath(), [&announcer](StoreProblem problem,
                                                                                            const QString &) {
            tellRecordProblem(announcer, problem);
        });
    }
}

AppRecords::~AppRecords() = default;

RunRecorder *AppRecords::recorder()
{
    return m_keeper.get();
}

void AppRecords::start()
{
    if (m_keeper)
        m_keeper->start();
}

void AppRecords::openWindow()
{
    if (!m_window)
        m_window = std::make_unique<RecordsWindow>(m_keeper.get(), m_announcer);
    m_window->open();
}

void AppRecords::addEntries(QMainWindow &window, int modeNumber)
{
    const QString caption = modeNumber == EnglishTyping ? QStringLiteral("Records(&K)") : QStringLiteral("きろく(&K)");
    addEntry(window.menuBar(), QStringLiteral("mnuKiroku"), caption, [this] { openWindow(); });
    if (modeNumber >= 2 && modeNumber <= 4) {
        addEntry(window.menuBar(), QStringLiteral("mnuNigate"), QStringLiteral("にがてなキー(&W)"),
                 [this, mode = window.objectName()] { sayWeakKeys(mode); });
    }
}

void AppRecords::sayWeakKeys(const QString &mode)
{
    if (!m_keeper) {
        m_announcer.announce(QStringLiteral("きろくは とらない せっていです"));
        return;
    }
    Announcer *announcer = &m_announcer;
    m_keeper->requestSummary([announcer, mode](const RecordsSummary &summary) {
        for (const ModeSummary &shown : summary.modes) {
            if (shown.mode == mode) {
                announcer->announce(RecordsBrowser::weakKeysText(shown));
                return;
            }
        }
        announcer->announce(RecordsBrowser::weakKeysText(ModeSummary{}));
    });
}

} // namespace hoshi
