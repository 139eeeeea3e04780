// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/records_browser.h"
#include "ui/mode_window.h"

class QLabel;
class QListWidget;

namespace hoshi {

class Announcer;
class RecordKeeper;
class RecordsChart;

/// きろく: every mode's last runs, its best, the keys missed most and a chart
/// of its days, full-screen in large type. Left and Right change the mode, Up
/// and Down the row, each announced; Escape closes. Without a keeper
/// (--no-records) it says that no records are kept.
class RecordsWindow final : public ModeWindow {
    Q_OBJECT
public:
    RecordsWindow(RecordKeeper *keeper, Announcer &announcer, QWidget *parent = nullptr);

    const RecordsBrowser &browser() const { return m_browser; }
    /// Where the menu's export writes: the CSV file in the home folder.
    static QString exportFile();

protected:
    void load() override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildMenus();
    void fillIn(bool quietly);
    /// Says so where no records are kept.
    bool recordsKept();
    void exportCsv();
    void eraseAll();
    void render();
    void layOut();
    double rowPoints(QSize room) const;

    RecordKeeper *m_keeper;
    Announcer &m_announcer;
    RecordsBrowser m_browser;
    QLabel *m_heading = nullptr;
    QListWidget *m_rows = nullptr;
    RecordsChart *m_chart = nullptr;
};

} // namespace hoshi
