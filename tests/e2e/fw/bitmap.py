#!/usr/bin/env python3
"""Checks that a bitmap file written by the tool holds one frame of the virtual camera.

Usage: bitmap.py [--near TOLERANCE MARGIN] FILE WIDTH HEIGHT BRIGHTNESS (or image_problems)

The headers must describe an uncompressed 24-bit bottom-up frame of WIDTH x HEIGHT right after a
14-byte file header and a 40-byte info header. The pixels must be the camera's test pattern: the
colour bars in the top three quarters exactly, and in the bottom quarter 32 grey cells, each
uniformly the dark or the light grey of one bit of the frame number; every channel shifted by the
camera's BRIGHTNESS - 128 and clamped to 0..255. Prints the frame number read from the cells and
exits 0, or prints what is wrong and exits 1.

With --near, for a frame that passed through a colour converter or JPEG: every channel within
TOLERANCE of the pattern, except within MARGIN pixels of an edge between two bars, two cells or
the bars and the cells (chroma subsampling and JPEG blocks blur there); each cell is read at its
middle as the nearer of the two greys.
"""
import struct
import sys

BARS = [(200, 200, 200), (200, 200, 40), (40, 200, 200), (40, 200, 40),
        (200, 40, 200), (200, 40, 40), (40, 40, 200), (40, 40, 40)]
CELLS = 32
DARK, LIGHT = 32, 224


def shifted(value, brightness):
    return max(0, min(255, value + brightness - 128))


def bgr(rgb, brightness):
    r, g, b = (shifted(v, brightness) for v in rgb)
    return bytes((b, g, r))


def header_problems(data, width, height):
    stride = (width * 3 + 3) & ~3
    pixel_size = stride * height
    problems = []
    if len(data) < 54:
        return ["file of %d bytes has no room for its headers" % len(data)]
    bf_type, bf_size, reserved1, reserved2, off_bits = struct.unpack_from("<2sIHHI", data, 0)
    (bi_size, bi_width, bi_height, planes, bit_count, compression,
     size_image) = struct.unpack_from("<IiiHHII", data, 14)
    expected = [
        ("bfType", bf_type, b"BM"),
        ("bfSize", bf_size, 54 + pixel_size),
        ("file size", len(data), 54 + pixel_size),
        ("bfReserved1", reserved1, 0),
        ("bfReserved2", reserved2, 0),
        ("bfOffBits", off_bits, 54),
        ("biSize", bi_size, 40),
        ("biWidth", bi_width, width),
        ("biHeight (positive: bottom-up)", bi_height, height),
        ("biPlanes", planes, 1),
        ("biBitCount", bit_count, 24),
        ("biCompression (BI_RGB)", compression, 0),
    ]
    for name, got, want in expected:
        if got != want:
            problems.append("%s is %r, expected %r" % (name, got, want))
    # An uncompressed header may leave the image size 0; any other value must be the pixel size.
    if size_image not in (0, pixel_size):
        problems.append("biSizeImage is %d, expected 0 or %d" % (size_image, pixel_size))
    return problems


def pattern_problems(data, width, height, brightness):
    """The problems of the pixels, and the frame number the cells carry."""
    stride = (width * 3 + 3) & ~3
    bar_row = b"".join(bgr(BARS[8 * x // width], brightness) for x in range(width))
    dark = bgr((DARK,) * 3, brightness)
    light = bgr((LIGHT,) * 3, brightness)
    problems = []
    cell_row = None
    for y in range(height):  # image rows, top first; the file stores the bottom row first
        start = 54 + (height - 1 - y) * stride
        row = data[start:start + width * 3]
        if 4 * y < 3 * height:
            if row != bar_row:
                x = next(i for i in range(0, len(row), 3) if row[i:i + 3] != bar_row[i:i + 3])
                problems.append("bar row %d differs first at x=%d: %s, expected %s"
                                % (y, x // 3, row[x:x + 3].hex(), bar_row[x:x + 3].hex()))
        elif cell_row is None:
            cell_row = row
        elif row != cell_row:
            problems.append("cell row %d differs from the first cell row" % y)
        if len(problems) >= 5:
            return problems, None
    cells = [set() for _ in range(CELLS)]
    for x in range(width):
        cells[CELLS * x // width].add(cell_row[3 * x:3 * x + 3])
    frame = 0
    for cell, pixels in enumerate(cells):
        if pixels == {light}:
            frame |= 1 << cell
        elif pixels != {dark}:
            problems.append("cell %d holds %s, expected all %s or all %s"
                            % (cell, sorted(p.hex() for p in pixels), dark.hex(), light.hex()))
    return problems, frame


def edge_distance(x, size, parts):
    """Pixels from x to the nearest edge between `parts` equal parts of `size`."""
    edges = [(k * size + parts - 1) // parts for k in range(1, parts)]
    return min(edge - 1 - x if x < edge else x - edge for edge in edges)


def near_problems(data, width, height, brightness, tolerance, margin):
    stride = (width * 3 + 3) & ~3
    dark, light = shifted(DARK, brightness), shifted(LIGHT, brightness)
    bottom = data[54:54 + width * 3]  # the bottom image row is stored first
    frame = 0
    for cell in range(CELLS):
        x = (2 * cell + 1) * width // 64
        if 2 * bottom[3 * x + 1] > dark + light:
            frame |= 1 << cell
    bar_rows = (3 * height + 3) // 4
    problems = []
    for y in range(height):
        if (bar_rows - 1 - y if y < bar_rows else y - bar_rows) < margin:
            continue
        start = 54 + (height - 1 - y) * stride
        row = data[start:start + width * 3]
        for x in range(width):
            if y < bar_rows:
                if edge_distance(x, width, 8) < margin:
                    continue
                want = bgr(BARS[8 * x // width], brightness)
            else:
                if edge_distance(x, width, CELLS) < margin:
                    continue
                want = bgr(((LIGHT if frame >> (CELLS * x // width) & 1 else DARK),) * 3,
                           brightness)
            got = row[3 * x:3 * x + 3]
            if any(abs(a - b) > tolerance for a, b in zip(got, want)):
                problems.append("pixel %d,%d is %s, expected %s within %d"
                                % (x, y, got.hex(), want.hex(), tolerance))
                if len(problems) >= 5:
                    return problems, None
                break
    return problems, frame


def image_problems(path, width, height, brightness, near=None):
    """(problems, frame number): near is (TOLERANCE, MARGIN) for a converted frame."""
    try:
        with open(path, "rb") as f:
            data = f.read()
    except OSError as error:
        return ["%s: %s" % (path, error)], None
    problems = header_problems(data, width, height)
    if problems:
        return problems, None
    if near:
        return near_problems(data, width, height, brightness, *near)
    return pattern_problems(data, width, height, brightness)


def check_image(path, width, height, brightness, near=None):
    """Asserts that the file is one frame of the pattern; returns the frame number it carries."""
    problems, frame = image_problems(path, width, height, brightness, near)
    assert problems == [], "%s is not the pattern at %dx%d, brightness %d" % (
        path, width, height, brightness)
    return frame


def main(argv):
    near = None
    if len(argv) > 1 and argv[1] == "--near":
        near = (int(argv[2]), int(argv[3]))
        argv = argv[:1] + argv[4:]
    if len(argv) != 5:
        sys.stderr.write(__doc__)
        return 2
    path = argv[1]
    problems, frame = image_problems(path, *(int(v) for v in argv[2:5]), near)
    if problems:
        for problem in problems:
            print("%s: %s" % (path, problem))
        return 1
    print("frame %d" % frame)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
