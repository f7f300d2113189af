#!/usr/bin/env python3
"""The driver's control listing against tests/e2e/expected/layout.tsv, at 96 DPI or, with
another DPI, every rectangle at MulDiv(value, DPI, 96) give or take a pixel of rounding (the
status bar then places itself: its rectangle is left to the caller). Radio buttons gain and lose
WS_TABSTOP with their check mark and the camera buttons are hidden without a camera, so those
bits are not compared there; the status bar's text is the tool's status, not a caption."""
import os

TABSTOP, VISIBLE, DISABLED = 0x00010000, 0x10000000, 0x08000000
AUTORADIO = 0x9


def scaled(value, dpi):
    """MulDiv(value, dpi, 96): rounded to the nearest, halves away from zero."""
    product = value * dpi
    return (abs(product) + 48) // 96 * (1 if product >= 0 else -1)


EXPECTED = os.path.join(os.path.dirname(__file__), "..", "expected", "layout.tsv")


def layout_failures(controls_text, dpi=96, expected_path=EXPECTED):
    """What differs between the listing and the table, one text per control."""
    expected = [l.rstrip("\n").split("\t") for l in open(expected_path) if not l.startswith("#")]
    actual = [l.split("\t") for l in controls_text.splitlines() if l.strip()]
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
        rect = [int(v) for v in (left, top, width, height)]
        a_rect = [int(v) for v in (a_left, a_top, a_width, a_height)]
        if dpi != 96:
            rect = [scaled(v, dpi) for v in rect]
            if name == "IDC_SBSTATUS" or all(abs(a - e) <= 1 for a, e in zip(a_rect, rect)):
                a_rect = rect  # within a pixel of rounding, or placed by the status bar itself
        got = (a_id, a_cls, a_style & mask, int(a_ex, 16), *a_rect)
        want = (cid, cls, style & mask, exstyle, *rect)
        if got != want:
            failures.append(f"{name}: expected {want}, got {got}")
        if name != "IDC_SBSTATUS" and not name.startswith("IDC_RBCAM") and a_text != caption:
            failures.append(f"{name}: caption {a_text!r}, expected {caption!r}")
    return failures
