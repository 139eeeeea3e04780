#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""What speech-dispatcher's clients sent it, from its protocol log.

`CustomLogFile "protocol" FILE` logs each read from a client as
    [date : usec] speechd:     FD:DATA:|<bytes as read>| (LENGTH)
and each reply as REPLY. A read may hold part of a command or several, so
each connection's bytes are joined and parsed as SSIP (CRLF ends a line, a
text ends at a line ".", a text line starting with "." has one more dot).

Prints one event a line, tab-separated, in the order the server read them:
    connect CLIENT | speak CLIENT PRIORITY LANGUAGE TEXT | cancel CLIENT SCOPE
    rate CLIENT RATE | stop CLIENT SCOPE | char (key, sound_icon) CLIENT PRIORITY LANGUAGE VALUE
CLIENT is the middle of "user:client:component"; TEXT has \\ \n \r \t escaped.

usage: ssip_log.py [--client NAME] LOG...
"""
import re
import sys

HEADER = re.compile(rb"^\[[^\]\n]*\] speechd: +(\d+):(DATA|REPLY):\|", re.M)
TRAILER = re.compile(rb"\| \((\d+)\)\n")


def entries(data):
    """(fd, payload) for each logged read; replies carry no length and are skipped."""
    position = 0
    while True:
        header = HEADER.search(data, position)
        if not header:
            return
        start = position = header.end()
        if header.group(2) == b"REPLY":
            continue
        # The payload may itself hold "| (n)": the right trailer names its length.
        end = None
        for trailer in TRAILER.finditer(data, start):
            if int(trailer.group(1)) == trailer.start() - start:
                end = trailer
                break
        if end is None:
            return  # a write still under way
        yield int(header.group(1)), data[start:end.start()]
        position = end.end()


def escape(text):
    return text.translate({ord("\\"): "\\\\", ord("\n"): "\\n", ord("\r"): "\\r", ord("\t"): "\\t"})


class Connection:
    def __init__(self):
        self.buffer = b""
        self.reset()

    def reset(self):
        self.client = self.priority = self.language = ""
        self.text = None  # the lines of a text being received

    def feed(self, payload):
        self.buffer += payload
        while b"\r\n" in self.buffer:
            line, self.buffer = self.buffer.split(b"\r\n", 1)
            event = self.line(line.decode("utf-8", "replace"))
            if event:
                yield event

    def line(self, line):
        if self.text is not None:
            if line == ".":
                text, self.text = "\r\n".join(self.text), None
                return ("speak", self.client, self.priority, self.language, escape(text))
            self.text.append(line[1:] if line.startswith("..") else line)
            return None
        words = line.split(" ", 3)
        command = words[0].upper()
        if command == "SPEAK":
            self.text = []
        elif command == "SET" and len(words) == 4 and words[1].upper() == "SELF":
            setting, value = words[2].upper(), words[3].strip().strip('"')
            if setting == "CLIENT_NAME":
                # The first command of every connection: a reused descriptor is a new client.
                self.reset()
                parts = value.split(":")
                self.client = parts[1] if len(parts) == 3 else value
                return ("connect", self.client)
            elif setting == "PRIORITY":
                self.priority = value.lower()
            elif setting == "LANGUAGE":
                self.language = value
            elif setting == "RATE":
                return ("rate", self.client, value)
        elif command in ("CANCEL", "STOP"):
            scope = words[1].lower() if len(words) > 1 else ""
            return (command.lower(), self.client, scope)
        elif command in ("CHAR", "KEY", "SOUND_ICON"):
            value = line.split(" ", 1)[1] if " " in line else ""
            return (command.lower(), self.client, self.priority, self.language, escape(value))
        return None


def events(paths):
    for path in paths:
        try:
            with open(path, "rb") as log:
                data = log.read()
        except FileNotFoundError:
            continue
        connections = {}
        for fd, payload in entries(data):
            yield from connections.setdefault(fd, Connection()).feed(payload)


if __name__ == "__main__":
    argv, client = sys.argv[1:], None
    if len(argv) >= 2 and argv[0] == "--client":
        client, argv = argv[1], argv[2:]
    for event in events(argv):
        if client is None or event[1] == client:
            sys.stdout.write("\t".join(event) + "\n")
