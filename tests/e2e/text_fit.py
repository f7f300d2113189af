#!/usr/bin/env python3
"""Compares the texts of the real window at 96 DPI and at a higher DPI (driver.exe text-fit, run on
both): the same controls with texts, each drawn with the 96-DPI font height scaled by MulDiv(height,
DPI, 96), and every text that fits its control at 96 DPI fitting it at the higher DPI.

A text fits when the width and height it needs are within its control's client rectangle. Texts
that do not fit at 96 DPI either (the layout's own, such as a long camera name on its selection
button) are listed, not failed: scaling cannot be blamed for them.

Usage: text_fit.py FIT_AT_96 FIT_AT_DPI DPI"""
import sys


def scaled(value, dpi):
    """MulDiv(value, dpi, 96): rounded to the nearest, halves away from zero."""
    product = value * dpi
    return (abs(product) + 48) // 96 * (1 if product >= 0 else -1)


def read(path):
    """The controls of one report by identifier: (class, font height, face, need, room)."""
    controls = {}
    for line in open(path):
        fields = line.rstrip("\r\n").split("\t")
        if fields[0] == "dpi":
            continue
        cid, cls, height, face, need_w, need_h, room_w, room_h = fields
        controls[cid] = (cls, int(height), face, (int(need_w), int(need_h)),
                         (int(room_w), int(room_h)))
    return controls


def fits(need, room):
    return need[0] <= room[0] and need[1] <= room[1]


def main(base_path, scaled_path, dpi):
    base, high = read(base_path), read(scaled_path)
    failures, notes = [], []
    if sorted(base) != sorted(high):
        failures.append(f"controls with texts differ: {sorted(base)} at 96, {sorted(high)} at {dpi}")
    for cid in sorted(set(base) & set(high)):
        cls, height, face, need, room = base[cid]
        _, high_height, high_face, high_need, high_room = high[cid]
        if high_height != scaled(height, dpi):
            failures.append(f"{cid} {cls}: font height {high_height}, expected {scaled(height, dpi)}")
        if high_face != face:
            failures.append(f"{cid} {cls}: drawn with {high_face!r}, at 96 DPI with {face!r}")
        if not fits(need, room):
            notes.append(f"{cid} {cls}: needs {need} of {room} at 96 DPI, {high_need} of "
                         f"{high_room} at {dpi}")
        elif not fits(high_need, high_room):
            failures.append(f"{cid} {cls}: fits at 96 DPI ({need} of {room}), clipped at {dpi} "
                            f"({high_need} of {high_room})")
    for n in notes:
        print("  clipped at 96 DPI as well: " + n)
    for f in failures:
        print("  " + f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2], int(sys.argv[3])))
