// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace hoshi {

/// Where the texts that are to be heard go: the built-in reading voice or a
/// screen reader. The texts of one event are heard in order; the first text
/// of a new event cuts short what an earlier event is still saying.
class VoiceOutput {
public:
    enum class Turn {
        NewEvent, ///< the first text of an event
        SameEvent ///< a later text of the same event
    };

    virtual ~VoiceOutput() = default;
    virtual void say(const QString &text, Turn turn) = 0;
    /// The same, but never to a screen reader (what it reads itself anyway).
    virtual void sayUnlessScreenReader(const QString &text, Turn turn) { say(text, turn); }
};

} // namespace hoshi
