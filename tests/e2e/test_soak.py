"""A long run of the real tool on the virtual camera: counted captures from the "Capture Image"
button and the Print key, with removals and arrivals of the camera among them. Every capture must
give a valid bitmap with the next number. (The tool's memory over many captures is what
scripts/capture_memory.sh measures.)

The short run is 100 captures and 3 cycles; FRAMEWRIGHT_SOAK_LONG=1 makes it 2,000 and 200
(FRAMEWRIGHT_SOAK_CAPTURES and _CYCLES set each on its own). FRAMEWRIGHT_RESOURCE_COUNTS=1 makes
the tool print what the logic was given and gave back, in tool.err of the scenario's folder
(kept with FRAMEWRIGHT_E2E_KEEP=1)."""
import os

from fw.bitmap import image_problems
from fw.capture import end_with_exit, images, runs_and_stops, start_with_print_key
from fw.settings import setting
from fw.waits import wait_until

OPENBOX_CONFIG = os.path.join(os.path.dirname(__file__), "openbox_no_keys.xml")
LONG = os.environ.get("FRAMEWRIGHT_SOAK_LONG") == "1"
CAPTURES = int(os.environ.get("FRAMEWRIGHT_SOAK_CAPTURES", 2000 if LONG else 100))
CYCLES = int(os.environ.get("FRAMEWRIGHT_SOAK_CYCLES", 200 if LONG else 3))
PRINT_EVERY = 3  # every third capture comes from the Print key, the others from the button
# About 1.5 s a capture and 10 s a cycle under load; the tool and the holder must outlive the run.
LIMIT = 600 + CAPTURES * 3 + CYCLES * 20
NO_CAMERA = "No Parvanex Camera detected, please attach a Parvanex Webcam"
ONE_CAMERA = "Camera 1: Parvanex Virtual Camera"


def cycle(scene):
    """The camera removed and back; a rescan is over when the status bar shows its last text."""
    scene.cameras.unplug(0)
    assert wait_until(20, lambda: scene.d.status() == NO_CAMERA), "the removal's rescan"
    scene.cameras.plug("one.cfg")
    assert wait_until(20, lambda: scene.d.status() == ONE_CAMERA), "the arrival's rescan"


def capture(scene, holder, n, path):
    """Capture N from the Print key or the button; what was done, for a failure's message."""
    log = scene.cameras.log
    how = "Print" if n % PRINT_EVERY == 0 else "button"
    if how == "Print":
        holder.press_print()
    else:
        scene.d.click(2065)
    if not wait_until(30, lambda: os.path.exists(path)):
        return how + f", no file within 30 s; status {scene.d.status()!r}; camera: " + \
            " | ".join(log.lines()[-8:])
    if how == "Print" and not wait_until(30, lambda: runs_and_stops(log).endswith("stop run")):
        how += ", the capture sequence did not end"
    return how


def test_counted_captures_with_removals_and_arrivals(scene):
    scene.cameras.attach("one.cfg")
    scene.holder = start_with_print_key(scene, "Soak.bmp", 0, LIMIT)
    cycle_every = max(1, CAPTURES // CYCLES) if CYCLES else 0
    done_cycles = 0
    for n in range(1, CAPTURES + 1):
        name = "Soak%06d.bmp" % n
        how = capture(scene, scene.holder, n, scene.path(name))
        # The image must be the next number and the only one: an image skipped, repeated or
        # written twice shows here.
        assert images(scene) == [name], f"capture {n} ({how})"
        assert image_problems(scene.path(name), 1920, 1080, 128)[0] == [], \
            f"capture {n} ({how}): not a frame of the pattern"
        os.remove(scene.path(name))
        if cycle_every and done_cycles < CYCLES and n % cycle_every == 0:
            cycle(scene)
            done_cycles += 1
    assert done_cycles == CYCLES, "removal and arrival cycles"
    assert setting(scene.path("Framewright.ini"), "ImageCounter") == str(CAPTURES)


def test_exit_after_the_run(scene):
    end_with_exit(scene, scene.holder)
