"""Start-up under Wine: no camera, a changed camera configuration, one camera's first start, names
that need quoting, and the stream format code against a pin of the check program's own. One
prefix: the cameras change between the starts as they would on a desk. A later start applying its
record, InitAndExit among them, runs as docs/settings.md shows it in test_settings_examples (the
orders in both modes: the host's CameraPropertiesTest); two cameras' labels come with test_panel's
rescan (which cameras are found: the host's DiscoveryTest)."""
import os
import re

from fw.layout import layout_failures
from fw.settings import settings_bytes

NO_CAMERA = "No Parvanex Camera detected, please attach a Parvanex Webcam"
CHANGED_BOX = "Camera configuration changed"


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


def stored_names(scene):
    return re.findall(r"^Name=(.*?)\r?$", scene.read("Framewright.ini").decode("latin-1"), re.M)


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
