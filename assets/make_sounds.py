#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the program's three cues: a bell (ding), a falling "too bad" tone
(zannen) and a buzzer (boo). 16-bit mono PCM, 22050 Hz, each under 0.6 s."""
import math
import struct
import sys
import wave
from pathlib import Path

RATE = 22050


def write(path, samples):
    with wave.open(str(path), "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b"".join(struct.pack("<h", int(max(-1, min(1, s)) * 30000)) for s in samples))


def fade(i, n, attack=0.005):
    a = min(1.0, i / (attack * RATE))
    r = min(1.0, (n - i) / (0.02 * RATE))
    return a * r


def bell(seconds=0.45):
    n = int(seconds * RATE)
    out = []
    for i in range(n):
        t = i / RATE
        decay = math.exp(-7 * t)
        s = (0.6 * math.sin(2 * math.pi * 1568 * t) + 0.3 * math.sin(2 * math.pi * 3136 * t)
             + 0.15 * math.sin(2 * math.pi * 4704 * t)) * decay
        out.append(0.8 * s * fade(i, n, 0.001))
    return out


def falling(seconds=0.55):
    n = int(seconds * RATE)
    out, phase = [], 0.0
    for i in range(n):
        t = i / RATE
        # Two notes sliding down: "zan-nen".
        freq = (523 if t < 0.22 else 392) * (1 - 0.25 * (t % 0.22) / 0.22)
        phase += 2 * math.pi * freq / RATE
        out.append(0.7 * math.sin(phase) * fade(i, n))
    return out


def buzzer(seconds=0.5):
    n = int(seconds * RATE)
    out = []
    for i in range(n):
        t = i / RATE
        square = 1.0 if math.sin(2 * math.pi * 110 * t) >= 0 else -1.0
        out.append(0.45 * square * fade(i, n))
    return out


def main(folder):
    folder = Path(folder)
    folder.mkdir(parents=True, exist_ok=True)
    write(folder / "ding.wav", bell())
    write(folder / "zannen.wav", falling())
    write(folder / "boo.wav", buzzer())


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).parent / "sounds")
