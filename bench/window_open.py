#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Times opening a mode window from the focused launcher: from the digit key
(sent with xdotool) to the window shown, and to the first appearance of a
text in speech-dispatcher's protocol log (what its client sent). Closes the
window with Alt+F, X between rounds. Prints every round, then the medians.
    window_open.py KEY TITLE TEXT PROTOCOL_LOG ROUNDS LABEL"""
import os
import statistics
import subprocess
import sys
import time

key, title, text, log, rounds, label = sys.argv[1:7]
text = text.encode()


def visible():
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"],
                           capture_output=True, text=True).stdout.split()
    return found[0] if found else None


def log_size():
    return os.path.getsize(log) if os.path.exists(log) else 0


def said_since(offset):
    if not os.path.exists(log):
        return False
    with open(log, "rb") as stream:
        stream.seek(offset)
        return text in stream.read()


shown, spoken = [], []
for round_number in range(int(rounds)):
    offset = log_size()
    start = time.monotonic()
    subprocess.run(["xdotool", "key", "--clearmodifiers", key], check=True)
    window = seen = None
    while time.monotonic() - start < 10 and (window is None or seen is None):
        now = time.monotonic()
        if window is None and visible():
            window = now
        if seen is None and said_since(offset):
            seen = now
        time.sleep(0.002)
    shown.append(None if window is None else (window - start) * 1000)
    spoken.append(None if seen is None else (seen - start) * 1000)
    print(f"{label} round {round_number + 1}: shown {shown[-1]} ms, text handed over {spoken[-1]} ms", flush=True)
    window_id = visible()
    if window_id:
        subprocess.run(["xdotool", "windowfocus", "--sync", window_id, "key", "--clearmodifiers", "--delay", "60",
                        "alt+f", "x"])
    while visible():
        time.sleep(0.02)
    time.sleep(0.5)


def median(values):
    kept = [v for v in values if v is not None]
    return f"{statistics.median(kept):.1f}" if kept else "none"


print(f"{label} median shown {median(shown)} spoken {median(spoken)} "
      f"(of {len([v for v in spoken if v is not None])}/{len(spoken)} spoken)")
