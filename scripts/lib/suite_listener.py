#!/usr/bin/env python3
# Stands in for another program of the suite: binds a datagram socket in the
# suite folder of the runtime folder, as the suite programs do, and writes
# each registered broadcast it receives (name, wParam, lParam) as a line of
# JSON. Ends after the first message, or after the time limit.
# usage: suite_listener.py <runtime folder> <output file> <ready file> [seconds]
import json
import os
import socket
import struct
import sys

runtime, output, ready = sys.argv[1:4]
limit = float(sys.argv[4]) if len(sys.argv) > 4 else 60.0
folder = os.path.join(runtime, "qel-suite")
os.makedirs(folder, mode=0o700, exist_ok=True)
os.chmod(folder, 0o700)
path = os.path.join(folder, "%d.sock" % os.getpid())
sock = socket.socket(socket.AF_UNIX, socket.SOCK_DGRAM)
sock.bind(path)
sock.settimeout(limit)
open(ready, "w").close()
try:
    data = sock.recv(4096)
    magic, wparam, lparam = struct.unpack("=4sQq", data[:20])
    if magic == b"QELM":
        with open(output, "a") as out:
            out.write(json.dumps({"name": data[20:].decode(), "wparam": wparam, "lparam": lparam}) + "\n")
except socket.timeout:
    pass
finally:
    sock.close()
    os.unlink(path)
