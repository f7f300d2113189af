"""The window on a screen at 150 % (LogPixels 144) against the same window at 96 DPI in the same
prefix: every control's rectangle one and a half times its 96-DPI rectangle, the window's outer
size too, its client area holding the scaled layout, the status bar across its bottom, every
control's font height scaled and every text that fits its control at 96 DPI fitting at 144.
Set FRAMEWRIGHT_DPI_SCREENSHOT to a file name to keep the 144-DPI screenshot there."""
import os
import subprocess

from fw.layout import layout_failures, scaled

DPI = 144
FITS = {}  # DPI: the text-fit report of the tool started at it


def set_dpi(scene, dpi):
    """LogPixels of the prefix, read by each process started afterwards."""
    assert scene.prefix.run(["wine", "reg", "add", "HKCU\\Control Panel\\Desktop", "/v",
                             "LogPixels", "/t", "REG_DWORD", "/d", str(dpi), "/f"]).returncode == 0


def prepare_prefix(scene):
    # Wine has no Times New Roman; without a replacement it draws a wider face and clips texts at
    # any DPI. Liberation Serif has Times New Roman's metrics, so the texts measure as on Windows.
    fonts = subprocess.run(["fc-list"], capture_output=True, text=True).stdout
    if "Liberation Serif" in fonts:
        assert scene.prefix.run(["wine", "reg", "add", "HKCU\\Software\\Wine\\Fonts\\Replacements",
                                 "/v", "Times New Roman", "/t", "REG_SZ", "/d", "Liberation Serif",
                                 "/f"]).returncode == 0
    set_dpi(scene, DPI)


def start_at(scene, dpi):
    """The tool started at the prefix's DPI, its texts measured inside it into FITS[dpi]."""
    scene.start_tool()
    report = scene.d("text-fit", scene.title).replace("\r", "").splitlines()
    assert report[0] == f"dpi\t{dpi}\tdpiAware\ttrue", \
        "the tool sees the screen at the DPI set and its manifest declares it DPI-aware"
    FITS[dpi] = report[1:]


def fit_table(report):
    """The controls of one report by identifier: (class, font height, face, fits, need, room)."""
    controls = {}
    for line in report:
        cid, cls, height, face, *sizes = line.split("\t")
        need_w, need_h, room_w, room_h = map(int, sizes)
        controls[cid] = (cls, int(height), face, need_w <= room_w and need_h <= room_h,
                         (need_w, need_h), (room_w, room_h))
    return controls


def test_window_scaled_at_144(scene):
    scene.cameras.attach("one.cfg")
    start_at(scene, DPI)
    listing = scene.d("controls", scene.title)
    assert layout_failures(listing, dpi=DPI) == [], "every control at 1.5 times its rectangle"
    outer = [row.split("\t")[8:10] for row in scene.d("windows", scene.title).splitlines()
             if row.startswith("my_wnd_class_name_0\t")]
    assert outer == [["1167", "813"]], "the outer size: 778 x 542 at 96 DPI"
    width, height = (int(v) for v in scene.d("client", scene.title).split("\t"))
    # At 96 DPI the status bar's bottom edge is the client area's (770 x 515); the scaled layout
    # needs 1155 x 773 (MulDiv of each).
    assert width >= 1155 and height >= 773, f"the client area {width} x {height}"
    bar = scene.d.controls()[2002]
    left, top, bar_width, bar_height = (int(v) for v in bar[5:9])
    assert (left, bar_width, top + bar_height) == (0, width, height), \
        "the status bar across the client area's bottom"
    shot = os.environ.get("FRAMEWRIGHT_DPI_SCREENSHOT")
    if shot:
        # The whole window with its frame: Wine and openbox put it at the top left of the screen.
        subprocess.run(["import", "-display", scene.display.name, "-window", "root", "-crop",
                        f"{1167 + 40}x{813 + 40}+0+0", "+repage", shot], check=True, timeout=60)
    assert scene.close_tool() == 0


def test_texts_that_fit_at_96_fit_at_144(scene):
    """Texts that do not fit at 96 DPI either (the layout's own, such as a long camera name on
    its selection button) are left out: scaling cannot be blamed for them."""
    set_dpi(scene, 96)
    start_at(scene, 96)
    assert scene.close_tool() == 0
    base, high = fit_table(FITS[96]), fit_table(FITS[DPI])
    assert sorted(high) == sorted(base) != [], "the same controls with texts"
    failures = []
    for cid, (cls, font_height, face, fit, need, room) in sorted(base.items()):
        _, high_height, high_face, high_fit, high_need, high_room = high[cid]
        if (high_height, high_face) != (scaled(font_height, DPI), face):
            failures.append(f"{cid} {cls}: font {high_height} {high_face!r}, at 96 DPI "
                            f"{font_height} {face!r}")
        if fit and not high_fit:
            failures.append(f"{cid} {cls}: fits at 96 DPI ({need} of {room}), clipped at {DPI} "
                            f"({high_need} of {high_room})")
    assert failures == []
