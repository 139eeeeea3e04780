// SPDX-License-Identifier: GPL-3.0-or-later
// The key guide: every key-down replaces the shown texts from the catalogue
// and announces both; the Windows key, F10 and Alt alternate between a
// re-press and re-arming, and a re-press comes back as an ordinary key-down.

#include "keyguide/key_catalogue.h"
#include "keyguide/key_guide.h"
#include "fuzz/scripts/scripts.h"
#include "support/fakes.h"

#include <deque>
#include <utility>
#include <vector>

namespace hoshi::scripts {

namespace {

using testing::Effect;
using testing::RecordingServices;

struct Before {
    KeyGuideState state;
    std::size_t logSize;
    int imeCloses;
};

/// The shown texts after a key-down: the entry applied last decides.
struct Applied {
    QString keyText;
    QString yomiText;
};

Applied apply(const KeyLookup &found, const KeyGuideState &before)
{
    Applied applied{before.keyText, before.yomiText};
    if (found.tableEntry) {
        applied.keyText = found.tableEntry->display;
        if (!found.tableEntry->keepReading)
            applied.yomiText = found.tableEntry->reading;
    }
    if (found.modifierEntry) {
        applied.keyText = found.modifierEntry->display;
        applied.yomiText = found.modifierEntry->reading;
    }
    return applied;
}

/// The re-press a key-down must inject, given whether injection was armed.
std::vector<Effect> expectedInjection(const KeyLookup &found, int keyCode, int modifiers, bool armed)
{
    if (!armed)
        return {};
    if (found.tableEntry && found.tableEntry->action == KeyAction::RepressSameKey)
        return {{Effect::Inject, {}, {}, keyCode, 0, KeyDirection::Up},
                {Effect::Inject, {}, {}, keyCode, 0, KeyDirection::Down}};
    if (found.modifierEntry && found.modifierEntry->action == KeyAction::RepressAlt)
        return {{Effect::Inject, {}, {}, 27, modifiers, KeyDirection::Up},
                {Effect::Inject, {}, {}, 18, modifiers, KeyDirection::Down}};
    return {};
}

bool repressing(const KeyLookup &found)
{
    return (found.tableEntry && found.tableEntry->action == KeyAction::RepressSameKey)
        || (found.modifierEntry && found.modifierEntry->action == KeyAction::RepressAlt);
}

void checkKeyDown(const KeyGuide &guide, const RecordingServices &log, const Before &before, int keyCode,
                  int modifiers, int imeCloses)
{
    const KeyLookup found = LookUpKey(keyCode, modifiers);
    HOSHI_SCRIPT_CHECK(!(found.tableEntry && found.modifierEntry));
    const Applied applied = apply(found, before.state);
    const KeyGuideState &state = guide.state();
    HOSHI_SCRIPT_CHECK(state.keyText == applied.keyText);
    HOSHI_SCRIPT_CHECK(state.yomiText == applied.yomiText);

    std::vector<Effect> expected = expectedInjection(found, keyCode, modifiers, before.state.injectArmed);
    expected.push_back({Effect::Announce, state.keyText});
    expected.push_back({Effect::Announce, state.yomiText});
    HOSHI_SCRIPT_CHECK(log.effectsSince(before.logSize) == expected);
    HOSHI_SCRIPT_CHECK(state.injectArmed == (repressing(found) ? !before.state.injectArmed : before.state.injectArmed));
    const bool closesIme = found.tableEntry && found.tableEntry->action == KeyAction::ImeOff;
    HOSHI_SCRIPT_CHECK(imeCloses == before.imeCloses + (closesIme ? 1 : 0));
}

void checkLoad(const KeyGuide &guide, const RecordingServices &log, const Before &before, int imeCloses)
{
    HOSHI_SCRIPT_CHECK(guide.state().keyText == KeyGuide::initialKeyText());
    HOSHI_SCRIPT_CHECK(guide.state().yomiText.isEmpty());
    HOSHI_SCRIPT_CHECK(guide.state().injectArmed);
    HOSHI_SCRIPT_CHECK(log.log.size() == before.logSize);
    HOSHI_SCRIPT_CHECK(imeCloses == before.imeCloses + 1);
}

} // namespace

void runKeyGuideScript(ScriptInput &input)
{
    RecordingServices log;
    int imeCloses = 0;
    KeyGuide guide(log, log, [&imeCloses] { ++imeCloses; });
    guide.load();
    // Re-presses arrive after the event that made them, as posted events do,
    // unless the window closes first or the system drops them.
    std::deque<std::pair<int, int>> reposted;
    std::pair<int, int> last{0, 0};
    while (input.nextEvent(!reposted.empty())) {
        const Before before{guide.state(), log.log.size(), imeCloses};
        std::pair<int, int> down;
        if (!reposted.empty() && input.between(0, 4) != 4) {
            down = reposted.front();
            reposted.pop_front();
        } else if (const int choice = input.between(0, 15); choice < 2) {
            // Closing drops a re-press still queued; reopening loads afresh.
            reposted.clear();
            guide.load();
            checkLoad(guide, log, before, imeCloses);
            continue;
        } else if (choice < 4) {
            down = last; // auto-repeat: the same key-down again
        } else {
            down = {pickKeyCode(input), pickModifiers(input)};
        }
        reposted.clear();
        guide.keyDown(down.first, down.second);
        checkKeyDown(guide, log, before, down.first, down.second, imeCloses);
        last = down;
        for (auto e = log.log.begin() + static_cast<std::ptrdiff_t>(before.logSize); e != log.log.end(); ++e) {
            if (e->kind == Effect::Inject && e->direction == KeyDirection::Down)
                reposted.emplace_back(e->keyCode, e->modifiers);
        }
        // A re-press never sets off another one.
        HOSHI_SCRIPT_CHECK(reposted.size() <= 1);
    }
}

} // namespace hoshi::scripts
