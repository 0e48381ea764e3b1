#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Finds the sounds in a recording: usage: find_sounds.py RAW [QUIET_MS]

RAW is signed 16-bit little-endian mono at 16000 samples a second. A sound is a burst
louder than a quiet floor, separated from the next by at least QUIET_MS (default 100) of
quiet: 100 ms keeps two clicks apart; a spoken word, whose own pauses are shorter, wants
about 300. Prints one line per sound: its start and its length, in milliseconds.
"""
import struct
import sys

WINDOW_MS = 5
LOUD = 1000        # of 32767: the click peaks far above, silence lies far below
RATE = 16000


def main():
    data = open(sys.argv[1], "rb").read()
    rate = RATE
    quiet_gap_ms = int(sys.argv[2]) if len(sys.argv) > 2 else 100
    samples = struct.unpack(f"<{len(data) // 2}h", data[:len(data) // 2 * 2])
    window = rate * WINDOW_MS // 1000
    bursts = []
    for start in range(0, len(samples), window):
        if max((abs(s) for s in samples[start:start + window]), default=0) < LOUD:
            continue
        ms = start * 1000 // rate
        if bursts and ms - bursts[-1][1] <= quiet_gap_ms:
            bursts[-1][1] = ms + WINDOW_MS
        else:
            bursts.append([ms, ms + WINDOW_MS])
    for begin, end in bursts:
        print(begin, end - begin)


if __name__ == "__main__":
    main()
