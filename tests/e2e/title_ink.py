#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# How wide a window manager drew a window's title: the widest run of ink in a band of a
# screenshot (the title bar), leaving out the window's icon at the left and the buttons at
# the right. Prints the width in pixels.
#   title_ink.py SCREENSHOT X Y WIDTH HEIGHT
import subprocess
import sys
from collections import Counter

ICON_ROOM = 24      # the icon, from the bar's left edge
BUTTON_ROOM = 64    # up to three buttons, from its right edge
INK = 60            # how far from the bar's own shade a pixel of text is
GLYPH_GAP = 4       # gaps this narrow lie between the characters of one title


def main():
    shot, x, y, width, height = sys.argv[1], *map(int, sys.argv[2:6])
    grey = subprocess.run(
        ["convert", shot, "-crop", f"{width}x{height}+{x}+{y}", "+repage",
         "-colorspace", "gray", "-depth", "8", "gray:-"],
        check=True, capture_output=True).stdout
    inked = [False] * width
    for row in range(height):
        line = grey[row * width:(row + 1) * width]
        shade = Counter(line).most_common(1)[0][0]
        for column, value in enumerate(line):
            if abs(value - shade) > INK:
                inked[column] = True
    widest, start, gap = 0, None, 0
    for column in range(ICON_ROOM, width - BUTTON_ROOM):
        if inked[column]:
            if start is None:
                start = column
            gap = 0
            widest = max(widest, column - start + 1)
        elif start is not None:
            gap += 1
            if gap > GLYPH_GAP:
                start, gap = None, 0
    print(widest)


if __name__ == "__main__":
    main()
