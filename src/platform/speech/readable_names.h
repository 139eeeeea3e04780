// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a screen reader reads of the windows themselves (the names of titles,
// labels and buttons) is given as the kana reading of what they show: a voice
// that cannot read kanji (Debian's Japanese voice) reads it, and so does a
// braille display, whose Japanese is kana too.

#include <QString>

#include <functional>

class QWidget;

namespace hoshi {

using ReadingOf = std::function<QString(const QString &)>;

/// The text without control characters (escape sequences, BEL, DEL, ...),
/// which a voice would read out or choke on; line breaks become blanks.
QString withoutControlCharacters(const QString &text);

/// The text as a screen reader is to get it: without control characters
/// (line breaks become blanks), a Japanese text as its reading with blanks
/// where it pauses (a screen reader reads 、 and 。 out as words).
QString screenReaderText(const ReadingOf &readingOf, const QString &text);

/// From now on the accessible names of labels, buttons and windows are their
/// readings, made with readingOf when a screen reader asks for them.
/// Installing again replaces readingOf; an empty one turns readings off.
void installReadableNames(ReadingOf readingOf);

/// The name a screen reader gets for the widget (a text without Japanese as it is).
QString readableName(QWidget *widget);

} // namespace hoshi
