// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/api/preferences.h"

#include <QString>

#include <functional>

namespace hoshi {

/// Something wrong with the settings file, said once a run: in Japanese for
/// the child, and in English with the file's path for standard error.
struct SettingsTrouble {
    QString japanese;
    QString english;
};

/// The preferences in one INI file, read once when made and written whole
/// at each change. A file that cannot be read, or holds a value the program
/// does not know, gives the defaults for what is wrong; a file that cannot be
/// written keeps the changes for this run. Each is told once.
class SettingsFile final : public PreferenceKeeper {
public:
    using Told = std::function<void(const SettingsTrouble &)>;
    SettingsFile(QString path, Told told);

    /// $XDG_CONFIG_HOME/hoshinotamago/hoshinotamago.conf, ~/.config when unset.
    static QString standardPath();

    const Preferences &preferences() const override { return m_preferences; }
    void change(const std::function<void(Preferences &)> &edit) override;

private:
    void read();
    void write();
    void tell(const SettingsTrouble &trouble);

    QString m_path;
    Told m_told;
    Preferences m_preferences;
    bool m_toldUnwritable = false;
};

} // namespace hoshi
