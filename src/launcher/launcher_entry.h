// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

namespace hoshi {

/// One numbered entry of the launcher: a two-line box that turns white on
/// black while it has the focus and reports each time it gains it.
class LauncherEntry final : public QLabel {
    Q_OBJECT
public:
    LauncherEntry(int number, const QString &caption, QWidget *parent = nullptr);

    int number() const { return m_number; }
    /// The full-width digit, CR LF and the caption, as announced.
    QString announcement() const { return m_announcement; }
    /// Draws the focused or the resting colours.
    void showFocused(bool focused);

signals:
    void focusGained(hoshi::LauncherEntry *entry, Qt::FocusReason reason);

protected:
    bool event(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    int m_number;
    QString m_announcement;
};

} // namespace hoshi
