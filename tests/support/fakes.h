// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Recording fakes of the platform services, shared by the behaviour tests.

#include "platform/api/interfaces.h"
#include "platform/api/preferences.h"
#include "platform/api/random_source.h"

#include <QString>
#include <QStringList>

#include <algorithm>
#include <deque>
#include <utility>
#include <vector>

namespace hoshi::testing {

/// One output of a behaviour class, in the order it happened.
struct Effect {
    enum Kind { Announce, Cue, Speak, Inject } kind;
    QString text;      ///< announced or spoken text
    hoshi::Cue cue{};  ///< the cue played
    int keyCode = 0;   ///< the injected key
    int modifiers = 0;
    hoshi::KeyDirection direction{};

    bool operator==(const Effect &) const = default;
};

/// Records announcements, cues, speech and injected keys in one ordered log.
struct RecordingServices final : hoshi::Announcer, hoshi::CuePlayer, hoshi::Speaker, hoshi::KeyInjector {
    void announce(const QString &text) override { log.push_back({Effect::Announce, text}); }
    // Hints are kept apart: the log is what the clipboard, cues and English voice get.
    void hint(const QString &text) override { hintLog << text; }
    void playCue(hoshi::Cue cue) override { log.push_back({Effect::Cue, {}, cue}); }
    void speak(const QString &text) override { log.push_back({Effect::Speak, text}); }
    void inject(int keyCode, int modifiers, hoshi::KeyDirection direction) override
    {
        log.push_back({Effect::Inject, {}, {}, keyCode, modifiers, direction});
    }

    QStringList announcements() const { return texts(Effect::Announce); }
    QStringList spoken() const { return texts(Effect::Speak); }
    QStringList hints() const { return hintLog; }
    int cueCount(hoshi::Cue cue) const
    {
        return int(std::count_if(log.begin(), log.end(), [cue](const Effect &e) { return e.kind == Effect::Cue && e.cue == cue; }));
    }
    void clear() { log.clear(), hintLog.clear(); }
    /// The effects recorded after the first `from`.
    std::vector<Effect> effectsSince(std::size_t from) const
    {
        return {log.begin() + static_cast<std::ptrdiff_t>(std::min(from, log.size())), log.end()};
    }

    std::vector<Effect> log;
    QStringList hintLog;

private:
    QStringList texts(Effect::Kind kind) const
    {
        QStringList out;
        for (const auto &e : log)
            if (e.kind == kind)
                out << e.text;
        return out;
    }
};

/// The queued numbers in order (clamped into range), then a seeded generator's.
class ScriptedRandom final : public hoshi::RandomSource {
public:
    explicit ScriptedRandom(std::deque<int> script = {}, std::uint32_t seed = 1)
        : m_script(std::move(script)), m_fallback(seed) {}

    void push(int value) { m_script.push_back(value); }

    int below(int count) override
    {
        if (count < 1 || m_script.empty())
            return count < 1 ? 0 : m_fallback.below(count);
        const int value = m_script.front();
        m_script.pop_front();
        return std::clamp(value, 0, count - 1);
    }

private:
    std::deque<int> m_script;
    hoshi::SeededRandom m_fallback;
};

/// Preferences kept in memory: the changes a window makes, without a file.
class KeptPreferences final : public hoshi::PreferenceKeeper {
public:
    explicit KeptPreferences(hoshi::Preferences kept = {}) : m_kept(std::move(kept)) {}
    const hoshi::Preferences &preferences() const override { return m_kept; }
    void change(const std::function<void(hoshi::Preferences &)> &edit) override { edit(m_kept); }

private:
    hoshi::Preferences m_kept;
};

} // namespace hoshi::testing
