#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the hand-made seeds of fuzz_practice_file and fuzz_keys into
corpus/<target>/. The seeds of fuzz_behaviour are scripts the fuzzer found
itself, and the found_* files are inputs that once broke an invariant; both
are kept as they are."""

import pathlib
import struct

HERE = pathlib.Path(__file__).resolve().parent

# fuzz_practice_file: form, route, repeat, short-read size, then the payload.
RAW, UTF8_BOM, UTF16LE, UTF16BE, SHIFT_JIS = range(5)
BUFFER, SHORT_READS, STREAM, FILE = range(4)


def practice(form, route, payload, repeat=0, step=0):
    return bytes([form, route, repeat, step]) + payload


PRACTICE_SEEDS = {
    "utf8_crlf": practice(RAW, BUFFER, "あいう\r\nかきく\r\n".encode()),
    "shift_jis_raw": practice(RAW, SHORT_READS, "にほんご\r\nテスト\r\n".encode("cp932"), step=2),
    "shift_jis_written": practice(SHIFT_JIS, FILE, "日本語の練習\nＡＢＣ\n".encode()),
    "utf16le_bom": practice(UTF16LE, FILE, "Hello\r\nこんにちは\r\n".encode()),
    "utf16be_bom": practice(UTF16BE, STREAM, "とけい\rclock\r".encode(), step=4),
    "utf16le_raw": practice(RAW, SHORT_READS, b"\xff\xfea\x00\r\x00\n\x00b\x00", step=0),
    "utf8_bom": practice(UTF8_BOM, BUFFER, "abc\nえんぴつ".encode()),
    "cr_only": practice(RAW, BUFFER, b"one\rtwo\rthree\r"),
    "mixed_ends": practice(RAW, STREAM, b"a\r\nb\nc\r\rd", step=1),
    "cut_at_end": practice(RAW, BUFFER, "abc\nあ".encode()[:-1]),
    "lines_past_limit": practice(RAW, BUFFER, b"x\n", repeat=247),  # 128 lines
    "line_past_limit": practice(RAW, SHORT_READS, b"abcdefgh", repeat=254, step=200),  # 131072 bytes
    "empty": practice(RAW, FILE, b""),
}

# fuzz_keys: FuzzedDataProvider takes whole numbers from the end (the first
# one last, little-endian, a signed int offset by 2^31) and the text from the start.
KEY_A, KEY_C, KEY_5, KEY_YEN = 0x41, 0x43, 0x35, 0xA5
KEY_RETURN, KEY_ALT, KEY_F10 = 0x01000004, 0x01000023, 0x01000039
KEY_MUHENKAN, KEY_ZENKAKU_HANKAKU = 0x01001122, 0x0100112A
SHIFT, CONTROL, ALT, KEYPAD = 0x02000000, 0x04000000, 0x08000000, 0x20000000


def signed(value):
    return struct.pack("<I", (value + 2**31) % 2**32)


def key(qt_key, qt_modifiers, scan_code, key_code, modifiers, flags, text):
    return (text.encode() + bytes([flags]) + signed(modifiers) + signed(key_code)
            + struct.pack("<I", scan_code) + struct.pack("<I", qt_modifiers) + signed(qt_key))


KEY_SEEDS = {
    "letter_a": key(KEY_A, 0, 0, 65, 0, 0, "a"),
    "shift_return": key(KEY_RETURN, SHIFT, 36, 13, 1, 0, "\r"),
    "ctrl_c": key(KEY_C, CONTROL, 54, 67, 2, 0, "\x03"),
    "alt": key(KEY_ALT, ALT, 64, 18, 4, 0, ""),
    "pad_5": key(KEY_5, KEYPAD, 84, 101, 0, 1, "5"),
    "zenkaku_hankaku": key(KEY_ZENKAKU_HANKAKU, 0, 49, 229, 0, 0, ""),
    "yen": key(KEY_YEN, 0, 132, 220, 0, 0, "¥"),
    "f10_repeat": key(KEY_F10, 0, 76, 121, 0, 2, ""),
    "muhenkan": key(KEY_MUHENKAN, 0, 102, 29, 0, 0, ""),
}


def write(target, seeds):
    folder = HERE / "corpus" / target
    folder.mkdir(parents=True, exist_ok=True)
    for name, data in seeds.items():
        (folder / name).write_bytes(data)


if __name__ == "__main__":
    write("fuzz_practice_file", PRACTICE_SEEDS)
    write("fuzz_keys", KEY_SEEDS)
