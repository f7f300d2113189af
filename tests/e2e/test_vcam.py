"""The virtual camera on its own, through vcam_probe.exe, where the tool's scenarios do not reach
it: every property interface and configured refusal, an unplug while a program holds a camera,
and the USB-shaped cameras: strict formats, and the frames they stream compared with the pattern
here: YUY2 and NV12 byte for byte, NV12 through the stand-in converter, MJPG decoded by djpeg."""
import os
import subprocess

from fw.bitmap import LIGHT, frame_number, image_problems, pattern, pattern_problems, shifted
from fw.camera import ROOT
from fw.desktop import windows_path
from fw.waits import wait_until

PROBE_CONFIGS = os.path.join(ROOT, "vcam", "tests")


def probe(scene):
    path = os.path.join(scene.build, "vcam_probe.exe")
    assert os.path.isfile(path), f"{path} is not built"
    return path


def run_probe(scene, *args, timeout=180):
    """The probe's own checks: it prints each and exits 0 only when all passed."""
    result = scene.prefix.run([probe(scene)] + list(args), timeout=timeout)
    out = result.stdout.decode("latin-1").replace("\r", "")
    # " checks, 0 failed" is its last line: the probe ran to its end.
    assert result.returncode == 0 and " checks, 0 failed" in out, \
        "\n".join(line for line in out.splitlines() if line.startswith("FAIL")) or out[-3000:]


def test_every_interface_and_configured_refusals(scene):
    scene.cameras.attach(os.path.join(PROBE_CONFIGS, "probe_config.txt"))
    run_probe(scene)


def test_unplug_while_a_program_holds_the_camera(scene):
    ready = os.path.join(scene.tmp, "ready")
    holder = scene.prefix.start([probe(scene), "--unplug", windows_path(ready)],
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    assert wait_until(30, lambda: os.path.exists(ready) or holder.poll() is not None)
    assert os.path.exists(ready), "the probe did not get to hold camera 4"
    scene.cameras.unplug(4, notify=False)
    out = holder.communicate(timeout=90)[0].decode("latin-1")
    assert holder.returncode == 0 and " checks, 0 failed" in out, out[-3000:]


def yuv(rgb):
    """Y, U, V of an RGB colour: the integer BT.601 limited-range formula of docs/vcam.md."""
    r, g, b = rgb
    return ((66 * r + 129 * g + 25 * b + 128) // 256 + 16,
            (-38 * r - 74 * g + 112 * b + 128) // 256 + 128,
            (112 * r - 94 * g - 18 * b + 128) // 256 + 128)


def yuv_frame_problem(data, nv12, width=640, height=480, brightness=150):
    """None when the top-down YUY2 or NV12 frame is the pattern exactly, chroma taken from the
    left (NV12: top-left) pixel of each pair; else where it differs first."""
    bottom = (height - 1) * width
    light = yuv((shifted(LIGHT, brightness),) * 3)[0]
    frame = frame_number(width, lambda x: data[(bottom + x) * (1 if nv12 else 2)] == light)
    *rows, bar_rows = pattern(width, height, brightness, frame)
    bars, cells = ([yuv(rgb) for rgb in row] for row in rows)
    if nv12:
        luma = [bytes(p[0] for p in row) for row in (bars, cells)]
        chroma = [bytes(v for p in row[::2] for v in p[1:]) for row in (bars, cells)]
        expected = (luma[0] * bar_rows + luma[1] * (height - bar_rows) + chroma[0] * (bar_rows // 2)
                    + chroma[1] * ((height - bar_rows) // 2))
    else:
        pairs = [bytes(v for x in range(0, width, 2)
                       for v in (row[x][0], row[x][1], row[x + 1][0], row[x][2]))
                 for row in (bars, cells)]
        expected = pairs[0] * bar_rows + pairs[1] * (height - bar_rows)
    if data == expected:
        return None
    at = next((i for i, (a, b) in enumerate(zip(data, expected)) if a != b), len(expected))
    return "frame %d of %d bytes (expected %d) differs first at byte %d: %s, expected %s" % (
        frame, len(data), len(expected), at, data[at:at + 4].hex(), expected[at:at + 4].hex())


def test_usb_shaped_cameras(scene):
    scene.cameras.plug(os.path.join(PROBE_CONFIGS, "probe_uvc.txt"), notify=False)
    run_probe(scene, "--uvc", windows_path(scene.tmp), timeout=120)

    def frame(name):
        with open(os.path.join(scene.tmp, name), "rb") as f:
            return f.read()
    assert yuv_frame_problem(frame("yuy2-frame.yuv"), nv12=False) is None
    assert yuv_frame_problem(frame("nv12-frame.yuv"), nv12=True) is None
    # The stand-in converter's RGB24 of the NV12 frame (bottom-up rows, where a bitmap file's
    # pixels begin after its 54 bytes of headers): YUV quantisation moves a channel by a few
    # levels. The MJPG frame as any JPEG decoder sees it: within 6 levels away from the edges
    # (djpeg blends chroma across them). All at brightness 150.
    assert pattern_problems(bytes(54) + frame("nv12-rgb24.dib"), 640, 480, 150, 4, 0)[0] == []
    bmp = os.path.join(scene.tmp, "mjpg-frame.bmp")
    subprocess.run(["djpeg", "-bmp", "-outfile", bmp, os.path.join(scene.tmp, "mjpg-frame.jpg")],
                   check=True)
    assert image_problems(bmp, 1920, 1080, 150, near=(6, 8))[0] == []
