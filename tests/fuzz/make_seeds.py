#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the hand-made seeds of fuzz_practice_file and fuzz_keys into
corpus/<target>/. The seeds of fuzz_behaviour are scripts the fuzzer found, and
the found_* files inputs that once broke an invariant: both are kept as they are."""

import pathlib
import struct

# fuzz_practice_file: form (0 raw, 1 UTF-8 mark, 2/3 UTF-16 LE/BE, 4 Shift_JIS), route
# (0 buffer, 1 short reads, 2 pipe), repeat (240 + k: 2^k times), short-read size, payload.
PRACTICE = {
    "utf8_crlf": (0, 0, 0, 0, "あいう\r\nかきく\r\n".encode()),
    "shift_jis_raw": (0, 1, 0, 2, "にほんご\r\nテスト\r\n".encode("cp932")),
    "shift_jis_written": (4, 2, 0, 0, "日本語の練習\nＡＢＣ\n".encode()),
    "utf16le_bom": (2, 1, 0, 0, "Hello\r\nこんにちは\r\n".encode()),
    "utf16be_bom": (3, 2, 0, 4, "とけい\rclock\r".encode()),
    "utf16le_raw": (0, 1, 0, 0, b"\xff\xfea\x00\r\x00\n\x00b\x00"),
    "utf8_bom": (1, 0, 0, 0, "abc\nえんぴつ".encode()),
    "cr_only": (0, 0, 0, 0, b"one\rtwo\rthree\r"),
    "mixed_ends": (0, 2, 0, 1, b"a\r\nb\nc\r\rd"),
    "cut_at_end": (0, 0, 0, 0, "abc\nあ".encode()[:-1]),
    "lines_past_limit": (0, 0, 247, 0, b"x\n"),  # 128 lines
    "line_past_limit": (0, 1, 254, 200, b"abcdefgh"),  # 131072 bytes
    "empty": (0, 0, 0, 0, b""),
}

# fuzz_keys: Qt key, Qt modifiers (Shift 0x02000000, Ctrl 0x04000000, Alt 0x08000000,
# keypad 0x20000000), scan code, virtual-key code, 1/2/4 mask, flags (1 keypad, 2 repeat), text.
KEYS = {
    "letter_a": (0x41, 0, 0, 65, 0, 0, "a"),
    "shift_return": (0x01000004, 0x02000000, 36, 13, 1, 0, "\r"),
    "ctrl_c": (0x43, 0x04000000, 54, 67, 2, 0, "\x03"),
    "alt": (0x01000023, 0x08000000, 64, 18, 4, 0, ""),
    "pad_5": (0x35, 0x20000000, 84, 101, 0, 1, "5"),
    "zenkaku_hankaku": (0x0100112A, 0, 49, 229, 0, 0, ""),
    "yen": (0xA5, 0, 132, 220, 0, 0, "¥"),
    "f10_repeat": (0x01000039, 0, 76, 121, 0, 2, ""),
    "muhenkan": (0x01001122, 0, 102, 29, 0, 0, ""),
}


def signed(value):
    return struct.pack("<I", (value + 2**31) % 2**32)


def write(target, name, data):
    folder = pathlib.Path(__file__).resolve().parent / "corpus" / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data)


if __name__ == "__main__":
    for name, (form, route, repeat, step, payload) in PRACTICE.items():
        write("fuzz_practice_file", name, bytes([form, route, repeat, step]) + payload)
    # FuzzedDataProvider takes whole numbers from the end (the first one last,
    # little-endian, a signed int offset by 2^31) and the text from the start.
    for name, (qt_key, qt_mods, scan, key_code, mods, flags, text) in KEYS.items():
        write("fuzz_keys", name, text.encode() + bytes([flags]) + signed(mods) + signed(key_code)
              + struct.pack("<II", scan, qt_mods) + signed(qt_key))
