// SPDX-License-Identifier: GPL-3.0-or-later
#include "typing/typing_text_box.h"

#include "ui/fonts.h"
#include "ui/text_fit.h"

#include <QMimeData>
#include <QRegularExpression>

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

void TypingTextBox::resizeEvent(QResizeEvent *event)
{
    QPlainTextEdit::resizeEvent(event);
    fitText();
}

void TypingTextBox::fitText()
{
    const QFont designed = japaneseFont(FontFace::Proportional, BoxPoints);
    const qreal margin = document()->documentMargin();
    const QSizeF room = QSizeF(viewport()->size()) - QSizeF(2 * margin, 2 * margin);
    const double points = fittingPointSize(designed, toPlainText(), room,
                                           Qt::AlignLeft | Qt::TextWordWrap | Qt::TextWrapAnywhere, this);
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
