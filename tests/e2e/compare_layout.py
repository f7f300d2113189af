#!/usr/bin/env python3
"""Compares the driver's control listing of the real window with the expected layout.

The enabled state depends on the cameras found and is checked by the tests themselves. Radio
buttons gain and lose WS_TABSTOP with their check mark, and the camera selection buttons
are hidden without a camera, so those two bits are compared only where they cannot have moved;
the status bar's text is the tool's current status, not its creation caption."""
import sys

TABSTOP, VISIBLE, DISABLED = 0x00010000, 0x10000000, 0x08000000
AUTORADIO = 0x9


def main(expected_path, actual_path):
    expected = [l.rstrip("\n").split("\t") for l in open(expected_path) if not l.startswith("#")]
    actual = [l.rstrip("\n").split("\t") for l in open(actual_path) if l.strip()]
    failures = []
    if len(actual) != len(expected):
        failures.append(f"{len(actual)} controls, expected {len(expected)}")
    for e, a in zip(expected, actual):
        cid, name, cls, caption, style, exstyle, left, top, width, height = e
        style, exstyle = int(style, 16), int(exstyle, 16)
        a_id, a_cls, a_text, a_style, a_ex, a_left, a_top, a_width, a_height = a[:9]
        a_style = int(a_style, 16)
        mask = ~DISABLED & 0xFFFFFFFF  # the enabled state is checked on its own
        if style & 0xF == AUTORADIO and cls == "Button":
            mask &= ~TABSTOP
        if name.startswith("IDC_RBCAM"):
            mask &= ~VISIBLE
        got = (a_id, a_cls, a_style & mask, int(a_ex, 16), a_left, a_top, a_width, a_height)
        want = (cid, cls, style & mask, exstyle, left, top, width, height)
        if got != want:
            failures.append(f"{name}: expected {want}, got {got}")
        if name not in ("IDC_SBSTATUS",) and not name.startswith("IDC_RBCAM") and a_text != caption:
            failures.append(f"{name}: caption {a_text!r}, expected {caption!r}")
    for f in failures:
        print("  " + f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
