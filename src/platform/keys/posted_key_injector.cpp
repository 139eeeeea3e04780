// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/keys/posted_key_injector.h"

#include "platform/api/key_codes.h"
#include "platform/keys/jis_keymap.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace hoshi {

namespace {

Qt::KeyboardModifiers qtModifiers(int mask)
{
    Qt::KeyboardModifiers modifiers;
    if (mask & ShiftBit)
        modifiers |= Qt::ShiftModifier;
    if (mask & CtrlBit)
        modifiers |= Qt::ControlModifier;
    if (mask & AltBit)
        modifiers |= Qt::AltModifier;
    return modifiers;
}

} // namespace

PostedKeyInjector::PostedKeyInjector(QObject *receiver)
    : m_receiver(receiver)
{
}

void PostedKeyInjector::inject(int keyCode, int modifiers, KeyDirection direction)
{
    const int qtKey = qtKeyFromVirtualKey(keyCode);
    if (!m_receiver || qtKey == 0)
        return;
    const auto type = direction == KeyDirection::Down ? QEvent::KeyPress : QEvent::KeyRelease;
    const QString text = keyCode == VkTab ? QStringLiteral("\t") : QString();
    QCoreApplication::postEvent(m_receiver, new QKeyEvent(type, qtKey, qtModifiers(modifiers), text));
}

} // namespace hoshi
