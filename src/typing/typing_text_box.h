#pragma once

#include <QPlainTextEdit>

namespace hoshi {

/// A text box of a typing window: one practice line in huge type, wrapped at
/// the box's edge (anywhere, since Japanese has no spaces) so nothing is cut
/// off. Pasted or dropped text loses its line breaks: a line has none.
class TypingTextBox final : public QPlainTextEdit {
    Q_OBJECT
public:
    TypingTextBox(QColor text, QWidget *parent);

    /// Sets the text unless it is already there, keeping the cursor at the end.
    void showText(const QString &text);

protected:
    void insertFromMimeData(const QMimeData *source) override;
};

} // namespace hoshi
