// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyguide/key_guide.h"

#include "keyguide/key_catalogue.h"
#include "platform/api/interfaces.h"
#include "platform/api/key_codes.h"

#include <utility>

namespace hoshi {

namespace {
// A Japanese font draws the backslash as a yen mark: the yen key shows "\"
// and the ろ key "￥". Said as the signs' own names they would give each key
// the other's name before its own, so only the key's reading is heard.
bool namesAnotherKey(const QString &display)
{
    return display == QStringLiteral("\\") || display == QStringLiteral("\uFFE5");
}
} // namespace

KeyGuide::KeyGuide(Announcer &announcer, KeyInjector &injector, std::function<void()> closeInputMethod)
    : m_announcer(announcer)
    , m_injector(injector)
    , m_closeInputMethod(std::move(closeInputMethod))
{
    m_state.keyText = initialKeyText();
}

QString KeyGuide::initialKeyText()
{
    return QStringLiteral("キーをおしてね");
}

void KeyGuide::load()
{
    m_state.keyText = initialKeyText();
    m_state.yomiText.clear();
    if (m_closeInputMethod)
        m_closeInputMethod();
    m_state.injectArmed = true;
    m_announcer.hint(initialKeyText());
}

void KeyGuide::keyDown(int keyCode, int modifiers)
{
    const KeyLookup found = LookUpKey(keyCode, modifiers);
    if (found.tableEntry)
        applyTableEntry(*found.tableEntry, keyCode);
    if (found.modifierEntry)
        applyModifierEntry(*found.modifierEntry, modifiers);
    // Every key-down is heard, even one that changed nothing.
    if (namesAnotherKey(m_state.keyText))
        m_announcer.announceUnheard(m_state.keyText);
    else
        m_announcer.announce(m_state.keyText);
    m_announcer.announce(m_state.yomiText);
}

void KeyGuide::applyTableEntry(const KeyEntry &entry, int keyCode)
{
    m_state.keyText = entry.display;
    if (!entry.keepReading)
        m_state.yomiText = entry.reading;
    switch (entry.action) {
    case KeyAction::ImeOff:
        if (m_closeInputMethod)
            m_closeInputMethod();
        break;
    case KeyAction::RepressSameKey:
        if (takeArmedOrRearm()) {
            m_injector.inject(keyCode, 0, KeyDirection::Up);
            m_injector.inject(keyCode, 0, KeyDirection::Down);
        }
        break;
    case KeyAction::NoAction:
    case KeyAction::RepressAlt:
        break;
    }
}

void KeyGuide::applyModifierEntry(const KeyEntry &entry, int modifiers)
{
    m_state.keyText = entry.display;
    m_state.yomiText = entry.reading;
    // Alt is still held while the re-press arrives, so both events carry it.
    if (entry.action == KeyAction::RepressAlt && takeArmedOrRearm()) {
        m_injector.inject(VkEscape, modifiers, KeyDirection::Up);
        m_injector.inject(VkMenu, modifiers, KeyDirection::Down);
    }
}

bool KeyGuide::takeArmedOrRearm()
{
    const bool wasArmed = m_state.injectArmed;
    m_state.injectArmed = !wasArmed;
    return wasArmed;
}

} // namespace hoshi
