#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Finds the sounds in a recording: usage: find_sounds.py RAW [QUIET_MS [LOUD]]

RAW is signed 16-bit little-endian mono at 16000 samples a second. A sound runs from its
first to its last sample louder than LOUD (of 32767; default 1000, far above silence and
far below a click's peak; 328 is 1 % of full scale), and is separated from the next by at
least QUIET_MS (default 100) of quiet: 100 ms keeps two clicks apart; a spoken word,
whose own pauses are shorter, wants about 300. Prints one line per sound: its start and
its length, in milliseconds.
"""
import struct
import sys

RATE = 16000


def main():
    data = open(sys.argv[1], "rb").read()
    quiet_gap = RATE * (int(sys.argv[2]) if len(sys.argv) > 2 else 100) // 1000
    loud = int(sys.argv[3]) if len(sys.argv) > 3 else 1000
    samples = struct.unpack(f"<{len(data) // 2}h", data[:len(data) // 2 * 2])
    bursts = []
    for index, sample in enumerate(samples):
        if abs(sample) <= loud:
            continue
        if bursts and index - bursts[-1][1] < quiet_gap:
            bursts[-1][1] = index
        else:
            bursts.append([index, index])
    for first, last in bursts:
        print(first * 1000 // RATE, (last - first) * 1000 // RATE)


if __name__ == "__main__":
    main()
