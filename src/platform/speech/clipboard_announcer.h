// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/api/interfaces.h"

namespace hoshi {

/// Announces by replacing the system clipboard's content with the text.
class ClipboardAnnouncer final : public Announcer {
public:
    void announce(const QString &text) override;
};

} // namespace hoshi
