// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>
#include <utility>

namespace hoshi {

/// A text-to-speech engine as the speech queue sees it. say() may cut short
/// whatever the engine is saying; every change of state is reported to the
/// one listener.
class SpeechEngine {
public:
    enum class State { Ready, Speaking, Paused, Error };
    using StateListener = std::function<void(State)>;

    virtual ~SpeechEngine() = default;
    virtual State state() const = 0;
    virtual void say(const QString &text) = 0;

    void setStateListener(StateListener listener) { m_listener = std::move(listener); }

protected:
    void reportState(State state)
    {
        if (m_listener)
            m_listener(state);
    }

private:
    StateListener m_listener;
};

} // namespace hoshi
