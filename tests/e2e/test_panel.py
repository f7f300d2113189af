"""The panel at work under Wine, driven from outside: a slider for each of the camera's interfaces,
the check boxes that write, the radio buttons, the Exit and Save buttons, a camera arriving while
the tool runs, the selected camera pulled out at awkward moments. One control of each kind goes
through the real bindings here; what every control does is the host's PanelScenarioTest. One
prefix, the cameras changing between the parts as on a desk."""
import os
import re
import threading

from fw.bitmap import check_image
from fw.capture import images
from fw.desktop import windows_path
from fw.settings import write_settings
from fw.waits import wait_until

# Columns of the driver's controls listing (from 0).
CAPTION, VISIBLE, CHECK = 2, 9, 11
OK = " hr=0x00000000"
NO_CAMERA = "No Parvanex Camera detected, please attach a Parvanex Webcam"
LABEL = "Camera 1: Parvanex Virtual Camera"
SECOND = "Camera 2: Parvanex Second Camera"
EXIT_BOX = "Orvisto Settings\tExit Saving Changes"


def cam(*lines, index=0):
    """The camera's log lines of write requests, each accepted."""
    return [f"cam={index} {line}{OK}" for line in lines]


def since_mark(scene, pattern):
    return scene.cameras.log.matching(pattern, since_mark=True)


def writes(scene):
    """The write requests (accepted or refused) the camera logged since the mark."""
    return since_mark(scene, " set ")


def field(scene, column, *ids):
    c = scene.d.controls()
    return " ".join(c[i][column] for i in ids)


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


def click_reaches(scene, control, written, what):
    """A click whose handler opens no box (answered at once) and the camera's writes."""
    scene.cameras.log.set_mark()
    assert scene.d.click(control) == f"clicked {control}", f"{what}: answered without a box"
    assert writes(scene) == cam(*written), what


def with_keys(data, **keys):
    """Settings bytes with those keys' values replaced (in General and the camera alike)."""
    for key, value in keys.items():
        data = re.sub(f"^{key}=[^\r]*\r$".encode(), f"{key}={value}\r".encode(), data, flags=re.M)
    return data


# --- The controls, one start of a camera whose picture properties can all be automatic.

# (slider, position, status text, write): the vendor property set, the picture properties and the
# camera control, the exposure's seconds formatted by the C library.
SLIDES = [
    (2043, 200, "Brightness Value: 200", "procamp set id=0 value=200 flags=2"),
    (2035, 500, "Exposure Time Value: 0.0500 seconds", "vendor set id=5 words=2,0,0,500"),
    (2034, 200, "Focus Value: 200", "cameracontrol set id=6 value=200 flags=2"),
]
# control, writes, what. The focus slider's move unchecked its box: a click checks it.
CLICKS = [
    (2023, ["cameracontrol set id=6 value=128 flags=1"], "focus box checked"),
    (2023, ["cameracontrol set id=6 value=200 flags=2"], "focus box unchecked: the slider's value"),
    (2060, ["vendor set id=7 words=0,0,0,1,0"], "LED Const On"),
    (2056, ["procamp set id=13 value=2 flags=2"], "60 Hz"),
]


def test_each_kind_of_control_reaches_the_camera(scene):
    fresh_camera(scene, "panel.cfg")
    start(scene)
    first = scene.read("Framewright.ini")
    # A first start shows the camera's automatic white balance, exposure and focus, and "Auto".
    assert field(scene, CHECK, 2019, 2022, 2023, 2045, 2044) == "1 1 1 1 0"
    for control, position, status, written in SLIDES:
        what = f"slider {control} to {position}"
        scene.cameras.log.set_mark()
        scene.d("slide", scene.title, control, position)
        assert scene.d.status() == status, what
        assert writes(scene) == cam(written), what
    for control, written, what in CLICKS:
        click_reaches(scene, control, written, what)
    # The exposure box (unchecked by its slider) shows its box before it writes anything: the
    # time in automatic mode, then automatic exposure.
    scene.cameras.log.set_mark()
    scene.d("press", scene.title, 2022)
    assert scene.d("wait-box", "Event", 10000) == \
        "Orvisto Settings\tthe checkbox IDC_CKEXPTIM is checked."
    assert writes(scene) == [], "nothing written while the exposure box's box is open"
    scene.d("answer-box", "Event", 1)
    scene.d("wait-no-box", "Event", 10000)
    assert back_in_loop(scene)
    assert writes(scene) == cam("vendor set id=5 words=1,0,0,500",
                                "cameracontrol set id=4 value=-6 flags=1",
                                "cameracontrol set id=19 value=1 flags=1")
    # Exit and Yes: the record is written as the panel left it (the sliders made the mode Manual).
    assert press_answered(scene, 2009, 6) == EXIT_BOX
    assert scene.tool.wait_exit(30) == 0
    assert scene.read("Framewright.ini") == with_keys(
        first, Brightness=200, ExposureTime=500, FocusValue=200, FlagFocusValue=0, LEDInfo=1,
        PowerScheme=2, FlagAutomatic=0)


def test_save_writes_the_change_and_the_close_asks_nothing(scene):
    start(scene)
    before = scene.read("Framewright.ini")
    scene.d("slide", scene.title, 2042, 50)
    assert scene.read("Framewright.ini") == before, "before the save the file is as start left it"
    scene.d.click(2008)
    # The start applied the stored Manual mode, which also cleared the automatic exposure flag.
    saved = with_keys(before, Contrast=50, FlagExposureTime=0)
    assert scene.read("Framewright.ini") == saved
    assert scene.close_tool() == 0, "after the save the close asks nothing"
    assert scene.read("Framewright.ini") == saved, "the close wrote nothing"


# --- A camera arriving while the tool runs. The pacing and what the panel shows after any rescan
# are the host's RescanTest and UsbChurnTest; here the real notice, the status texts it sets and
# the arriving camera's filter.

WAIT = "Please Wait while scanning Cameras"


def progress_ms(scene):
    """Milliseconds from the 0 % text to the 100 % text, as the tool's ticks tell."""
    with open(scene.cameras.status_log, "rb") as f:
        ticks = dict(line.decode("latin-1").rstrip("\r").split("\t", 1)[::-1]
                     for line in f.read().splitlines())
    return int(ticks[f"{WAIT}: 100 % finished"]) - int(ticks[f"{WAIT}: 0 % finished"])


def test_rescan_on_arrival(scene):
    fresh_camera(scene, "one.cfg")
    start(scene)
    scene.cameras.log.set_mark()
    open(scene.cameras.status_log, "w").close()
    scene.cameras.plug("pair.cfg")
    assert scene.cameras.statuses() == [WAIT] + [f"{WAIT}: {n} % finished" for n in range(101)] \
        + [LABEL, SECOND]
    # Paced at 30 ms a step (measured inside the tool, so a lower bound only).
    assert progress_ms(scene) >= 2950
    c = scene.d.controls()
    assert [f"{i} {c[i][VISIBLE]} {c[i][CHECK]} {c[i][CAPTION]}" for i in range(2052, 2049, -1)] \
        == [f"2052 1 1 {LABEL}", f"2051 1 0 {SECOND}", "2050 0 0 Camera 3"]
    assert writes(scene) == [], "a rescan applies no record"
    # The second camera can be selected and receives the slider.
    scene.d.click(2051)
    assert scene.d.status() == SECOND
    scene.cameras.log.set_mark()
    scene.d("slide", scene.title, 2043, 60)
    assert writes(scene) == cam("procamp set id=0 value=60 flags=2", index=1)
    assert press_answered(scene, 2009, 7) == EXIT_BOX, "Exit after the slider's move asks"
    assert scene.tool.wait_exit(30) == 0


# --- The selected camera pulled out at awkward moments, then the removal notice, the camera
# plugged in again and the arrival notice. Whatever the moment: no crash or hang, no image that
# is not a whole frame of the camera's pattern, a fresh frame of the returning camera (a new run
# and a new first frame in the camera's log), and exit code 0. scene.checked holds the images
# checked so far. (Between a slider move and its write, which a script cannot reach, and in the
# review time of a Print-key capture, only the host's VanishingCameraTest pulls it.)

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
                   ImageSavePath=windows_path(scene.path("Shot.bmp")), IncrementImageName=1)
    scene.checked = set()
    # Three removals and arrivals may take longer than the default limit of a tool run under load.
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
    assert scene.close_tool() == 0, "nothing changed: the close asks nothing"
