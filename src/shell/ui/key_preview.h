// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <functional>

class QWidget;

namespace hoshi {

struct TranslatedKey;

/// Window-level key handling: every key press aimed at the watched widgets
/// (the window and its client) reaches the handler before any control or
/// focus traversal sees it, and goes no further.
class KeyPreview final : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(const TranslatedKey &)>;

    KeyPreview(Handler handler, QObject *parent);
    void watch(QWidget *widget);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Handler m_handler;
};

} // namespace hoshi
