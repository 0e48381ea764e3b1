#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes the menu's click sound: a short wooden-sounding tick, 16-bit PCM mono wave."""
import math
import struct
import sys
import wave

RATE = 22050
LENGTH = 0.045  # seconds


def sample(t):
    # Two damped partials and a very short noise-like attack.
    decay = math.exp(-t * 140)
    body = 0.65 * math.sin(2 * math.pi * 1850 * t) + 0.35 * math.sin(2 * math.pi * 3120 * t)
    attack = math.sin(2 * math.pi * 7300 * t) * math.exp(-t * 900)
    return 0.8 * decay * body + 0.2 * attack


def main(path):
    frames = b"".join(
        struct.pack("<h", int(max(-1.0, min(1.0, sample(i / RATE))) * 32000))
        for i in range(int(RATE * LENGTH)))
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(frames)


if __name__ == "__main__":
    main(sys.argv[1])
