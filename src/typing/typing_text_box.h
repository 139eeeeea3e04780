// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPlainTextEdit>

namespace hoshi {

/// A text box of a typing window: one practice line in huge type, wrapped at
/// the box's edge (anywhere, since Japanese has no spaces) and drawn smaller
/// where it would still not fit, so nothing is cut off. Pasted or dropped
/// text loses its line breaks: a line has none. Tab is never typed into it.
class TypingTextBox final : public QPlainTextEdit {
    Q_OBJECT
public:
    enum class Role {
        Display, ///< read-only; a new line is shown from its beginning
        Input    ///< the cursor stays at the end of what was typed
    };

    TypingTextBox(Role role, QColor text, QWidget *parent);

    /// Sets the text unless it is already there.
    void showText(const QString &text);

protected:
    void insertFromMimeData(const QMimeData *source) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    /// Smaller type only where the wrapped text would not fit the box.
    void fitText();
    qreal laidOutHeight(const QString &text, const QFont &font, qreal width) const;

    Role m_role;
};

} // namespace hoshi
