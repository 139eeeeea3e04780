#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A service that hangs: listens on a unix socket, takes every connection,
reads what it is sent and never answers. Ends when its parent shell does.
    silent_socket.py PATH"""
import os
import selectors
import socket
import sys

path = sys.argv[1]
if os.path.exists(path):
    os.unlink(path)
server = socket.socket(socket.AF_UNIX)
server.bind(path)
server.listen(16)
watch = selectors.DefaultSelector()
watch.register(server, selectors.EVENT_READ)
print("listening", flush=True)
while True:
    for key, _ in watch.select():
        if key.fileobj is server:
            client, _ = server.accept()
            watch.register(client, selectors.EVENT_READ)
        elif not key.fileobj.recv(4096):
            watch.unregister(key.fileobj)
            key.fileobj.close()
