#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the hand-made seeds of fuzz_practice_file and fuzz_keys into
corpus/<target>/. The seeds of fuzz_behaviour are scripts the fuzzer found, and
the found_* files inputs that once broke an invariant: both are kept as they are."""

import pathlib
import struct

RAW, UTF8_BOM, UTF16LE, UTF16BE, SHIFT_JIS = range(5)
BUFFER, SHORT_READS, STREAM, FILE = range(4)

# fuzz_practice_file: name, form, route, payload, repeat (240 + k: 2^k times), short-read size.
PRACTICE = [
    ("utf8_crlf", RAW, BUFFER, "あいう\r\nかきく\r\n".encode(), 0, 0),
    ("shift_jis_raw", RAW, SHORT_READS, "にほんご\r\nテスト\r\n".encode("cp932"), 0, 2),
    ("shift_jis_written", SHIFT_JIS, FILE, "日本語の練習\nＡＢＣ\n".encode(), 0, 0),
    ("utf16le_bom", UTF16LE, FILE, "Hello\r\nこんにちは\r\n".encode(), 0, 0),
    ("utf16be_bom", UTF16BE, STREAM, "とけい\rclock\r".encode(), 0, 4),
    ("utf16le_raw", RAW, SHORT_READS, b"\xff\xfea\x00\r\x00\n\x00b\x00", 0, 0),
    ("utf8_bom", UTF8_BOM, BUFFER, "abc\nえんぴつ".encode(), 0, 0),
    ("cr_only", RAW, BUFFER, b"one\rtwo\rthree\r", 0, 0),
    ("mixed_ends", RAW, STREAM, b"a\r\nb\nc\r\rd", 0, 1),
    ("cut_at_end", RAW, BUFFER, "abc\nあ".encode()[:-1], 0, 0),
    ("lines_past_limit", RAW, BUFFER, b"x\n", 247, 0),  # 128 lines
    ("line_past_limit", RAW, SHORT_READS, b"abcdefgh", 254, 200),  # 131072 bytes
    ("empty", RAW, FILE, b"", 0, 0),
]

# fuzz_keys: FuzzedDataProvider takes whole numbers from the end (the first one
# last, little-endian, a signed int offset by 2^31) and the text from the start.
SHIFT, CONTROL, ALT, KEYPAD = 0x02000000, 0x04000000, 0x08000000, 0x20000000
# name, Qt key, Qt modifiers, scan code, virtual-key code, modifier mask, flags, text
KEYS = [
    ("letter_a", 0x41, 0, 0, 65, 0, 0, "a"),
    ("shift_return", 0x01000004, SHIFT, 36, 13, 1, 0, "\r"),
    ("ctrl_c", 0x43, CONTROL, 54, 67, 2, 0, "\x03"),
    ("alt", 0x01000023, ALT, 64, 18, 4, 0, ""),
    ("pad_5", 0x35, KEYPAD, 84, 101, 0, 1, "5"),
    ("zenkaku_hankaku", 0x0100112A, 0, 49, 229, 0, 0, ""),
    ("yen", 0xA5, 0, 132, 220, 0, 0, "¥"),
    ("f10_repeat", 0x01000039, 0, 76, 121, 0, 2, ""),
    ("muhenkan", 0x01001122, 0, 102, 29, 0, 0, ""),
]


def signed(value):
    return struct.pack("<I", (value + 2**31) % 2**32)


def write(target, name, data):
    folder = pathlib.Path(__file__).resolve().parent / "corpus" / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data)


if __name__ == "__main__":
    for name, form, route, payload, repeat, step in PRACTICE:
        write("fuzz_practice_file", name, bytes([form, route, repeat, step]) + payload)
    for name, qt_key, qt_modifiers, scan, key_code, modifiers, flags, text in KEYS:
        write("fuzz_keys", name, text.encode() + bytes([flags]) + signed(modifiers) + signed(key_code)
              + struct.pack("<II", scan, qt_modifiers) + signed(qt_key))
