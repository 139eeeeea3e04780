// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/records_summary.h"

#include <QString>
#include <QStringList>

namespace hoshi {

class Announcer;

/// The records window's behaviour, without widgets: the modes with runs kept,
/// one at a time; Left and Right change the mode, Up and Down move through its
/// rows (its heading with the best, the keys missed most, the last runs).
/// Every row reached is announced; Escape asks to close.
class RecordsBrowser {
public:
    enum class KeyResult { None, Handled, Close };

    explicit RecordsBrowser(Announcer &announcer);

    /// The window opens and says at once that its figures are being read.
    void open();
    /// The window opens with no records kept (--no-records), and says so.
    void openWithoutRecords();
    /// The store's figures: the first row is announced, unless `quietly`
    /// (when the window has just said something else).
    void show(const RecordsSummary &summary, bool quietly = false);
    KeyResult keyDown(int keyCode);

    bool loaded() const { return m_state == State::Loaded; }
    /// The mode shown, or nullptr when no run is kept.
    const ModeSummary *mode() const;
    QStringList rows() const;
    int row() const { return m_row; }

    /// A mode's caption, as the launcher names it.
    static QString modeCaption(const QString &mode);
    /// "にがてな キー: え、る、ぴ" (the five missed most), or that none was missed.
    static QString weakKeysText(const ModeSummary &mode);

    /// What is said where no records are kept.
    static QString notKeptText();

private:
    enum class State { Loading, Loaded, NotKept };

    void start(State state);
    void moveMode(int step);
    void moveRow(int step);
    void announceRow();

    Announcer &m_announcer;
    RecordsSummary m_summary;
    State m_state = State::Loading;
    int m_mode = 0;
    int m_row = 0;
};

} // namespace hoshi
