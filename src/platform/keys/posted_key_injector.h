// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/api/interfaces.h"

#include <QPointer>

class QObject;

namespace hoshi {

/// Injects key events by posting them to one receiver (a window of this
/// program), so they are handled after the current event, like typed keys.
class PostedKeyInjector final : public KeyInjector {
public:
    explicit PostedKeyInjector(QObject *receiver);
    void inject(int keyCode, int modifiers, KeyDirection direction) override;

private:
    QPointer<QObject> m_receiver;
};

} // namespace hoshi
