// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/records_window.h"

#include "platform/api/interfaces.h"
#include "platform/keys/key_event.h"
#include "records/record_keeper.h"
#include "records/records_chart.h"
#include "ui/fonts.h"
#include "ui/key_preview.h"
#include "ui/labels.h"
#include "ui/menu_voice.h"
#include "ui/menus.h"
#include "ui/say_text.h"
#include "ui/twips_layout.h"
#include "ui/widget_look.h"

#include <QDir>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QStyle>

#include <algorithm>

namespace hoshi {

namespace {

const QColor Navy(0, 0, 128);
const QColor Yellow(255, 255, 0);
constexpr double HeadingPoints = 40;
constexpr double RowPoints = 28;
// The rows are drawn smaller where fewer than this many would show, or where
// the longest row a typing mode has would take more than three lines.
constexpr int RowsAtLeast = 6;
constexpr int LinesAtMost = 3;
const QString LongestRow = QStringLiteral("１２月２８日 ２３時５８分 マイナス８８８てん １ぷんに ８８８もじ"
                                          " せいかく １００パーセント とちゅうで おわり");

} // namespace

RecordsWindow::RecordsWindow(RecordKeeper *keeper, Announcer &announcer, QWidget *parent)
    : ModeWindow(parent)
    , m_keeper(keeper)
    , m_announcer(announcer)
    , m_browser(announcer)
{
    setObjectName(QStringLiteral("frmKiroku"));
    setWindowTitle(QStringLiteral("きろく"));
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setColours(client, Navy, Qt::white);
    setCentralWidget(client);
    m_heading = makeLabel(client, QStringLiteral("lblHeading"),
                          {.pointSize = HeadingPoints, .text = Yellow, .plainText = true});
    m_rows = new QListWidget(client);
    m_rows->setObjectName(QStringLiteral("lstKiroku"));
    m_rows->setAccessibleName(QStringLiteral("きろく"));
    m_rows->setFont(japaneseFont(FontFace::Proportional, RowPoints));
    // A long row wraps rather than running past the edge; the selected one
    // is black on yellow in either palette.
    m_rows->setWordWrap(true);
    m_rows->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_rows->setTextElideMode(Qt::ElideNone);
    setListColours(m_rows, Qt::black, Qt::white, Yellow, Qt::black);
    m_chart = new RecordsChart(client);
    buildMenus();
    auto *keys = new KeyPreview(
        [this](const TranslatedKey &key) {
            const RecordsBrowser::KeyResult result = m_browser.keyDown(key.down.keyCode);
            if (result == RecordsBrowser::KeyResult::Close)
                close();
            render();
            return result != RecordsBrowser::KeyResult::None;
        },
        this);
    keys->watch(this);
    keys->watch(m_rows);
}

QString RecordsWindow::exportFile()
{
    return QDir::homePath() + QStringLiteral("/hoshinotamago-records.csv");
}

void RecordsWindow::buildMenus()
{
    QMenu *file = addMenu(this, QStringLiteral("mnuFile"), QStringLiteral("ファイル(&F)"));
    addEntry(file, QStringLiteral("mnuExport"), QStringLiteral("CSVに書き出す(&E)"), [this] { exportCsv(); });
    addEntry(file, QStringLiteral("mnuErase"), QStringLiteral("きろくを全部消す(&D)"), [this] { eraseAll(); });
    addEntry(file, QStringLiteral("mnuEnd"), QStringLiteral("閉じる(&X or Escape)"), [this] { close(); });
    speakMenus(this, menuHintThrough(m_announcer));
}

// Shown and said at once; the figures follow from the store's thread.
void RecordsWindow::load()
{
    placeFillingScreen(this);
    if (m_keeper)
        m_browser.open();
    else
        m_browser.openWithoutRecords();
    render();
    m_rows->setFocus(Qt::OtherFocusReason);
    fillIn(false);
}

void RecordsWindow::fillIn(bool quietly)
{
    if (!m_keeper)
        return;
    QPointer<RecordsWindow> self(this);
    m_keeper->requestSummary([self, quietly](const RecordsSummary &summary) {
        if (!self || !self->isVisible())
            return;
        self->m_browser.show(summary, quietly);
        self->render();
    });
}

bool RecordsWindow::recordsKept()
{
    if (!m_keeper)
        m_announcer.announce(RecordsBrowser::notKeptText());
    return m_keeper;
}

void RecordsWindow::exportCsv()
{
    if (!recordsKept())
        return;
    QPointer<RecordsWindow> self(this);
    const QString file = exportFile();
    m_keeper->exportCsv(file, [self, file](bool written) {
        if (self)
            self->m_announcer.announce(written ? QStringLiteral("%1 に かきだしたよ").arg(file)
                                               : QStringLiteral("%1 に かけませんでした").arg(file));
    });
}

void RecordsWindow::eraseAll()
{
    if (!recordsKept())
        return;
    const QString question = QStringLiteral("きろくを ぜんぶ けしますか？ けすなら Y、やめるなら Escape");
    m_announcer.announce(question);
    QMessageBox box(QMessageBox::Question, windowTitle(), question, QMessageBox::Yes | QMessageBox::No, this);
    box.setObjectName(QStringLiteral("eraseQuestion"));
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    if (box.exec() != QMessageBox::Yes) {
        m_announcer.announce(QStringLiteral("けさなかったよ"));
        return;
    }
    QPointer<RecordsWindow> self(this);
    m_keeper->eraseAll([self](bool erased) {
        if (!self)
            return;
        self->m_announcer.announce(erased ? QStringLiteral("きろくを ぜんぶ けしたよ")
                                          : QStringLiteral("きろくを けせませんでした"));
        self->fillIn(true);
    });
}

void RecordsWindow::render()
{
    const ModeSummary *mode = m_browser.mode();
    m_heading->setText(mode ? RecordsBrowser::modeCaption(mode->mode) + QStringLiteral("  ← → / ↑ ↓")
                            : QStringLiteral("きろく"));
    const QStringList rows = m_browser.rows();
    if (m_rows->count() != rows.size() || m_rows->item(0)->text() != rows.front()) {
        m_rows->clear();
        m_rows->addItems(rows);
    }
    m_rows->setCurrentRow(m_browser.row());
    const bool typing = mode && (mode->mode == QLatin1String("frmJapanese") || mode->mode == QLatin1String("frmEnglish"));
    m_chart->showDays(mode ? mode->days : std::vector<DayPoint>{}, typing);
}

void RecordsWindow::resizeEvent(QResizeEvent *event)
{
    ModeWindow::resizeEvent(event);
    layOut();
}

// Every size from the fonts: a margin of half a heading line, the heading one
// line high, the rows three fifths of the width and the chart the rest.
void RecordsWindow::layOut()
{
    const QRect area = centralWidget()->rect();
    const QFontMetrics heading(japaneseFont(FontFace::Proportional, HeadingPoints), this);
    const int margin = heading.height() / 2;
    const int headingHeight = std::min(heading.lineSpacing() + margin / 2, area.height() / 5);
    const QRect body = area.adjusted(margin, margin + headingHeight + margin, -margin, -margin);
    const int rowsWidth = (body.width() - margin) * 3 / 5;
    m_heading->setGeometry(area.left() + margin, area.top() + margin, area.width() - 2 * margin, headingHeight);
    m_rows->setGeometry(body.left(), body.top(), rowsWidth, body.height());
    m_chart->setGeometry(body.left() + rowsWidth + margin, body.top(), body.width() - rowsWidth - margin, body.height());
    const int inside = rowsWidth - 2 * m_rows->frameWidth() - style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    m_rows->setFont(japaneseFont(FontFace::Proportional, rowPoints(QSize(inside, body.height()))));
}

double RecordsWindow::rowPoints(QSize room) const
{
    const QFontMetrics designed(japaneseFont(FontFace::Proportional, RowPoints), this);
    // A little under the room: each row has its own margins.
    const double wide = LinesAtMost * (room.width() - designed.averageCharWidth());
    const double byWidth = RowPoints * wide / designed.horizontalAdvance(LongestRow);
    const double byHeight = RowPoints * room.height() / (RowsAtLeast * designed.lineSpacing());
    return std::clamp(std::min(byWidth, byHeight), MinimumFitPoints, RowPoints);
}

} // namespace hoshi
