"""FramewrightCli.exe under Wine beside the window program, one camera configuration after the
other in one prefix: set and get across processes with a refused value among them; capture
without a display, refused while the window program holds a preview, and at a size given past a
microphone listed first; a busy camera, one kept by the privacy settings, one whose exposure
settles; paths in Greek and Polish letters; USB-shaped cameras without RGB24 through the prefix's
stand-in converter, for both programs. Each command's logic, value by value, is the host tests'
(cli_*); here one call goes through each binding. apply and save run as docs/settings.md shows
them, beside the window program's starts, in test_settings_examples."""
import collections
import json
import os
import re

import pytest

from fw.bitmap import check_image
from fw.desktop import windows_path
from fw.settings import write_settings
from fw.waits import wait_until

README = os.path.join(os.path.dirname(__file__), "..", "..", "README.md")
# YUV quantisation moves a channel by up to 2 levels; JPEG blurs 8 pixels either side of an edge.
NEAR = {"YUY2": (4, 0), "MJPG": (6, 8)}


def prepare_prefix(scene):
    # Wine turns the command line and the current folder into UTF-16 by the locale's charset:
    # the Greek and Polish paths need a UTF-8 one whatever the caller's locale.
    scene.prefix.env.pop("LC_ALL", None)
    scene.prefix.env["LANG"] = "C.UTF-8"


Run = collections.namedtuple("Run", "code out err")


def cli(scene, *args, cwd=None, display=True):
    """One FramewrightCli call: its exit code and its two streams as text without the CRs."""
    env = dict(scene.prefix.env)
    if not display:
        env.pop("DISPLAY")
    result = scene.prefix.run([scene.cli_exe, *args], 120, cwd or scene.work, env)
    return Run(result.returncode, *(text.decode("utf-8", "replace").replace("\r", "").rstrip("\n")
                                    for text in (result.stdout, result.stderr)))


def property_requests(scene):
    """The camera's log of property requests, not its interface queries, streams or formats."""
    return scene.cameras.log.matching(r" (procamp|cameracontrol|vendor) (get|set|range) ")


def streamed(scene):
    """The subtype and size of the camera's last pin connection, as "YUY2 640x480"."""
    last = scene.cameras.log.matching("pin connect subtype")[-1]
    return "%s %sx%s" % re.search(r"subtype=(\w+) width=(\d+) height=(\d+)", last).groups()


def use_cameras(scene, config):
    """The cameras of another configuration from now on, at their own values."""
    state = scene.prefix.env["FRAMEWRIGHT_VCAM_STATE"]
    if os.path.exists(state):
        os.remove(state)
    scene.cameras.attach(config)


def remove(scene, name):
    if os.path.exists(scene.path(name)):
        os.remove(scene.path(name))


def readme_help():
    with open(README, encoding="utf-8") as f:
        text = f.read()
    body = text.split("### `FramewrightCli --help`\n\n```text\n", 1)[1]
    return body.split("```\n", 1)[0].rstrip("\n")


def test_help_is_the_readme_reference(scene):
    assert cli(scene, "--help")[:2] == (0, readme_help())


SET_REQUESTS = """\
cam=1 procamp set id=0 value=300 flags=2 hr=0x80070057
cam=1 procamp set id=0 value=90 flags=2 hr=0x00000000
cam=1 vendor set id=3 words=0,0,0,152 hr=0x00000000
cam=1 vendor set id=7 words=0,0,0,1,0 hr=0x00000000
cam=1 procamp set id=7 value=4000 flags=1 hr=0x00000000""".splitlines()


def test_set_with_a_refused_value_then_get_in_another_process(scene):
    use_cameras(scene, "pair.cfg")
    run = cli(scene, "set", "--camera", "2", "Brightness=300", "Brightness=90", "zoom=151",
              "LEDInfo=on", "WhiteBalance=auto")
    assert (run.code, run.err) == (4, "FramewrightCli: camera 2 refused Brightness=300: 0x80070057")
    # One request per value, in the order given, to the second camera; the refusal stops none.
    assert property_requests(scene) == SET_REQUESTS
    run = cli(scene, "get", "--camera", "2", "--json", "Brightness", "Zoom", "LEDInfo",
              "WhiteBalance")
    got = json.loads(run.out)
    assert (run.code, got["Brightness"]["value"], got["Zoom"]["value"], got["LEDInfo"]["value"],
            got["WhiteBalance"]["automatic"]) == (0, 90, 152, "on", True)


def test_capture_without_a_display(scene):
    use_cameras(scene, "one.cfg")
    remove(scene, "Framewright.ini")
    # Where no desktop is shown: no X display at all.
    assert cli(scene, "capture", "--out", "cli.bmp", display=False)[:2] == (
        0, "camera 1: 1920x1080 image written to cli.bmp")
    check_image(scene.path("cli.bmp"), 1920, 1080, 128)


def test_capture_refused_while_the_window_program_holds_the_preview(scene):
    write_settings(scene.path("Framewright.ini"), StartWithPreview=1)
    scene.cameras.log.clear()
    scene.start_tool()
    assert wait_until(60, lambda: scene.cameras.log.has("filter run")), "the preview runs"
    remove(scene, "cli.bmp")
    run = cli(scene, "capture", "--out", "cli.bmp")
    assert (run.code, run.err) == (6, "FramewrightCli: camera 1 is being previewed by the window "
                                      "program; close its preview and try again")
    assert not os.path.exists(scene.path("cli.bmp"))
    assert scene.close_tool() == 0
    assert cli(scene, "capture", "--out", "cli.bmp", "--settle-ms", "0").code == 0, \
        "the claim ends with the window program"
    remove(scene, "Framewright.ini")


def test_microphone_listed_before_the_camera(scene):
    # The window program finds its camera by the same walk of the capture category.
    use_cameras(scene, "mic-first.cfg")
    assert cli(scene, "capture", "--out", "mic.bmp", "--width", "640", "--height", "480",
               "--settle-ms", "0").code == 0
    check_image(scene.path("mic.bmp"), 640, 480, 128)
    assert scene.cameras.log.matching("filter run") == ["cam=1 filter run hr=0x00000000"]


GREEK = "\u03b5\u03b9\u03ba\u03cc\u03bd\u03b5\u03c2"
POLISH = "zdj\u0119cia \u0141\u00f3d\u017a"


def test_paths_in_greek_and_polish_letters(scene):
    # An image into a Greek folder, and the settings file of a Polish current folder written and
    # read there.
    greek, polish = scene.path(GREEK), scene.path(POLISH)
    os.makedirs(greek)
    os.makedirs(polish)
    out = GREEK + "\\shot.bmp"
    assert cli(scene, "capture", "--out", out, "--width", "640", "--height", "480",
               "--settle-ms", "0")[:2] == (0, "camera 1: 640x480 image written to " + out)
    check_image(os.path.join(greek, "shot.bmp"), 640, 480, 128)
    assert cli(scene, "save", cwd=polish).code == 0
    with open(os.path.join(polish, "Framewright.ini"), "rb") as f:
        assert f.read(9) == b"[General]", "the settings file is there, in ANSI text"
    assert cli(scene, "apply", cwd=polish).code == 0


UNAVAILABLE = [  # configuration, the rest of capture's message
    ("busy.cfg", " is in use by another program"),
    ("denied.cfg", ": access to the camera is switched off in the privacy settings")]


@pytest.mark.parametrize("config, why", UNAVAILABLE, ids=["busy", "denied"])
def test_camera_in_use_or_kept_by_the_privacy_settings(scene, config, why):
    # The window program's preview runs the graph as capture does (camera/graph_run.cpp).
    use_cameras(scene, config)
    run = cli(scene, "capture", "--out", "unavailable.bmp")
    assert (run.code, run.err) == (6, "FramewrightCli: camera 1" + why)
    assert not os.path.exists(scene.path("unavailable.bmp"))


def test_settling_waits_out_the_exposure_ramp(scene):
    # The first 15 frames rise from black: the default settling takes a frame after them.
    use_cameras(scene, "ramp.cfg")
    assert cli(scene, "capture", "--out", "settled.bmp", "--width", "640", "--height", "480"
               ).code == 0
    check_image(scene.path("settled.bmp"), 640, 480, 128)


# configuration, the subtype the camera streams, width, height: YUY2 away from the camera's
# current 640x480, MJPG at the size of its current YUY2 (which entry a refused RGB24 request falls
# back to is StreamFormatTest.ARefusedRequestFallsBackToTheCamerasOwnEntryAtTheNearestRate's).
CONVERTED = [("uvc-yuy2.cfg", "YUY2", 1920, 1080), ("uvc-mjpg.cfg", "MJPG", 640, 480)]


@pytest.mark.parametrize("config, subtype, width, height", CONVERTED,
                         ids=[f"{subtype}-{width}" for _, subtype, width, _ in CONVERTED])
def test_cameras_without_rgb24_through_the_converter(scene, config, subtype, width, height):
    # The RGB24 grabber reaches them through the converter that Intelligent Connect inserts (in
    # the test prefix the stand-in framewright_convert.dll): a capture at the size given, then the
    # window program's unattended still at the stored size, in the camera's own format of it.
    use_cameras(scene, config)
    remove(scene, "Framewright.ini")
    name = f"{subtype}-{width}"
    assert cli(scene, "capture", "--width", width, "--height", height, "--out", name + ".bmp")[:2] \
        == (0, f"camera 1: {width}x{height} image written to {name}.bmp")
    assert streamed(scene) == f"{subtype} {width}x{height}"
    check_image(scene.path(name + ".bmp"), width, height, 128, near=NEAR[subtype])
    write_settings(scene.path("Framewright.ini"), StartWithPreview=1, CaptureOnStart=1,
                   ExitOnCapture=1, ReviewTimeMs=0,
                   ImageSavePath=windows_path(scene.path(name + "-window.bmp")),
                   **{"Camera0.ResolutionX": width, "Camera0.ResolutionY": height})
    scene.cameras.log.clear()
    scene.start_tool(wait_ready=False)
    assert scene.tool.wait_exit(90) == 0
    assert streamed(scene) == f"{subtype} {width}x{height}"
    check_image(scene.path(name + "-window.bmp"), width, height, 128, near=NEAR[subtype])
