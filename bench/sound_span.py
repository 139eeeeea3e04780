# SPDX-License-Identifier: GPL-3.0-or-later
"""sound_span.py FILE OFFSET: how long the sound after byte OFFSET of FILE, a
growing recording of 16-bit mono samples at 22050 Hz, lasts. Waits until
QUIET seconds have passed with nothing heard after the last sound (or LIMIT
seconds with nothing at all), then prints two figures in seconds: from
OFFSET to the first sound, and from the first sound to the end of the last.
A pause inside one utterance shorter than QUIET counts as part of it."""

import array
import os
import sys
import time

RATE = 22050
FRAME = RATE // 100  # 10 ms
LOUD = 300           # a sample this far from zero is sound, not the sink's silence
QUIET = float(os.environ.get("QUIET", "1.5"))
LIMIT = float(os.environ.get("LIMIT", "30"))


def frames_from(path, offset):
    with open(path, "rb") as recording:
        recording.seek(offset)
        data = recording.read()
    samples = array.array("h")
    samples.frombytes(data[: len(data) // (2 * FRAME) * 2 * FRAME])
    return [max(abs(s) for s in samples[i:i + FRAME]) > LOUD for i in range(0, len(samples), FRAME)]


def main():
    path, offset = sys.argv[1], int(sys.argv[2])
    offset -= offset % 2
    started = time.monotonic()
    while True:
        loud = frames_from(path, offset)
        heard = [i for i, is_loud in enumerate(loud) if is_loud]
        now = len(loud) / 100
        if heard and now - (heard[-1] + 1) / 100 >= QUIET:
            break
        if time.monotonic() - started > LIMIT + QUIET:
            break
        time.sleep(0.1)
    if not heard:
        print("none none")
        return
    print(f"{heard[0] / 100:.2f} {(heard[-1] + 1 - heard[0]) / 100:.2f}")


main()
