// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

namespace hoshi {

class Announcer;
class KeyInjector;
struct KeyEntry;

/// What the key guide window draws.
struct KeyGuideState {
    QString keyText;          ///< lblKey: display text of the last key
    QString yomiText;         ///< lblYomi: reading of the last key
    bool injectArmed = false; ///< the next Windows key, F10 or Alt re-presses itself
};

/// The key guide's behaviour: every key-down is looked up in the key
/// catalogue, its texts replace the shown ones, and both shown texts are
/// announced, display first, on every key-down (auto-repeat included), even
/// when nothing changed. The Windows key, F10 and Alt alternate between
/// injecting a re-press (so the system menu does not keep the keyboard) and
/// re-arming; an injected key-down comes back here as an ordinary one.
class KeyGuide {
public:
    KeyGuide(Announcer &announcer, KeyInjector &injector, std::function<void()> closeInputMethod);

    /// The display text before the first key: a prompt for a newcomer.
    static QString initialKeyText();

    /// On opening: initial texts, the input method closed, injection armed.
    /// Nothing is announced.
    void load();
    /// One key-down: Windows virtual-key code and the 1/2/4 modifier mask.
    void keyDown(int keyCode, int modifiers);

    const KeyGuideState &state() const { return m_state; }

private:
    void applyTableEntry(const KeyEntry &entry, int keyCode);
    void applyModifierEntry(const KeyEntry &entry, int modifiers);
    /// Returns true when armed: the caller injects and the flag drops.
    bool takeArmedOrRearm();

    Announcer &m_announcer;
    KeyInjector &m_injector;
    std::function<void()> m_closeInputMethod;
    KeyGuideState m_state;
};

} // namespace hoshi
