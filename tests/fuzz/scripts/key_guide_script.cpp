// SPDX-License-Identifier: GPL-3.0-or-later
// The key guide: every key-down shows the catalogue's texts and announces
// both; the re-pressing keys inject a re-press only when armed, which comes
// back as an ordinary key-down and never sets off another one.

#include "keyguide/key_catalogue.h"
#include "keyguide/key_guide.h"
#include "fuzz/scripts/scripts.h"

#include <optional>
#include <utility>

namespace hoshi::scripts {

namespace {

class KeyGuideScript : public Script {
public:
    explicit KeyGuideScript(ScriptInput &input) : m_input(input) {}

    void open()
    {
        m_reposted.reset(); // closing drops a re-press still queued
        m_imeCloses = 0;
        m_guide.load();
        HOSHI_FUZZ_CHECK(m_guide.state().keyText == KeyGuide::initialKeyText() && m_guide.state().yomiText.isEmpty());
        HOSHI_FUZZ_CHECK(m_guide.state().injectArmed && m_imeCloses == 1);
    }

    bool pending() const { return m_reposted.has_value(); }

    // A posted re-press arrives after the event that made it, unless the system drops it.
    void step()
    {
        std::pair<int, int> down;
        if (m_reposted && m_input.between(0, 4) != 4)
            down = *m_reposted;
        else if (const int choice = m_input.between(0, 15); choice < 2)
            return open();
        else
            down = choice < 4 ? m_last : std::pair{pickKeyCode(m_input), pickModifiers(m_input)};
        m_last = down;
        const auto [keyCode, modifiers] = down;
        const KeyGuideState before = m_guide.state();
        m_reposted.reset();
        m_imeCloses = 0;
        m_guide.keyDown(keyCode, modifiers);

        const KeyLookup found = LookUpKey(keyCode, modifiers);
        const std::optional<KeyEntry> &entry = found.tableEntry ? found.tableEntry : found.modifierEntry;
        const KeyGuideState &state = m_guide.state();
        HOSHI_FUZZ_CHECK(state.keyText == (entry ? entry->display : before.keyText));
        const bool keepsReading = !entry || (found.tableEntry && entry->keepReading);
        HOSHI_FUZZ_CHECK(state.yomiText == (keepsReading ? before.yomiText : entry->reading));

        const KeyAction action = entry ? entry->action : KeyAction::NoAction;
        const bool repress = action == KeyAction::RepressSameKey || action == KeyAction::RepressAlt;
        if (repress && before.injectArmed) {
            const bool alt = action == KeyAction::RepressAlt;
            const int held = alt ? modifiers : 0;
            expected.push_back({Effect::Inject, {}, {}, alt ? 27 : keyCode, held, KeyDirection::Up});
            expected.push_back({Effect::Inject, {}, {}, alt ? 18 : keyCode, held, KeyDirection::Down});
            m_reposted = std::pair{alt ? 18 : keyCode, held};
        }
        expect(Effect::Announce, state.keyText);
        expect(Effect::Announce, state.yomiText);
        HOSHI_FUZZ_CHECK(state.injectArmed == (repress != before.injectArmed));
        HOSHI_FUZZ_CHECK(m_imeCloses == (action == KeyAction::ImeOff ? 1 : 0));
    }

    void check() const {}

private:
    ScriptInput &m_input;
    int m_imeCloses = 0; ///< input method closings in this event
    KeyGuide m_guide{log, log, [this] { ++m_imeCloses; }};
    std::optional<std::pair<int, int>> m_reposted;
    std::pair<int, int> m_last{0, 0};
};

} // namespace

void runKeyGuideScript(ScriptInput &input) { drive(KeyGuideScript(input), input); }

} // namespace hoshi::scripts
