// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QWidget;

namespace hoshi {

struct TranslatedKey;

/// Window-level key handling, the one way every window sees its keys first:
/// each key press aimed at the watched widgets reaches the handler before
/// any control, shortcut or focus traversal does. A key the handler takes
/// (it returns true) goes no further; any other goes on as usual.
class KeyPreview final : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<bool(const TranslatedKey &)>;

    KeyPreview(Handler handler, QObject *parent);
    ~KeyPreview() override;

    /// Key presses sent to this widget.
    void watch(QWidget *widget);
    /// Instead of watch(): every key event of the window and of all its controls, the menu bar
    /// included: presses go to the handler, and no key, release or shortcut
    /// reaches anything else. Windows of their own (message boxes) keep theirs.
    void watchWholeWindow(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool belongsToWholeWindow(QObject *watched) const;

    Handler m_handler;
    QPointer<QWidget> m_wholeWindow;
};

} // namespace hoshi
