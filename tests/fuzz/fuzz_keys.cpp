// SPDX-License-Identifier: GPL-3.0-or-later
// Any key, any modifier mask: the key translator (from a QKeyEvent with any
// key, modifiers, scan code and text), the JIS key tables and the catalogue
// look-up never crash and never give a code that nothing knows.
//
// Input: a Qt key, a modifier set, a native scan code, a virtual-key code and
// a modifier mask (four bytes each), a flag byte, then the event's text.

#include "fuzz/fuzz_check.h"
#include "keyguide/key_catalogue.h"
#include "platform/keys/jis_keymap.h"
#include "platform/keys/key_event.h"

#include <QGuiApplication>
#include <QKeyEvent>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <set>

namespace {

using namespace hoshi;

// A code the catalogue has an entry for, or one of the keys it has none for:
// Clear, Caps Lock, Kana, Kanji, the right Windows key, the pad separator,
// F13 to F24, Scroll Lock.
bool isKnownCode(int keyCode)
{
    static const std::set<int> withoutEntry{12, 20, 21, 25, 92, 108, 124, 125, 126, 127, 128,
                                            129, 130, 131, 132, 133, 134, 135, 145};
    for (const int modifiers : {0, 1}) {
        const KeyLookup found = LookUpKey(keyCode, modifiers);
        if (found.tableEntry || found.modifierEntry)
            return true;
    }
    return keyCode == 0 || withoutEntry.count(keyCode) != 0;
}

void checkLookUp(int keyCode, int modifiers)
{
    const KeyLookup found = LookUpKey(keyCode, modifiers);
    HOSHI_FUZZ_CHECK(!(found.tableEntry && found.modifierEntry));
    // Only the bare and the shifted states have a table.
    HOSHI_FUZZ_CHECK(!found.tableEntry || modifiers == 0 || modifiers == 1);
    HOSHI_FUZZ_CHECK(!found.modifierEntry || (keyCode >= VkShift && keyCode <= VkMenu));
    if (found.tableEntry)
        HOSHI_FUZZ_CHECK(!found.tableEntry->display.isEmpty() || found.tableEntry->keepReading);
    if (found.modifierEntry)
        HOSHI_FUZZ_CHECK(!found.modifierEntry->display.isEmpty() && !found.modifierEntry->reading.isEmpty());
}

void checkTranslation(const QKeyEvent &event)
{
    const TranslatedKey key = translateKeyEvent(event);
    HOSHI_FUZZ_CHECK(isKnownCode(key.down.keyCode));
    HOSHI_FUZZ_CHECK(key.down.modifiers >= 0 && key.down.modifiers <= 7);
    HOSHI_FUZZ_CHECK(key.down.autoRepeat == event.isAutoRepeat());
    if (key.down.keyCode == VkShift || key.down.keyCode == VkControl || key.down.keyCode == VkMenu)
        HOSHI_FUZZ_CHECK((key.down.modifiers & (1 << (key.down.keyCode - VkShift))) != 0);
    if (key.charCode) {
        HOSHI_FUZZ_CHECK(*key.charCode >= 0 && *key.charCode <= 0xFFFF);
        HOSHI_FUZZ_CHECK((key.down.modifiers & AltBit) == 0 && key.down.keyCode != 46);
        if (event.text().isEmpty())
            HOSHI_FUZZ_CHECK(*key.charCode >= 1 && *key.charCode <= 26);
        else
            HOSHI_FUZZ_CHECK(*key.charCode == event.text().at(0).unicode());
    } else if (!event.text().isEmpty()) {
        HOSHI_FUZZ_CHECK((key.down.modifiers & AltBit) != 0 || key.down.keyCode == 46);
    }
    checkLookUp(key.down.keyCode, key.down.modifiers);
}

void checkKeymap(int evdevCode, int qtKey, int keyCode, bool keypad)
{
    HOSHI_FUZZ_CHECK(isKnownCode(virtualKeyFromEvdev(evdevCode)));
    HOSHI_FUZZ_CHECK(isKnownCode(virtualKeyFromPhysicalKey(evdevCode, qtKey, keypad)));
    HOSHI_FUZZ_CHECK(isKnownCode(virtualKeyFromQtKey(qtKey, keypad)));
    // A synthetic key-down (the key guide's re-press) comes back as the same code.
    if (const int synthetic = qtKeyFromVirtualKey(keyCode))
        HOSHI_FUZZ_CHECK(virtualKeyFromQtKey(synthetic, false) == keyCode);
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
    const auto qtKey = input.ConsumeIntegral<int>();
    const auto qtModifiers = input.ConsumeIntegral<std::uint32_t>();
    const auto scanCode = input.ConsumeIntegral<std::uint32_t>();
    const auto keyCode = input.ConsumeIntegral<int>();
    const auto modifiers = input.ConsumeIntegral<int>();
    const auto flags = input.ConsumeIntegral<std::uint8_t>();
    const std::string textBytes = input.ConsumeRemainingBytesAsString();
    const QString text = QString::fromUtf8(textBytes.data(), static_cast<qsizetype>(textBytes.size()));

    checkLookUp(keyCode, modifiers);
    checkLookUp(keyCode & 0xFF, modifiers & 7);
    checkKeymap(static_cast<int>(scanCode), qtKey, keyCode & 0xFF, (flags & 1) != 0);

    const QKeyEvent event(QEvent::KeyPress, qtKey, Qt::KeyboardModifiers::fromInt(static_cast<int>(qtModifiers)),
                          scanCode, 0, 0, text, (flags & 2) != 0);
    checkTranslation(event);
    return 0;
}
