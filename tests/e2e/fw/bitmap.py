#!/usr/bin/env python3
"""Checks that a bitmap file written by the tool holds one frame of the virtual camera.

Usage: bitmap.py FILE WIDTH HEIGHT BRIGHTNESS (or check_image, image_problems)

The file must be an uncompressed 24-bit bottom-up WIDTH x HEIGHT frame after 54 bytes of headers,
its pixels the camera's pattern: colour bars in the top three quarters, in the bottom quarter 32
cells each the dark or light grey of one bit of the frame number, every channel shifted by
BRIGHTNESS - 128 and clamped. Prints the frame number and exits 0, or what is wrong and exits 1.
With near=(TOLERANCE, MARGIN) (a frame that passed a colour converter or JPEG) each channel may be
off by TOLERANCE, and pixels within MARGIN of an edge between bars, cells or the two are skipped.
"""
import struct
import sys

BARS = [(200, 200, 200), (200, 200, 40), (40, 200, 200), (40, 200, 40),
        (200, 40, 200), (200, 40, 40), (40, 40, 200), (40, 40, 40)]
CELLS = 32
DARK, LIGHT = 32, 224


def shifted(value, brightness):
    return max(0, min(255, value + brightness - 128))


def pattern(width, height, brightness, frame):
    """The pattern's (r, g, b) of each column in a row of bars and in the row of cells of that
    frame number, and how many rows from the top are bars."""
    bars = [tuple(shifted(v, brightness) for v in BARS[8 * x // width]) for x in range(width)]
    cells = [(shifted(LIGHT if frame >> (CELLS * x // width) & 1 else DARK, brightness),) * 3
             for x in range(width)]
    return bars, cells, (3 * height + 3) // 4


def frame_number(width, light_at):
    """The frame number that the middles of the cells carry: light_at(x) for a middle's column."""
    return sum(1 << cell for cell in range(CELLS) if light_at((2 * cell + 1) * width // 64))


def header_problems(data, width, height):
    pixel_size = ((width * 3 + 3) & ~3) * height
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
    problems = ["%s is %r, expected %r" % e for e in expected if e[1] != e[2]]
    # An uncompressed header may leave the image size 0; any other value must be the pixel size.
    if size_image not in (0, pixel_size):
        problems.append("biSizeImage is %d, expected 0 or %d" % (size_image, pixel_size))
    return problems


def edge_distance(x, size, parts):
    """Pixels from x to the nearest edge between `parts` equal parts of `size`."""
    edges = [(k * size + parts - 1) // parts for k in range(1, parts)]
    return min(edge - 1 - x if x < edge else x - edge for edge in edges)


def pattern_problems(data, width, height, brightness, tolerance=0, margin=0):
    """The problems of the pixels, and the frame number that the middles of the cells carry."""
    stride = (width * 3 + 3) & ~3
    dark, light = shifted(DARK, brightness), shifted(LIGHT, brightness)
    # The bottom image row is stored first; its green channel tells dark from light.
    frame = frame_number(width, lambda x: 2 * data[54 + 3 * x + 1] > dark + light)
    bars, cells, bar_rows = pattern(width, height, brightness, frame)
    bar_row, cell_row = (b"".join(bytes(rgb[::-1]) for rgb in row) for row in (bars, cells))
    columns = {part: [x for x in range(width)
                      if not margin or edge_distance(x, width, part) >= margin]
               for part in (8, CELLS)}
    problems = []
    for y in range(height):  # image rows, top first; the file stores the bottom row first
        if (bar_rows - 1 - y if y < bar_rows else y - bar_rows) < margin:
            continue
        start = 54 + (height - 1 - y) * stride
        row = data[start:start + width * 3]
        want = bar_row if y < bar_rows else cell_row
        if row == want:
            continue
        for x in columns[8 if y < bar_rows else CELLS]:
            got = row[3 * x:3 * x + 3]
            if any(abs(a - b) > tolerance for a, b in zip(got, want[3 * x:3 * x + 3])):
                problems.append("pixel %d,%d is %s, expected %s within %d"
                                % (x, y, got.hex(), want[3 * x:3 * x + 3].hex(), tolerance))
                break
        if len(problems) >= 5:
            break
    return problems, None if problems else frame


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
    return pattern_problems(data, width, height, brightness, *(near or ()))


def check_image(path, width, height, brightness, near=None):
    """Asserts that the file is one frame of the pattern; returns the frame number it carries."""
    problems, frame = image_problems(path, width, height, brightness, near)
    assert problems == [], "%s is not the pattern at %dx%d, brightness %d: %s" % (
        path, width, height, brightness, problems)
    return frame


def main(argv):
    if len(argv) != 5:
        sys.stderr.write(__doc__)
        return 2
    path = argv[1]
    problems, frame = image_problems(path, *(int(v) for v in argv[2:5]))
    if problems:
        for problem in problems:
            print("%s: %s" % (path, problem))
        return 1
    print("frame %d" % frame)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
