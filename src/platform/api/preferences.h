// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace hoshi {

/// What the user chose, kept from one run to the next.
struct Preferences {
    /// The built-in voice: automatic stays quiet while a screen reader runs.
    enum class Voice { Automatic, On, Off };
    Voice voice = Voice::Automatic;
    /// The voices' rate, speech-dispatcher's -100 to 100; none: the user's own.
    std::optional<int> speechRate;
    /// Minutes of a typing run: 1, 3 or 5.
    int typingMinutes = 3;
    bool fingerNamesShown = true;
    /// None: as the desktop asks.
    std::optional<bool> highContrast;
    QString japaneseFolder; ///< of the last practice file opened, per window
    QString englishFolder;
    bool operator==(const Preferences &) const = default;
};

/// Where the windows find the preferences and keep a change at once. A
/// change that cannot be kept still holds for this run.
class PreferenceKeeper {
public:
    virtual ~PreferenceKeeper() = default;
    virtual const Preferences &preferences() const = 0;
    virtual void change(const std::function<void(Preferences &)> &edit) = 0;
};

/// What a window starts from: the kept preferences, or the defaults where none are kept.
inline Preferences preferencesOf(const PreferenceKeeper *keeper)
{
    return keeper ? keeper->preferences() : Preferences{};
}

inline void keepChange(PreferenceKeeper *keeper, const std::function<void(Preferences &)> &edit)
{
    if (keeper)
        keeper->change(edit);
}

} // namespace hoshi
