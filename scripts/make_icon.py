#!/usr/bin/env python3
"""Draws Kalidor's window icon, a 32 x 32 mandala in 16 colours, as XPM source."""
import math
import sys

PALETTE = [  # 16 colours; the first is the background
    "#FFFFFF", "#000000", "#800000", "#008000", "#808000", "#000080", "#800080", "#008080",
    "#C0C0C0", "#808080", "#FF0000", "#00FF00", "#FFFF00", "#0000FF", "#FF00FF", "#00FFFF",
]
KEYS = "0123456789abcdef"
SIZE = 32


def colour_at(x, y):
    cx = cy = (SIZE - 1) / 2
    dx, dy = x - cx, y - cy
    r = math.hypot(dx, dy)
    a = math.atan2(dy, dx)
    petal = abs(math.cos(4 * a))  # eight petals
    if r > 15.6:
        return 0
    if r > 14.4:
        return 1  # outer ring
    if r < 2.2:
        return 12  # yellow heart
    if r < 3.4:
        return 1
    if r < 13.6 * petal ** 0.6 and r > 5:
        return 13 if r > 9.5 else 10  # blue tips, red bases
    if r < 7.5 * abs(math.cos(4 * a + math.pi / 4)) ** 0.5 + 0.5:
        return 3  # green leaves between the petals
    if abs(r - 12) < 0.7:
        return 14  # magenta dotted ring
    return 0


def main():
    rows = ["".join(KEYS[colour_at(x, y)] for x in range(SIZE)) for y in range(SIZE)]
    out = sys.stdout
    out.write("// Kalidor's window icon: 32 x 32 pixels in 16 colours (made by scripts/make_icon.py).\n")
    out.write("#pragma once\n\n")
    out.write("static const char* const kalidor_icon_xpm[] = {\n")
    out.write(f'    "{SIZE} {SIZE} {len(PALETTE)} 1",\n')
    for k, c in zip(KEYS, PALETTE):
        out.write(f'    "{k} c {c}",\n')
    for i, row in enumerate(rows):
        out.write(f'    "{row}"' + (",\n" if i < SIZE - 1 else "\n"))
    out.write("};\n")


if __name__ == "__main__":
    main()
