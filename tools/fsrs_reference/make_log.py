#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes an answer log for checking the scheduler against the reference: usage:
make_log.py SEED ANSWERS > LOG

Cards interleaved, in time order: gaps from seconds (the same day) to ten years, every
grade, runs of Easy long enough to reach the longest interval, lapses after long gaps.
"""
import datetime
import random
import sys


def main():
    rng = random.Random(int(sys.argv[1]))
    answers = int(sys.argv[2])
    now = datetime.datetime(2026, 1, 5, 8, 0, 0, tzinfo=datetime.timezone.utc)
    cards = [f"card{n}" for n in range(40)]
    for _ in range(answers):
        step = rng.choices([
            datetime.timedelta(seconds=rng.randint(1, 600)),               # the same sitting
            datetime.timedelta(hours=rng.randint(1, 30)),                  # around a day
            datetime.timedelta(days=rng.randint(1, 60), seconds=rng.randint(0, 86399)),
            datetime.timedelta(days=rng.choice([365, 3652])),              # years
        ], weights=[30, 30, 38, 2])[0]
        now += step
        card = rng.choice(cards[:rng.randint(1, len(cards))])
        grade = rng.choices([1, 2, 3, 4], weights=[2, 2, 5, 3])[0]
        print(f"{card}\t{now.strftime('%Y-%m-%dT%H:%M:%SZ')}\t{grade}")


if __name__ == "__main__":
    main()
