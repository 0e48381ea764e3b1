#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""What a hand-off file holds, as the learner sees it:
usage: handoff.py name FILE      the lesson's name
       handoff.py entries FILE   one "English<TAB>Chinese" line per entry, in file order
       handoff.py lessons FILE   the lessons the chooser lists of a course file, one a line

Texts are stored with every character's code page 936 code value 10 lower than the one
shown.
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


def records(path):
    data, pos = open(path, "rb").read(), 0
    while pos < len(data):
        texts = []
        for _ in range(6):
            (count,) = struct.unpack_from("<H", data, pos)
            texts.append(data[pos + 2:pos + 2 + count])
            pos += 2 + count
        pos += 10
        yield texts


def main():
    command, path = sys.argv[1], sys.argv[2]
    if command == "lessons":
        # Runs of equal lesson names over all records but the last; empty names unlisted.
        names = [texts[1] for texts in records(path)][:-1]
        runs = [name for i, name in enumerate(names) if i == 0 or name != names[i - 1]]
        for name in runs[:129]:
            if name:
                print(unscramble(name))
        return
    entries = [texts for texts in records(path) if texts[2]]
    if command == "name":
        print(unscramble(entries[0][1]) if entries else "")
    else:
        for texts in entries:
            print(f"{unscramble(texts[2])}\t{unscramble(texts[3])}")


if __name__ == "__main__":
    main()
