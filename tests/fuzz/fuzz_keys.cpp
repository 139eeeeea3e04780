// SPDX-License-Identifier: GPL-3.0-or-later
// Any key, any modifier mask: the key translator, the JIS key tables and the
// catalogue look-up never crash and never give a code that nothing knows.
// Input: a Qt key, a modifier set, a native scan code, a virtual-key code and
// a modifier mask (four bytes each), a flag byte, then the event's text.

#include "fuzz/fuzz_check.h"
#include "keyguide/key_catalogue.h"
#include "platform/keys/jis_keymap.h"
#include "platform/keys/key_event.h"

#include <QGuiApplication>
#include <QKeyEvent>

#include <fuzzer/FuzzedDataProvider.h>

#include <set>

namespace {

using namespace hoshi;

// A code the catalogue has an entry for, or one of the keys it has none for:
// Clear, Caps Lock, Kana, Kanji, the right Windows key, the pad separator,
// F13 to F24, Scroll Lock.
bool isKnownCode(int keyCode)
{
    static const std::set<int> withoutEntry{0, 12, 20, 21, 25, 92, 108, 124, 125, 126, 127,
                                            128, 129, 130, 131, 132, 133, 134, 135, 145};
    const KeyLookup bare = LookUpKey(keyCode, 0), shifted = LookUpKey(keyCode, 1);
    return bare.tableEntry || bare.modifierEntry || shifted.tableEntry || withoutEntry.count(keyCode) != 0;
}

// At most one entry; a table only for the bare and the shifted state, a
// modifier entry only for Shift, Ctrl and Alt; every entry has something to show and say.
void checkLookUp(int keyCode, int modifiers)
{
    const KeyLookup found = LookUpKey(keyCode, modifiers);
    HOSHI_FUZZ_CHECK(!(found.tableEntry && found.modifierEntry));
    if (found.tableEntry)
        HOSHI_FUZZ_CHECK((modifiers == 0 || modifiers == 1)
                         && (!found.tableEntry->display.isEmpty() || found.tableEntry->keepReading));
    if (found.modifierEntry)
        HOSHI_FUZZ_CHECK(keyCode >= VkShift && keyCode <= VkMenu && !found.modifierEntry->display.isEmpty()
                         && !found.modifierEntry->reading.isEmpty());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    static int argc = 1;
    static char name[] = "fuzz_keys";
    static char *argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: at exit Qt's own statics may already be gone.
    static const QGuiApplication *const app = new QGuiApplication(argc, argv);
    Q_UNUSED(app);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const int qtKey = input.ConsumeIntegral<int>();
    const auto qtModifiers = input.ConsumeIntegral<std::uint32_t>();
    const auto scanCode = input.ConsumeIntegral<std::uint32_t>();
    const int keyCode = input.ConsumeIntegral<int>();
    const int modifiers = input.ConsumeIntegral<int>();
    const auto flags = input.ConsumeIntegral<std::uint8_t>();
    const QString text = QString::fromStdString(input.ConsumeRemainingBytesAsString());

    checkLookUp(keyCode, modifiers);
    checkLookUp(keyCode & 0xFF, modifiers & 7);
    const bool keypad = (flags & 1) != 0;
    HOSHI_FUZZ_CHECK(isKnownCode(virtualKeyFromEvdev(static_cast<int>(scanCode))));
    HOSHI_FUZZ_CHECK(isKnownCode(virtualKeyFromPhysicalKey(static_cast<int>(scanCode), qtKey, keypad)));
    HOSHI_FUZZ_CHECK(isKnownCode(virtualKeyFromQtKey(qtKey, keypad)));
    // A synthetic key-down (the key guide's re-press) comes back as the same code.
    if (const int synthetic = qtKeyFromVirtualKey(keyCode & 0xFF))
        HOSHI_FUZZ_CHECK(virtualKeyFromQtKey(synthetic, false) == (keyCode & 0xFF));

    // A translated key has a known code, a 1/2/4 mask holding its own modifier
    // bit, and a character only in UTF-16 range and never with Alt.
    const QKeyEvent event(QEvent::KeyPress, qtKey, Qt::KeyboardModifiers::fromInt(static_cast<int>(qtModifiers)),
                          scanCode, 0, 0, text, (flags & 2) != 0);
    const TranslatedKey key = translateKeyEvent(event);
    const KeyDown down = key.down;
    HOSHI_FUZZ_CHECK(isKnownCode(down.keyCode) && down.modifiers >= 0 && down.modifiers <= 7);
    if (down.keyCode >= VkShift && down.keyCode <= VkMenu)
        HOSHI_FUZZ_CHECK((down.modifiers & (1 << (down.keyCode - VkShift))) != 0);
    if (key.charCode)
        HOSHI_FUZZ_CHECK(*key.charCode >= 0 && *key.charCode <= 0xFFFF && (down.modifiers & AltBit) == 0);
    checkLookUp(down.keyCode, down.modifiers);
    return 0;
}
