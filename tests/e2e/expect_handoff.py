#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes the hand-off file a learner's session must leave, worked out on its own from the
course files: usage: expect_handoff.py OUT BOOK:LESSON [BOOK:LESSON ...]

Each BOOK:LESSON is one lesson view in the order the session made them (BOOK a course
file, LESSON the 1-based place of the lesson in the book's list); the last one is the
lesson confirmed. Texts are compared as stored bytes, which for valid text is the same
as comparing what the learner sees.
"""
import struct
import sys

SLOTS = 2985


def read_records(path):
    data = open(path, "rb").read()
    records, pos = [], 0
    while len(records) < SLOTS and pos < len(data):
        texts = []
        for _ in range(6):
            (count,) = struct.unpack_from("<H", data, pos)
            texts.append(data[pos + 2:pos + 2 + count])
            pos += 2 + count
        records.append((texts, data[pos:pos + 10]))
        pos += 10
    while len(records) < SLOTS:
        records.append(([b""] * 6, bytes(10)))
    return records


def lesson_names(records):
    runs = [records[0][0][1]]
    for texts, _ in records[:SLOTS - 1]:
        if texts[1] != runs[-1]:
            runs.append(texts[1])
    return [name for name in runs[:129] if name]


def main():
    out, views = sys.argv[1], sys.argv[2:]
    lesson = [([b""] * 6, bytes(10)) for _ in range(SLOTS)]
    for view in views:
        book, place = view.rsplit(":", 1)
        records = read_records(book)
        chosen = lesson_names(records)[int(place) - 1]
        lesson = [([t[0], t[1], b"", b"", t[4], t[5]], n) for t, n in lesson]
        target = 0
        for texts, numbers in records[:SLOTS - 1]:
            if texts[1] == chosen:
                lesson[target] = (list(texts), numbers[:8] + bytes(2))
                target += 1
    image = b"".join(
        b"".join(struct.pack("<H", len(t)) + t for t in texts) + numbers
        for texts, numbers in lesson)
    open(out, "wb").write(image)


if __name__ == "__main__":
    main()
