// SPDX-License-Identifier: GPL-3.0-or-later
#include "typing/typing_text_box.h"

#include "ui/fonts.h"
#include "ui/text_fit.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QRegularExpression>
#include <QTextLayout>

namespace hoshi {

namespace {
constexpr double BoxPoints = 80.25;
}

TypingTextBox::TypingTextBox(Role role, QColor text, QWidget *parent)
    : QPlainTextEdit(parent)
    , m_role(role)
{
    setFont(japaneseFont(FontFace::Proportional, BoxPoints));
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::black);
    colours.setColor(QPalette::Text, text);
    setPalette(colours);
    setFrameShape(QFrame::NoFrame);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
    if (role == Role::Display) {
        setReadOnly(true);
        setFocusPolicy(Qt::NoFocus);
        setTextInteractionFlags(Qt::NoTextInteraction);
    }
    connect(this, &QPlainTextEdit::textChanged, this, &TypingTextBox::fitText);
}

void TypingTextBox::keyPressEvent(QKeyEvent *event)
{
    // Tab moves the focus on; where no other control takes it (the input box
    // is the window's only one), Qt hands it back here to be typed: it does nothing instead.
    if (tabChangesFocus() && (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)) {
        event->ignore();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TypingTextBox::resizeEvent(QResizeEvent *event)
{
    QPlainTextEdit::resizeEvent(event);
    fitText();
}

// The height the box's own layout gives the text in `font` at `width`: its
// lines wrapped anywhere, leading included, as the box lays out each block.
qreal TypingTextBox::laidOutHeight(const QString &text, const QFont &font, qreal width) const
{
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    qreal height = 0;
    for (const QString &block : text.split(QLatin1Char('\n'))) {
        QTextLayout layout(block, font, viewport());
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLeadingIncluded(true);
            line.setLineWidth(width);
            height += line.height();
        }
        layout.endLayout();
    }
    return height;
}

void TypingTextBox::fitText()
{
    const qreal margin = document()->documentMargin();
    const qreal width = viewport()->width() - 2 * margin;
    // One pixel less: the box shows a scroll bar for a text that fills it to the last row.
    const qreal height = viewport()->height() - 2 * margin - 1;
    // An empty box still holds the cursor's line, which must fit as a first character would.
    const QString text = toPlainText().isEmpty() ? QStringLiteral("あ") : toPlainText();
    const double points = largestFittingPoints(BoxPoints, [&](double candidate) {
        return laidOutHeight(text, japaneseFont(FontFace::Proportional, candidate), width) <= height;
    });
    if (font().pointSizeF() != points)
        setFont(japaneseFont(FontFace::Proportional, points));
}

void TypingTextBox::showText(const QString &text)
{
    if (toPlainText() == text)
        return;
    setPlainText(text);
    moveCursor(m_role == Role::Display ? QTextCursor::Start : QTextCursor::End);
}

void TypingTextBox::insertFromMimeData(const QMimeData *source)
{
    if (!source || !source->hasText())
        return;
    QString text = source->text();
    text.remove(QRegularExpression(QStringLiteral("[\\r\\n\\x{2028}\\x{2029}]")));
    insertPlainText(text);
}

} // namespace hoshi
