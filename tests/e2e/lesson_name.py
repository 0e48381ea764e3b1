#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Prints the lesson name of a hand-off file's first record as the learner sees it:
usage: lesson_name.py FILE

The name is the record's second text, stored with every character's code page 936 code
value 10 lower than the one shown.
"""
import struct
import sys


def unscramble(stored):
    shown, pos = bytearray(), 0
    while pos < len(stored):
        if stored[pos] < 0x80:
            code, pos = stored[pos], pos + 1
        else:
            code, pos = stored[pos] << 8 | stored[pos + 1], pos + 2
        code += 10
        shown += bytes([code]) if code < 0x100 else struct.pack(">H", code)
    return shown.decode("gbk")


def main():
    data = open(sys.argv[1], "rb").read()
    (first,) = struct.unpack_from("<H", data, 0)
    (count,) = struct.unpack_from("<H", data, 2 + first)
    print(unscramble(data[4 + first:4 + first + count]))


if __name__ == "__main__":
    main()
