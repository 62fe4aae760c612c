#!/usr/bin/env python3
"""Writes a PCM WAV file of random samples: make_wav.py PATH SECONDS RATE CHANNELS BITS."""
import os
import struct
import sys

path, seconds, rate, channels, bits = sys.argv[1], float(sys.argv[2]), *map(int, sys.argv[3:6])
block = channels * bits // 8
data_bytes = int(seconds * rate) * block
with open(path, "wb") as out:
    out.write(b"RIFF" + struct.pack("<I", 36 + data_bytes) + b"WAVE")
    out.write(b"fmt " + struct.pack("<IHHIIHH", 16, 1, channels, rate, rate * block, block, bits))
    out.write(b"data" + struct.pack("<I", data_bytes))
    chunk = os.urandom(1 << 20)
    left = data_bytes
    while left > 0:
        out.write(chunk[: min(left, len(chunk))])
        left -= len(chunk)
