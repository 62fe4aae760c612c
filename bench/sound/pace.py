#!/usr/bin/env python3
"""Copies a WAV file to standard output no faster than its byte rate: pace.py PATH.
The ALSA null device consumes at once; fed through this it plays in real time."""
import struct
import sys
import time

with open(sys.argv[1], "rb") as wav:
    header = wav.read(44)
    rate = struct.unpack_from("<I", header, 28)[0]
    out = sys.stdout.buffer
    out.write(header)
    slice_bytes = max(1, rate // 50)
    start = time.monotonic()
    sent = 0
    while chunk := wav.read(slice_bytes):
        out.write(chunk)
        sent += len(chunk)
        wait = start + sent / rate - time.monotonic()
        if wait > 0:
            time.sleep(wait)
