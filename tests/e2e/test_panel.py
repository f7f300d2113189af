"""The panel at work under Wine, driven from outside: each control's effect on the camera, the
apply orders of the camera modes, the save flow, cameras arriving and leaving while the tool runs,
the selected camera pulled out at awkward moments. One prefix, the cameras changing between the
parts as on a desk; openbox without key bindings, so that the Print key reaches Wine."""
import os
import re
import threading

from fw.bitmap import check_image
from fw.capture import images, main_window_back, xdotool
from fw.desktop import windows_path
from fw.settings import write_settings
from fw.waits import wait_until

OPENBOX_CONFIG = os.path.join(os.path.dirname(os.path.abspath(__file__)), "openbox_no_keys.xml")

# Columns of the driver's controls listing (from 0).
CAPTION, VISIBLE, ENABLED, CHECK, POSITION = 2, 9, 10, 11, 14
OK = " hr=0x00000000"
NO_CAMERA = "No Parvanex Camera detected, please attach a Parvanex Webcam"
LABEL = "Camera 1: Parvanex Virtual Camera"
SECOND = "Camera 2: Parvanex Second Camera"
EXIT_BOX = "Orvisto Settings\tExit Saving Changes"
SLIDERS = (2043, 2042, 2041, 2040, 2039, 2038, 2037, 2036, 2035, 2034)
AUTO_BOXES = (2024, 2016, 2017, 2018, 2019, 2020, 2021, 2033, 2022, 2023)


def cam(*lines, index=0):
    """The camera's log lines of write requests; accepted unless a line gives its own result."""
    return [f"cam={index} {line}" + ("" if " hr=" in line else OK) for line in lines]


def since_mark(scene, pattern):
    return scene.cameras.log.matching(pattern, since_mark=True)


def writes(scene):
    """The write requests (accepted or refused) the camera logged since the mark."""
    return since_mark(scene, " set ")


def field(scene, column, *ids):
    c = scene.d.controls()
    return " ".join(c[i][column] for i in ids)


def refused(scene, *args):
    """The driver command fails, as it does for a control an operator could not reach."""
    return scene.d.call(*args)[0] != 0


def fresh_camera(scene, config):
    """The cameras of config at their own values and no settings file: a first start."""
    for path in (scene.path("Framewright.ini"), scene.prefix.env["FRAMEWRIGHT_VCAM_STATE"]):
        if os.path.exists(path):
            os.remove(path)
    scene.cameras.attach(config)


def start(scene, limit=600):
    """The tool started and start-up over, up to its last write; the log is marked first."""
    scene.cameras.log.set_mark()
    scene.start_tool(applied=True, limit=limit)


def back_in_loop(scene):
    """The tool answers a sent request again (or has ended): the handler that ran has returned."""
    return wait_until(30, lambda: scene.d.ok("status", scene.title) or not scene.tool.running())


def press_answered(scene, control, button):
    """Presses a button whose handler opens an "Event" box, answers it with button (1 OK, 6 Yes,
    7 No) and returns the box as "OWNER<tab>TEXT" once the handler is back in its loop."""
    scene.d("press", scene.title, control)
    box = scene.d("wait-box", "Event", 10000)
    scene.d("answer-box", "Event", button)
    scene.d("wait-no-box", "Event", 10000)
    back_in_loop(scene)
    return box


def close_unsaved(scene):
    """The close request asks about the changes; No, the tool ends with 0 and writes nothing."""
    before = scene.read("Framewright.ini")
    scene.d.close()
    assert scene.d("wait-box", "Event", 10000) == EXIT_BOX
    scene.d("answer-box", "Event", 7)
    assert scene.tool.wait_exit(30) == 0
    assert scene.read("Framewright.ini") == before, "No: nothing written"


# --- The controls, one start of a camera whose picture properties can all be automatic.

# (slider, position, status text, write). The white balance slider spans 0..10000 whatever the
# camera takes (here 2800..6500): a value the camera refuses is still shown.
SLIDES = [
    (2043, 200, "Brightness Value: 200", "procamp set id=0 value=200 flags=2"),
    (2042, 77, "Contrast Value: 77", "procamp set id=1 value=77 flags=2"),
    (2041, 90, "Saturation Value: 90", "procamp set id=3 value=90 flags=2"),
    (2040, 12, "Sharpness Value: 12", "procamp set id=4 value=12 flags=2"),
    (2038, 1, "BackLight Compensation Value: 1", "procamp set id=8 value=1 flags=2"),
    (2037, 42, "Gain Value: 42", "procamp set id=9 value=42 flags=2"),
    (2039, 7000, "White Balance Value: 7000", "procamp set id=7 value=7000 flags=2 hr=0x80070057"),
    (2039, 5000, "White Balance Value: 5000", "procamp set id=7 value=5000 flags=2"),
    (2036, 151, "Zoom Value: 152", "vendor set id=3 words=0,0,0,152"),
    (2035, 500, "Exposure Time Value: 0.0500 seconds", "vendor set id=5 words=2,0,0,500"),
    (2034, 200, "Focus Value: 200", "cameracontrol set id=6 value=200 flags=2"),
]


def test_each_slider_reaches_the_camera(scene):
    fresh_camera(scene, "panel.cfg")
    start(scene)
    # A first start shows the camera's automatic white balance, exposure and focus, and "Auto".
    assert field(scene, CHECK, 2019, 2022, 2023, 2045, 2044) == "1 1 1 1 0"
    for control, position, status, written in SLIDES:
        what = f"slider {control} to {position}"
        scene.cameras.log.set_mark()
        scene.d("slide", scene.title, control, position)
        assert scene.d.status() == status, what
        assert writes(scene) == cam(written), what


def click_reaches(scene, control, written, what):
    """A click whose handler opens no box (answered at once) and the camera's writes."""
    scene.cameras.log.set_mark()
    assert scene.d.click(control) == f"clicked {control}", f"{what}: answered without a box"
    assert writes(scene) == cam(*written), what


# box, writes, what. The sliders' moves unchecked these boxes and the exposure's: a click checks.
AUTO_CLICKS = [
    (2019, ["procamp set id=7 value=4000 flags=1"], "white balance box checked"),
    (2019, ["procamp set id=7 value=5000 flags=2"], "white balance unchecked: the slider's value"),
    (2023, ["cameracontrol set id=6 value=128 flags=1"], "focus box checked"),
    (2023, ["cameracontrol set id=6 value=200 flags=2"], "focus box unchecked: the slider's value"),
]
BOX_ONLY = [(2024, "IDC_CKBRIGHT"), (2016, "IDC_CKCONTRA"), (2017, "IDC_CKSATURA"),
            (2018, "IDC_CKSHARPN"), (2020, "IDC_CKBACKCO"), (2021, "IDC_CKGAIN")]


def checkbox_box(name, state):
    return f"Orvisto Settings\tthe checkbox {name} is {state}."


def test_automatic_boxes(scene):
    for control, written, what in AUTO_CLICKS:
        click_reaches(scene, control, written, what)
    # The exposure box shows its box before it writes anything; unchecking it shows none.
    scene.cameras.log.set_mark()
    scene.d("press", scene.title, 2022)
    assert scene.d("wait-box", "Event", 10000) == checkbox_box("IDC_CKEXPTIM", "checked")
    assert writes(scene) == [], "nothing written while the exposure box's box is open"
    scene.d("answer-box", "Event", 1)
    scene.d("wait-no-box", "Event", 10000)
    assert back_in_loop(scene)
    # The time in automatic mode, then automatic exposure.
    assert writes(scene) == cam("vendor set id=5 words=1,0,0,500",
                                "cameracontrol set id=4 value=-6 flags=1",
                                "cameracontrol set id=19 value=1 flags=1")
    click_reaches(scene, 2022, ["cameracontrol set id=4 value=-6 flags=2",
                                "vendor set id=5 words=2,0,0,500",
                                "cameracontrol set id=19 value=0 flags=2",
                                "vendor set id=5 words=2,0,0,500"], "exposure box unchecked")
    # The other automatic boxes only show their box, worded after the new check mark.
    scene.cameras.log.set_mark()
    for control, name in BOX_ONLY:
        for state in ("checked", "unchecked"):
            assert press_answered(scene, control, 1) == checkbox_box(name, state)
    assert field(scene, CHECK, *(c for c, _ in BOX_ONLY)) == "0 0 0 0 0 0"
    assert writes(scene) == [], "the six boxes wrote nothing to the camera"


RADIOS = [  # LED and power line: each radio button writes its code.
    (2060, ["vendor set id=7 words=0,0,0,1,0"], "LED Const On"),
    (2058, ["vendor set id=7 words=0,0,0,0,0"], "LED Const Off"),
    (2059, ["vendor set id=7 words=0,0,0,3,0"], "LED Automatic"),
    (2056, ["procamp set id=13 value=2 flags=2"], "60 Hz"),
    (2054, ["procamp set id=13 value=0 flags=2"], "power line compensation off"),
    (2055, ["procamp set id=13 value=1 flags=2"], "50 Hz"),
]


MANUAL_EXPOSURE = ["cameracontrol set id=4 value=-6 flags=2", "vendor set id=5 words=2,0,0,500",
                   "cameracontrol set id=19 value=0 flags=2"]
AUTOMATIC_EXPOSURE = ["cameracontrol set id=4 value=-6 flags=1",
                      "cameracontrol set id=19 value=1 flags=1"]
RECORD_AFTER_BRIGHTNESS = [
    "procamp set id=1 value=77 flags=2", "procamp set id=3 value=90 flags=2",
    "procamp set id=4 value=12 flags=2", "procamp set id=7 value=5000 flags=2",
    "procamp set id=8 value=1 flags=2", "procamp set id=9 value=42 flags=2",
    "vendor set id=3 words=0,0,0,152", "vendor set id=5 words=2,0,0,500",
    "cameracontrol set id=6 value=200 flags=2"]


def test_radio_buttons_and_camera_mode_apply_orders(scene):
    for control, written, what in RADIOS:
        click_reaches(scene, control, written, what)
    # Manual: manual exposure with the slider's time and a fixed frame rate, then the whole record
    # as the panel left it (LED "Automatic" from the panel is written as mode 3; white balance is
    # written since its box is unchecked).
    click_reaches(scene, 2044, MANUAL_EXPOSURE + [
        "procamp set id=13 value=1 flags=2", "vendor set id=7 words=0,0,0,3,0",
        "procamp set id=0 value=200 flags=2"] + MANUAL_EXPOSURE + RECORD_AFTER_BRIGHTNESS,
        "camera mode Manual")
    assert field(scene, CHECK, 2044, 2045) == "1 0", "Manual checked, Auto not"
    # Auto: automatic exposure, the ranges refreshed, the record applied with automatic exposure
    # before the brightness (the LED, already automatic, is not written again).
    click_reaches(scene, 2045, AUTOMATIC_EXPOSURE + ["procamp set id=13 value=1 flags=2"]
                  + AUTOMATIC_EXPOSURE + ["procamp set id=0 value=200 flags=2"]
                  + RECORD_AFTER_BRIGHTNESS, "camera mode Auto")
    assert field(scene, CHECK, 2045, 2044) == "1 0", "Auto checked, Manual not"
    # The refresh puts the sliders to the camera's range defaults (the exposure to the camera's
    # time) and checks every box whose property can be automatic; the exposure box follows the
    # camera's vendor exposure mode, which the last write left manual.
    assert field(scene, POSITION, *SLIDERS) == "100 40 70 20 4000 1 8 100 500 120"
    c = scene.d.controls()
    assert [(i, c[i][ENABLED], c[i][CHECK]) for i in AUTO_BOXES] == [
        (i, "0", "0") if i in (2033, 2022) else (i, "1", "1") for i in AUTO_BOXES]
    close_unsaved(scene)


# --- Saving from the panel.

def with_keys(data, **keys):
    """Settings bytes with those keys' values replaced (in General and the camera alike)."""
    for key, value in keys.items():
        data = re.sub(f"^{key}=[^\r]*\r$".encode(), f"{key}={value}\r".encode(), data, flags=re.M)
    return data


def test_save_settings_writes_the_changed_keys(scene):
    fresh_camera(scene, "panel.cfg")
    start(scene)
    first = scene.read("Framewright.ini")
    scene.d("slide", scene.title, 2043, 200)
    scene.d("slide", scene.title, 2037, 42)
    scene.d.click(2060)
    scene.d.click(2056)
    assert scene.read("Framewright.ini") == first, "before the save the file is as start left it"
    scene.d.click(2008)
    assert scene.read("Framewright.ini") == with_keys(
        first, Brightness=200, Gain=42, LEDInfo=1, PowerScheme=2, FlagAutomatic=0)
    saved = scene.read("Framewright.ini")
    assert scene.close_tool() == 0, "after the save the close asks nothing"
    assert scene.read("Framewright.ini") == saved, "the close wrote nothing"


RESET_WRITES = [
    "cameracontrol set id=4 value=-6 flags=1", "cameracontrol set id=19 value=1 flags=1",
    "procamp set id=13 value=2 flags=2", "vendor set id=7 words=0,0,0,3,0",
    "procamp set id=0 value=100 flags=2", "cameracontrol set id=4 value=-6 flags=2",
    "vendor set id=5 words=2,0,0,333", "cameracontrol set id=19 value=0 flags=2",
    "procamp set id=1 value=40 flags=2", "procamp set id=3 value=70 flags=2",
    "procamp set id=4 value=20 flags=2", "procamp set id=8 value=1 flags=2",
    "procamp set id=9 value=8 flags=2", "vendor set id=3 words=0,0,0,100",
    "vendor set id=5 words=2,0,0,333", "cameracontrol set id=6 value=120 flags=2"]


def test_reset_is_no_change_and_exit_yes_saves_a_change(scene):
    start(scene)
    assert field(scene, POSITION, 2043, 2037) + " " + field(scene, CHECK, 2060, 2056, 2044) == \
        "200 42 1 1 1", "the saved record on the panel: Const On, 60 Hz, Manual"
    loaded = scene.read("Framewright.ini")
    scene.cameras.log.set_mark()
    scene.d.click(2010)
    # Automatic exposure first; the camera still reports the manual vendor exposure mode that
    # start-up wrote, so the mode stays Manual and the record is applied with manual exposure.
    assert writes(scene) == cam(*RESET_WRITES)
    assert field(scene, POSITION, *SLIDERS) == "100 40 70 20 4000 1 8 100 333 120"
    assert field(scene, CHECK, *AUTO_BOXES) == "1 1 1 1 1 1 1 0 0 1"
    assert field(scene, ENABLED, 2022) == "0", "the exposure box disabled (manual vendor mode)"
    assert field(scene, CHECK, 2059, 2060, 2058, 2056, 2044, 2045) == "1 0 0 1 1 0", \
        "LED Automatic, 60 Hz, Manual"
    assert scene.close_tool() == 0, "a reset is no change: the close asks nothing"
    assert scene.read("Framewright.ini") == loaded, "a reset writes nothing to the file"
    # A change, the Exit button and Yes: the record is written as it stands. The start applied
    # the stored Manual mode, which also cleared the automatic exposure flag.
    start(scene)
    before = scene.read("Framewright.ini")
    scene.d("slide", scene.title, 2042, 50)
    assert press_answered(scene, 2009, 6) == EXIT_BOX
    assert scene.tool.wait_exit(30) == 0
    assert scene.read("Framewright.ini") == with_keys(before, Contrast=50, FlagExposureTime=0)


# --- Cameras arriving and leaving while the tool runs.

WAIT = "Please Wait while scanning Cameras"


def progress_texts(*final):
    """The texts of one rescan: the first notice, 0 to 100 %, then the final ones."""
    return [WAIT] + [f"{WAIT}: {n} % finished" for n in range(101)] + list(final)


def progress_ms(scene):
    """Milliseconds from the 0 % text to the 100 % text, as the tool's ticks tell."""
    with open(scene.cameras.status_log, "rb") as f:
        ticks = dict(line.decode("latin-1").rstrip("\r").split("\t", 1)[::-1]
                     for line in f.read().splitlines())
    return int(ticks[f"{WAIT}: 100 % finished"]) - int(ticks[f"{WAIT}: 0 % finished"])


def buttons(scene):
    """"id visible check caption" of the six selection buttons, Camera 1 first."""
    c = scene.d.controls()
    return [f"{i} {c[i][VISIBLE]} {c[i][CHECK]} {c[i][CAPTION]}" for i in range(2052, 2046, -1)]


def hidden_from(first):
    return [f"{i} 0 0 Camera {2053 - i}" for i in range(first, 2046, -1)]


def test_rescan_on_arrival(scene):
    fresh_camera(scene, "one.cfg")
    start(scene)
    scene.cameras.log.set_mark()
    open(scene.cameras.status_log, "w").close()
    scene.cameras.plug("pair.cfg")
    assert scene.cameras.statuses() == progress_texts(LABEL, SECOND)
    # Paced at 30 ms a step (measured inside the tool, so a lower bound only).
    assert progress_ms(scene) >= 2950
    assert scene.d.status() == SECOND, "the status bar ends with the last camera's label"
    assert buttons(scene) == [f"2052 1 1 {LABEL}", f"2051 1 0 {SECOND}"] + hidden_from(2050)
    assert writes(scene) == [], "a rescan applies no record"
    # The second camera can be selected and receives the slider.
    scene.d.click(2051)
    assert scene.d.status() == SECOND
    scene.cameras.log.set_mark()
    scene.d("slide", scene.title, 2043, 60)
    assert writes(scene) == cam("procamp set id=0 value=60 flags=2", index=1)


def test_rescan_on_removals(scene):
    # The first camera leaves while the second is selected: the second becomes Camera 1, checked,
    # and its old button is hidden and unchecked. The settings file names another camera for
    # slot 0, which the rescan does not report.
    scene.cameras.log.set_mark()
    open(scene.cameras.status_log, "w").close()
    scene.cameras.unplug(0)
    only = "Camera 1: Parvanex Second Camera"
    assert scene.cameras.statuses() == progress_texts(only)
    # Paced at 10 ms a step: at least 1 s, and not the 3 s of an arrival's pacing.
    assert 950 <= progress_ms(scene) < 2950
    assert buttons(scene) == [f"2052 1 1 {only}", f"2051 0 0 {SECOND}"] + hidden_from(2050)
    # The notice was sent: the rescan's handler has returned, so a box it opened would be open.
    assert refused(scene, "wait-box", "Camera configuration changed", 0), "no changed box"
    assert writes(scene) == [], "a rescan applies no record"
    scene.d("slide", scene.title, 2042, 10)
    assert writes(scene) == cam("procamp set id=1 value=10 flags=2", index=1)
    # The last camera leaves: only Exit and the status bar are left to the operator.
    open(scene.cameras.status_log, "w").close()
    scene.cameras.unplug(1)
    assert scene.cameras.statuses() == progress_texts(NO_CAMERA)
    assert field(scene, VISIBLE, *range(2052, 2046, -1)) == "0 0 0 0 0 0"
    assert field(scene, ENABLED, 2000, 2001, 2008, 2010, 2065, 2043, 2034, 2058, 2044, 2009) \
        == "0 0 0 0 0 0 0 0 0 1", "camera controls disabled, Exit enabled"
    assert refused(scene, "slide", scene.title, 2043, 100), "a slider cannot be moved"
    assert press_answered(scene, 2009, 7) == EXIT_BOX, "Exit after the slider moves asks"
    assert scene.tool.wait_exit(30) == 0


# --- The selected camera pulled out at awkward moments, then the removal notice, the camera
# plugged in again and the arrival notice. Whatever the moment: no crash or hang, no image that
# is not a whole frame of the camera's pattern, a fresh frame of the returning camera (a new run
# and a new first frame in the camera's log), and exit code 0. scene.checked holds the images
# checked so far. (Between a slider move and its write, which a script cannot reach, only the
# host test pulls it.)

def check_new_images(scene):
    for name in images(scene):
        if name not in scene.checked:
            check_image(scene.path(name), 1920, 1080, 128)
            scene.checked.add(name)


def pull_now(scene):
    """Camera 0 answers nothing from now on and stops streaming (the unplug file it watches);
    its registry keys go with the removal notice."""
    with open(scene.prefix.env["FRAMEWRIGHT_VCAM_UNPLUG"], "a") as f:
        f.write("removed 0\n")


def pull_when(scene, pattern):
    """In the background, pull_now as soon as the camera logs a line matching pattern after the
    mark; the returned event is set once it has (within 60 s)."""
    done = threading.Event()

    def watch():
        if wait_until(60, lambda: since_mark(scene, pattern), 0.005):
            pull_now(scene)
            done.set()
    threading.Thread(target=watch, daemon=True).start()
    return done


def press_while_pulled(scene, what, pattern):
    """"Capture Image" pressed, the camera gone once it logs pattern."""
    scene.cameras.log.set_mark()
    pulled = pull_when(scene, pattern)
    scene.d("press", scene.title, 2065)
    assert pulled.wait(60), f"{what}: the camera went after {pattern}"
    assert back_in_loop(scene), f"{what}: Capture Image returns"


def print_key(scene):
    """Print pressed and released on the display with the tool's window active, so that the key
    reaches Wine (and so its low-level hook)."""
    main_window_back(scene)
    assert xdotool(scene, "key", "Print") == 0


def ran_anew(scene):
    """A run and a first frame in the camera's log after the mark; the camera logs the frame once
    the grabber has it, which may be just after the image is written."""
    return wait_until(10, lambda: since_mark(scene, "filter run hr=0x00000000")
                      and since_mark(scene, "stream first-frame"))


def removal_and_return(scene, what):
    """The keys go and the removal notice is sent: no camera on the panel, and the graph of the
    missing camera given up ("Preview"); then the camera returns with the arrival notice."""
    scene.cameras.unplug(0)
    assert scene.d.status() == NO_CAMERA, what
    assert scene.d.text(2000) == "Preview", what
    scene.cameras.plug("one.cfg")
    assert scene.d.status() == LABEL, what


def capture_fresh(scene, what):
    """"Capture Image" takes a fresh whole frame of the returned camera."""
    before = len(images(scene))
    scene.cameras.log.set_mark()
    scene.d.click(2065)
    assert back_in_loop(scene)
    assert len(images(scene)) == before + 1, f"{what}: one image after the camera came back"
    assert ran_anew(scene), f"{what}: the camera ran anew for it"
    check_new_images(scene)


def test_camera_pulled_while_capture_builds_the_preview(scene):
    fresh_camera(scene, "one.cfg")
    write_settings(scene.path("Framewright.ini"),
                   ImageSavePath=windows_path(scene.path("Shot.bmp")), IncrementImageName=1,
                   UsePrintKeyToCaptureImages=1, ReviewTimeMs=4000)
    scene.checked = set()
    # Five removals and arrivals take longer than the default limit of a tool run.
    start(scene, limit=900)
    # Most often the camera, gone once its pin connected, refuses to run and no frame comes: no
    # file. When the tool is quicker, the camera already streams and the image is a whole frame.
    press_while_pulled(scene, "(b1)", "pin connect")
    if since_mark(scene, "filter (pause|run) hr=0x8007048F"):
        assert images(scene) == [], "(b1): the camera refused to run, so no frame came"
    check_new_images(scene)
    assert scene.tool.running()
    removal_and_return(scene, "(b1)")
    capture_fresh(scene, "(b1)")


def test_camera_pulled_while_the_preview_runs(scene):
    # "Capture Image" before the removal notice: the grabber may still hold the last whole
    # frame, which may be written; nothing else may.
    assert scene.d.text(2000) == "Stop", "the preview runs"
    scene.cameras.log.set_mark()
    pull_now(scene)
    assert wait_until(10, lambda: since_mark(scene, "stream halted unplugged"))
    scene.d.click(2065)
    assert back_in_loop(scene)
    check_new_images(scene)
    removal_and_return(scene, "(a)")
    capture_fresh(scene, "(a)")


def test_camera_pulled_while_capture_waits_for_frames(scene):
    # "Capture Image" runs the stopped preview and waits 250 ms for frames; the camera goes at
    # its first frame, so inside that wait (or the image is taken before). It is a whole frame.
    scene.d.click(2000)
    assert scene.d.text(2000) == "Preview", "the preview is stopped"
    press_while_pulled(scene, "(b2)", "stream first-frame")
    check_new_images(scene)
    removal_and_return(scene, "(b2)")
    capture_fresh(scene, "(b2)")


def test_camera_pulled_in_the_review_time_of_the_print_key(scene):
    before = len(images(scene))
    scene.cameras.log.set_mark()
    pulled = pull_when(scene, "filter stop")
    print_key(scene)
    assert pulled.wait(60), "the review time began (the preview stopped after the image)"
    # Its refused run after the review proves that the moment fell inside it.
    assert wait_until(15, lambda: since_mark(scene, "filter (pause|run) hr=0x8007048F"))
    assert back_in_loop(scene)
    assert len(images(scene)) == before + 1, "the one image of the key"
    check_new_images(scene)
    removal_and_return(scene, "(c)")
    before = len(images(scene))
    scene.cameras.log.set_mark()
    print_key(scene)
    assert wait_until(20, lambda: len(images(scene)) == before + 1), "the next key's image"
    assert ran_anew(scene)
    check_new_images(scene)
    assert wait_until(15, lambda: len(since_mark(scene, "filter run")) >= 2), "the review ends"
    assert back_in_loop(scene)
    assert scene.close_tool() == 0, "nothing changed: the close asks nothing"
