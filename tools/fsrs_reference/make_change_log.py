#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes an answer log around a zone's changes of offset, for checking the learner's-day
scheduler against the reference: usage: make_change_log.py ZONE FIRST_YEAR LAST_YEAR SEED

For every change of the zone's offset in those years, answers on ten cards, interleaved and
in time order, from a day before the change to a day after it, ten minutes to two hours
apart, so that answers fall on both sides of the change and of the day start near it.
"""
import datetime
import random
import sys
import zoneinfo

UTC = datetime.timezone.utc


def changes(zone, first_year, last_year):
    """The moments (UTC, to the hour) at which the zone's offset changes."""
    moment = datetime.datetime(first_year, 1, 1, tzinfo=UTC)
    end = datetime.datetime(last_year + 1, 1, 1, tzinfo=UTC)
    before = moment.astimezone(zone).utcoffset()
    while moment < end:
        moment += datetime.timedelta(hours=1)
        now = moment.astimezone(zone).utcoffset()
        if now != before:
            yield moment
        before = now


def main():
    zone = zoneinfo.ZoneInfo(sys.argv[1])
    rng = random.Random(int(sys.argv[4]))
    cards = [f"card{n}" for n in range(10)]
    for change in changes(zone, int(sys.argv[2]), int(sys.argv[3])):
        now = change - datetime.timedelta(days=1)
        while now < change + datetime.timedelta(days=1):
            now += datetime.timedelta(minutes=rng.randint(10, 120), seconds=rng.randint(0, 59))
            grade = rng.choices([1, 2, 3, 4], weights=[2, 2, 5, 3])[0]
            print(f"{rng.choice(cards)}\t{now.strftime('%Y-%m-%dT%H:%M:%SZ')}\t{grade}")


if __name__ == "__main__":
    main()
