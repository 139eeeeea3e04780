// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace hoshi {

/// A connection to a speech service, used from one thread only. Every call
/// may block while the service answers; a false result means the connection
/// is lost (or could not be made) and has to be opened again.
class SpeechService {
public:
    virtual ~SpeechService() = default;
    virtual bool open() = 0;
    virtual void close() = 0;
    /// Queues the text after what this client is still saying.
    virtual bool say(const QString &text) = 0;
    /// Stops what this client is saying and drops what it has queued.
    virtual bool cancel() = 0;
    /// The rate of what it says from now on, -100 (slowest) to 100; a new
    /// connection speaks at the rate the user set for the service.
    virtual bool setRate(int rate) = 0;
};

} // namespace hoshi
