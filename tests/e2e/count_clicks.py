#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Finds the clicks in a recording: usage: count_clicks.py RAW [RATE]

RAW is signed 16-bit little-endian mono at RATE (default 16000) samples a second. A click
is a burst of sound louder than a quiet floor, separated from the next by at least 100 ms
of quiet. Prints one line per click: its start and its length, in milliseconds.
"""
import struct
import sys

WINDOW_MS = 5
LOUD = 1000        # of 32767: the click peaks far above, silence lies far below
QUIET_GAP_MS = 100


def main():
    data = open(sys.argv[1], "rb").read()
    rate = int(sys.argv[2]) if len(sys.argv) > 2 else 16000
    samples = struct.unpack(f"<{len(data) // 2}h", data[:len(data) // 2 * 2])
    window = rate * WINDOW_MS // 1000
    bursts = []
    for start in range(0, len(samples), window):
        if max((abs(s) for s in samples[start:start + window]), default=0) < LOUD:
            continue
        ms = start * 1000 // rate
        if bursts and ms - bursts[-1][1] <= QUIET_GAP_MS:
            bursts[-1][1] = ms + WINDOW_MS
        else:
            bursts.append([ms, ms + WINDOW_MS])
    for begin, end in bursts:
        print(begin, end - begin)


if __name__ == "__main__":
    main()
