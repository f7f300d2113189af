"""Start-up under Wine: no camera, a changed camera configuration, one camera's first and second
start, InitAndExit, several cameras and their labels, names that need quoting, and the stream
format code against a pin of the check program's own. One prefix: the cameras change between the
starts as they would on a desk."""
import os
import re

from fw.layout import layout_failures
from fw.settings import MANUAL_RECORD, settings_bytes, write_settings

NO_CAMERA = "No Parvanex Camera detected, please attach a Parvanex Webcam"
CHANGED_BOX = "Camera configuration changed"


def visible_camera_buttons(controls):
    """The visible selection buttons, top (2052) to bottom, with their labels."""
    return [f"{i} {controls[i][2]}" for i in range(2052, 2046, -1) if controls[i][9] == "1"]


def test_no_camera_first_start(scene):
    scene.start_tool()
    assert scene.d.text(2002) == NO_CAMERA
    assert layout_failures(scene.d("controls", scene.title)) == []
    assert scene.d("client", scene.title) == "770\t515"
    controls = scene.d.controls()
    assert (controls[2000][10], controls[2009][10]) == ("0", "1"), "Preview disabled, Exit enabled"
    # The file it writes: SettingsFileTest.NoCameraAndNoFileWritesCountZeroAndNoSection.
    assert scene.close_tool() == 0


GONE_COMPLETE = (b"[General]\r\nNumberOfCameras=1\r\nImageSavePath=C:\\x.bmp\r\nStartWithPreview=0\r\n"
                 b"ExitOnCapture=0\r\nCaptureOnStart=0\r\nUsePrintKeyToCaptureImages=0\r\n"
                 b"UseMinMaxOnPrintKey=0\r\nImageCounter=4\r\nReviewTimeMs=1500\r\n"
                 b"HideAppWhenInactive=0\r\n[Camera0]\r\nName=Parvanex Gone\r\n")
GONE_SHORT = b"[General]\r\nNumberOfCameras=1\r\n[Camera0]\r\nName=Parvanex Gone\r\n"
# The options GONE_COMPLETE has, at their defaults.
GONE_SHORT_AFTER = GONE_COMPLETE.replace(b"C:\\x.bmp", b"C:\\W1X9Image.bmp").replace(
    b"ImageCounter=4", b"ImageCounter=0")


def test_changed_configuration_asks_and_keeps_the_file(scene):
    # (file before, file after): a complete file is left as it is; a file without options gets
    # the defaults and nothing else.
    for before, after in ((GONE_COMPLETE, GONE_COMPLETE), (GONE_SHORT, GONE_SHORT_AFTER)):
        with open(scene.path("Framewright.ini"), "wb") as f:
            f.write(before)
        scene.start_tool(wait_ready=False)
        box = scene.d("wait-box", CHANGED_BOX, 120000)
        assert box == "0\tPlease restore the previous Camera Config or delete Framewright.ini File"
        scene.d("answer-box", CHANGED_BOX, 1)
        assert scene.tool.wait_exit() == 0
        assert scene.read("Framewright.ini") == after


def test_one_camera_first_start_stores_its_values(scene):
    os.remove(scene.path("Framewright.ini"))
    scene.cameras.attach("one.cfg")
    scene.start_tool()
    assert scene.d.text(2052) == "Camera 1: Parvanex Virtual Camera"
    assert scene.d.status() == "Camera 1: Parvanex Virtual Camera"
    c = scene.d.controls()
    assert [(i, c[i][9], c[i][10]) for i in (2000, 2047, 2051)] == [
        (2000, "1", "1"), (2047, "0", "1"), (2051, "0", "1")], "Preview enabled, buttons 2-6 hidden"
    # The sliders show the camera's values: brightness 128 in its range, white balance 4000 in the
    # fixed range of its slider.
    assert c[2043][12:15] == ["0", "255", "128"]
    assert c[2039][12:15] == ["0", "10000", "4000"]
    assert scene.close_tool() == 0
    assert scene.read("Framewright.ini") == settings_bytes(first_start=True)


SECOND_START_APPLY = """\
cam=0 procamp set id=13 value=1 flags=2 hr=0x00000000
cam=0 cameracontrol set id=4 value=-6 flags=1 hr=0x00000000
cam=0 cameracontrol set id=19 value=1 flags=1 hr=0x00000000
cam=0 procamp set id=0 value=128 flags=2 hr=0x00000000
cam=0 procamp set id=1 value=32 flags=2 hr=0x00000000
cam=0 procamp set id=3 value=64 flags=2 hr=0x00000000
cam=0 procamp set id=4 value=24 flags=2 hr=0x00000000
cam=0 procamp set id=8 value=0 flags=2 hr=0x00000000
cam=0 procamp set id=9 value=0 flags=2 hr=0x00000000
cam=0 vendor set id=3 words=0,0,0,100 hr=0x00000000
cam=0 vendor set id=5 words=2,0,0,333 hr=0x00000000
cam=0 cameracontrol set id=6 value=128 flags=2 hr=0x00000000""".splitlines()


def test_one_camera_second_start_applies_the_record(scene):
    scene.cameras.log.clear()
    scene.start_tool()
    assert scene.close_tool() == 0
    # In the tool's order, and nothing else: LED 3 and automatic white balance are not written.
    assert scene.cameras.log.matching(" set ") == SECOND_START_APPLY
    assert scene.read("Framewright.ini") == settings_bytes()


INIT_AND_EXIT_APPLY = """\
cam=0 procamp set id=13 value=2 flags=2 hr=0x00000000
cam=0 vendor set id=7 words=0,0,0,1,0 hr=0x00000000
cam=0 procamp set id=0 value=90 flags=2 hr=0x00000000
cam=0 cameracontrol set id=4 value=-6 flags=2 hr=0x00000000
cam=0 vendor set id=5 words=2,0,0,500 hr=0x00000000
cam=0 cameracontrol set id=19 value=0 flags=2 hr=0x00000000
cam=0 procamp set id=1 value=40 flags=2 hr=0x00000000
cam=0 procamp set id=3 value=70 flags=2 hr=0x00000000
cam=0 procamp set id=4 value=30 flags=2 hr=0x00000000
cam=0 procamp set id=7 value=5000 flags=2 hr=0x00000000
cam=0 procamp set id=8 value=1 flags=2 hr=0x00000000
cam=0 procamp set id=9 value=12 flags=2 hr=0x00000000
cam=0 vendor set id=3 words=0,0,0,152 hr=0x00000000
cam=0 vendor set id=5 words=2,0,0,500 hr=0x00000000
cam=0 cameracontrol set id=6 value=128 flags=1 hr=0x00000000""".splitlines()


def test_init_and_exit_applies_the_manual_record_and_ends(scene):
    write_settings(scene.path("Framewright.ini"), **MANUAL_RECORD)
    before = scene.read("Framewright.ini")
    scene.cameras.log.clear()
    scene.start_tool(wait_ready=False)
    assert scene.tool.wait_exit(60) == 0
    assert scene.cameras.log.matching(" set ") == INIT_AND_EXIT_APPLY
    with open(scene.prefix.env["FRAMEWRIGHT_VCAM_STATE"], "rb") as f:
        state = [l for l in f.read().decode().splitlines() if "procamp id=0 " in l]
    assert state == ["cam=0 procamp id=0 words=90,2"], "the camera keeps the applied values"
    assert scene.read("Framewright.ini") == before, "the settings file is left as it was"
    assert scene.d.call("wait-window", scene.title, 100)[0] == 1, "no window left behind"


CAMERA_SETS = [  # configuration, visible buttons, NumberOfCameras, stored names
    ("mixed.cfg", ["2052 Camera 1: Parvanex Virtual Camera", "2051 Camera 2: Parvanex Second Camera"],
     "2", ["Parvanex Virtual Camera", "Parvanex Second Camera"]),
    ("seven.cfg", [f"{2053 - i} Camera {i}: Parvanex Camera {i}" for i in range(1, 7)],
     "6", [f"Parvanex Camera {i}" for i in range(1, 7)]),
]


def stored_names(scene):
    return re.findall(r"^Name=(.*?)\r?$", scene.read("Framewright.ini").decode("latin-1"), re.M)


def test_several_cameras_labels_and_sections(scene):
    for config, buttons, count, names in CAMERA_SETS:
        os.remove(scene.path("Framewright.ini"))
        scene.cameras.attach(config)
        scene.start_tool()
        assert visible_camera_buttons(scene.d.controls()) == buttons, config
        assert scene.close_tool() == 0
        text = scene.read("Framewright.ini").decode("latin-1")
        assert re.search(r"^NumberOfCameras=(\d+)", text, re.M).group(1) == count, config
        assert stored_names(scene) == names, config


def test_awkward_names_stored_quoted_and_accepted_next_start(scene):
    # A trailing blank, a line feed from U+010A and a real one: stored quoted twice and escaped.
    os.remove(scene.path("Framewright.ini"))
    scene.cameras.attach("awkward_names.cfg")
    scene.start_tool(applied=True)
    assert scene.d.text(2052) == "Camera 1: Parvanex Trailing "
    assert scene.close_tool() == 0
    names = stored_names(scene)
    assert names == ['""Parvanex Trailing ""', '""Parvanex \\nFeed\\n""']
    # The second start with a changed brightness and InitAndExit: the record reaching the camera
    # and the exit show the check passed (a refused configuration would wait for its box).
    text = scene.read("Framewright.ini").replace(b"\nBrightness=128\r", b"\nBrightness=90\r", 1)
    text = text.replace(b"ReviewTimeMs=1500\r\n", b"ReviewTimeMs=1500\r\nInitAndExit=1\r\n", 1)
    with open(scene.path("Framewright.ini"), "wb") as f:
        f.write(text)
    scene.cameras.log.clear()
    scene.start_tool(wait_ready=False)
    assert scene.tool.wait_exit(60) == 0
    assert scene.cameras.log.matching("procamp set id=0 ") == [
        "cam=0 procamp set id=0 value=90 flags=2 hr=0x00000000"]
    assert stored_names(scene) == names


def test_stream_format_code_against_a_pin_of_its_own(scene):
    # The stream caps read in the size the pin reports, and sizes out of range refused.
    result = scene.prefix.run([os.path.join(scene.build, "stream_format_check.exe")], timeout=60)
    out = result.stdout.decode("latin-1").replace("\r", "").splitlines()
    assert [l for l in out if l.startswith("FAIL")] == []
    assert result.returncode == 0 and out[-1:] == ["0 failed"]
