#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""ssip_log.py LOG: what speech-dispatcher's clients sent, from its protocol log
(each read logged as "[date] speechd: FD:DATA:|<bytes>| (LENGTH)", joined per
connection and parsed as SSIP), one event a line, tab-separated, in the order read:
connect CLIENT | speak CLIENT PRIORITY LANGUAGE TEXT (\\ \n \r \t escaped) | rate
CLIENT RATE | cancel/stop CLIENT SCOPE. CLIENT is the middle of "user:client:component"."""
import re
import sys

HEADER = re.compile(rb"^\[[^\]\n]*\] speechd: +(\d+):(DATA|REPLY):\|", re.M)
TRAILER = re.compile(rb"\| \((\d+)\)\n")


def reads(data):
    position = 0
    while header := HEADER.search(data, position):
        start = position = header.end()
        if header.group(2) == b"REPLY":
            continue
        # The bytes may hold "| (n)" themselves: the right trailer names their length.
        end = next((t for t in TRAILER.finditer(data, start) if int(t.group(1)) == t.start() - start), None)
        if end is None:
            return  # a write still under way
        yield int(header.group(1)), data[start:end.start()]
        position = end.end()


class Connection:
    def __init__(self):
        self.buffer, self.client, self.priority, self.language, self.text = b"", "", "", "", None

    def feed(self, payload):
        self.buffer += payload
        while b"\r\n" in self.buffer:
            raw, self.buffer = self.buffer.split(b"\r\n", 1)
            event = self.line(raw.decode("utf-8", "replace"))
            if event:
                yield event

    def line(self, line):
        if self.text is not None:
            if line != ".":
                self.text.append(line[1:] if line.startswith("..") else line)
                return None
            text, self.text = "\r\n".join(self.text), None
            return ("speak", self.client, self.priority, self.language,
                    text.translate({92: "\\\\", 10: "\\n", 13: "\\r", 9: "\\t"}))
        words = line.split(" ", 3)
        command = words[0].upper()
        if command == "SPEAK":
            self.text = []
        elif command in ("CANCEL", "STOP"):
            return (command.lower(), self.client, words[1].lower() if len(words) > 1 else "")
        elif command == "SET" and len(words) == 4 and words[1].upper() == "SELF":
            setting, value = words[2].upper(), words[3].strip().strip('"')
            if setting == "CLIENT_NAME":  # a connection's first command: a reused descriptor is a new client
                parts = value.split(":")
                self.client, self.priority, self.language = parts[1] if len(parts) == 3 else value, "", ""
                return ("connect", self.client)
            if setting == "PRIORITY":
                self.priority = value.lower()
            elif setting == "LANGUAGE":
                self.language = value
            elif setting == "RATE":
                return ("rate", self.client, value)
        return None


if __name__ == "__main__":
    connections = {}
    with open(sys.argv[1], "rb") as log:
        for fd, payload in reads(log.read()):
            for event in connections.setdefault(fd, Connection()).feed(payload):
                sys.stdout.write("\t".join(event) + "\n")
