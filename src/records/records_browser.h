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

    /// The window opens: nothing to show until the figures arrive.
    void open();
    /// The store's figures: the first row is announced.
    void show(const RecordsSummary &summary);
    KeyResult keyDown(int keyCode);

    bool loaded() const { return m_loaded; }
    /// The mode shown, or nullptr when no run is kept.
    const ModeSummary *mode() const;
    QStringList rows() const;
    int row() const { return m_row; }

    /// A mode's caption, as the launcher names it.
    static QString modeCaption(const QString &mode);
    /// "にがてな キー: え、る、ぴ", or that none was missed.
    static QString weakKeysText(const ModeSummary &mode);

private:
    void moveMode(int step);
    void moveRow(int step);
    void announceRow();

    Announcer &m_announcer;
    RecordsSummary m_summary;
    bool m_loaded = false;
    int m_mode = 0;
    int m_row = 0;
};

} // namespace hoshi
