// Soak of the key guide: random key-downs (any code, any modifier mask, the
// re-presses it injects fed back as the window would), closing and
// reopening, with its invariants checked after every event.
#include "keyguide/key_catalogue.h"
#include "keyguide/key_guide.h"
#include "soak/soak_run.h"
#include "support/fakes.h"

#include <QTest>

#include <climits>
#include <optional>

using hoshi::KeyAction;
using hoshi::KeyDirection;
using hoshi::KeyGuide;
using hoshi::KeyGuideState;
using hoshi::soak::SoakFailure;
using hoshi::soak::SoakRun;
using hoshi::testing::Effect;
using hoshi::testing::RecordingServices;

namespace {

struct KeyDownEvent {
    int keyCode = 0;
    int modifiers = 0;
};

struct Rig {
    RecordingServices services;
    int imeCloses = 0;
    KeyGuide guide{services, services, [this] { ++imeCloses; }};
};

KeyDownEvent randomKeyDown(SoakRun &run, const KeyDownEvent &last)
{
    static const int interesting[] = {16, 17, 18, 27, 29, 91, 92, 121, 229, 9, 13, 32, 186, 220, 226};
    static const int oddCodes[] = {-1, 0, 256, 1000, 65535, INT_MAX, INT_MIN};
    static const int oddMasks[] = {8, 15, -1, 255, INT_MIN};
    if (run.percent(10))
        return last; // auto-repeat: the same key-down again
    KeyDownEvent down;
    const int kind = run.below(100);
    down.keyCode = kind < 70 ? run.below(256) : kind < 92 ? run.pick(interesting) : run.pick(oddCodes);
    const int mask = run.below(100);
    down.modifiers = mask < 60 ? 0 : mask < 80 ? 1 : mask < 97 ? run.below(8) : run.pick(oddMasks);
    return down;
}

// The texts a key-down leaves on show, from the catalogue: the modifier entry
// is applied last; an entry may keep the reading before it.
void expectTexts(const hoshi::KeyLookup &found, const KeyGuideState &before, QString &keyText, QString &yomi)
{
    keyText = before.keyText;
    yomi = before.yomiText;
    if (found.tableEntry) {
        keyText = found.tableEntry->display;
        if (!found.tableEntry->keepReading)
            yomi = found.tableEntry->reading;
    }
    if (found.modifierEntry) {
        keyText = found.modifierEntry->display;
        yomi = found.modifierEntry->reading;
    }
}

std::optional<KeyAction> repressAction(const hoshi::KeyLookup &found)
{
    if (found.tableEntry && found.tableEntry->action == KeyAction::RepressSameKey)
        return KeyAction::RepressSameKey;
    if (found.modifierEntry && found.modifierEntry->action == KeyAction::RepressAlt)
        return KeyAction::RepressAlt;
    return std::nullopt;
}

} // namespace

class KeyGuideSoak : public QObject {
    Q_OBJECT

private slots:
    void random_key_downs_keep_the_guide_sound();

private:
    // Returns the re-pressed key-down the window would receive next, if any.
    std::optional<KeyDownEvent> checkKeyDown(SoakRun &run, Rig &rig, const KeyDownEvent &down);
    void checkLoad(SoakRun &run, Rig &rig);
};

std::optional<KeyDownEvent> KeyGuideSoak::checkKeyDown(SoakRun &run, Rig &rig, const KeyDownEvent &down)
{
    const KeyGuideState before = rig.guide.state();
    const int imeBefore = rig.imeCloses;
    const hoshi::KeyLookup found = hoshi::LookUpKey(down.keyCode, down.modifiers);
    rig.guide.keyDown(down.keyCode, down.modifiers);
    const KeyGuideState &after = rig.guide.state();

    QString keyText;
    QString yomi;
    expectTexts(found, before, keyText, yomi);
    run.require(!(found.tableEntry && found.modifierEntry), "a look-up gives at most one entry");
    run.requireEqual(after.keyText, keyText, "key text after the key-down");
    run.requireEqual(after.yomiText, yomi, "reading after the key-down");

    // Every key-down is heard exactly twice, display then reading, last.
    const auto &log = rig.services.log;
    run.require(log.size() >= 2, "two announcements for a key-down");
    const std::size_t n = log.size();
    run.require(log[n - 2].kind == Effect::Announce && log[n - 1].kind == Effect::Announce,
                "the two announcements come last");
    run.requireEqual(log[n - 2].text, after.keyText, "first announcement is the key text");
    run.requireEqual(log[n - 1].text, after.yomiText, "second announcement is the reading");

    const bool imeOff = (found.tableEntry && found.tableEntry->action == KeyAction::ImeOff);
    run.requireEqual(rig.imeCloses, imeBefore + (imeOff ? 1 : 0), "input method closed once per 無変換/半角全角");

    const std::optional<KeyAction> repress = repressAction(found);
    if (!repress) {
        run.requireEqual(static_cast<long long>(n), 2, "no injection for an ordinary key");
        run.require(after.injectArmed == before.injectArmed, "arming unchanged by an ordinary key");
        return std::nullopt;
    }
    run.require(after.injectArmed != before.injectArmed, "a re-press key toggles the arming");
    if (!before.injectArmed) {
        run.requireEqual(static_cast<long long>(n), 2, "a disarmed re-press key injects nothing");
        return std::nullopt;
    }
    run.requireEqual(static_cast<long long>(n), 4, "an armed re-press key injects an up and a down");
    run.count("injections");
    const bool alt = *repress == KeyAction::RepressAlt;
    const int upCode = alt ? 27 : down.keyCode;
    const int downCode = alt ? 18 : down.keyCode;
    const int mask = alt ? down.modifiers : 0;
    run.require(log[0] == Effect{Effect::Inject, {}, {}, upCode, mask, KeyDirection::Up}, "injected key-up");
    run.require(log[1] == Effect{Effect::Inject, {}, {}, downCode, mask, KeyDirection::Down}, "injected key-down");
    return KeyDownEvent{downCode, mask};
}

void KeyGuideSoak::checkLoad(SoakRun &run, Rig &rig)
{
    const int imeBefore = rig.imeCloses;
    rig.guide.load();
    run.require(rig.services.log.empty(), "opening announces nothing");
    run.requireEqual(rig.guide.state().keyText, KeyGuide::initialKeyText(), "key text on opening");
    run.requireEqual(rig.guide.state().yomiText, QString(), "reading on opening");
    run.require(rig.guide.state().injectArmed, "re-press armed on opening");
    run.requireEqual(rig.imeCloses, imeBefore + 1, "input method closed on opening");
}

void KeyGuideSoak::random_key_downs_keep_the_guide_sound()
{
    SoakRun run(QStringLiteral("key guide"), 20240101u);
    Rig rig;
    KeyDownEvent last;
    std::optional<KeyDownEvent> injected;
    try {
        run.begin(0, QStringLiteral("open"));
        checkLoad(run, rig);
        for (int i = 1; i < run.eventCount(); ++i) {
            rig.services.clear();
            if (run.percent(3)) {
                // Closing drops a re-press still queued; reopening loads afresh.
                run.begin(i, QStringLiteral("close and reopen"));
                injected.reset();
                checkLoad(run, rig);
                run.count("reopens");
                continue;
            }
            KeyDownEvent down;
            if (injected && run.percent(80)) {
                down = *injected;
                run.count("re-presses fed back");
            } else {
                down = randomKeyDown(run, last);
            }
            injected.reset();
            run.begin(i, QStringLiteral("keyDown(%1, %2)").arg(down.keyCode).arg(down.modifiers));
            injected = checkKeyDown(run, rig, down);
            last = down;
            run.count("key-downs");
        }
    } catch (const SoakFailure &failure) {
        QFAIL(qPrintable(failure.message));
    }
    run.printTally();
    QVERIFY(run.counted("injections") > 0);
    QVERIFY(run.counted("re-presses fed back") > 0);
    QVERIFY(run.counted("reopens") > 0);
}

QTEST_GUILESS_MAIN(KeyGuideSoak)
#include "test_key_guide.moc"
