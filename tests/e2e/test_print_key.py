"""The Print key on the virtual camera, pressed on the X display while a window of the driver's own
has the focus: with UsePrintKeyToCaptureImages its release takes a picture and reaches that window
too; Alt+Print and a Print sent by software take none. A release while the tool sleeps in its
review time (the hook runs on a thread of its own) gives exactly one picture, after the wait. What
the options around the key do (a second release within 100 ms, HideAppWhenInactive,
UseMinMaxOnPrintKey) is the host's PrintKeyTest."""
import os

import pytest

from fw.capture import (end_with_exit, images, main_window_state, runs_and_stops,
                        start_with_print_key, timers_passed, xdotool)
from fw.waits import wait_until

# openbox without key bindings: its default configuration grabs Print for screenshots, and the key
# then never reaches Wine.
OPENBOX_CONFIG = os.path.join(os.path.dirname(__file__), "openbox_no_keys.xml")
REVIEW_MS = 600
PRINT = "keydown 0x2c keyup 0x2c"


@pytest.fixture(scope="module", autouse=True)
def camera(scene):
    scene.cameras.attach("one.cfg")


def key_image(n):
    return "Key%06d.bmp" % n


def key_print(scene, holder, n):
    """Print pressed and released on the holder; waits for image N."""
    holder.press_print()
    # Generous: under load a restore and the graph's build took most of the former 10 s.
    assert wait_until(30, lambda: os.path.exists(scene.path(key_image(n)))), (
        f"image {n}: the holder got {holder.keys()!r}, the camera {runs_and_stops(scene.cameras.log)!r}, "
        f"the window is {main_window_state(scene.d)}")


# A key reaches the holder after the tool's low-level hook has seen it; a release that counted
# would then have started the Print key's timer, and that timer the capture's.
IGNORED = [  # what, how it is sent, what reaches the holder
    ("Alt+Print", ("keydown", "Alt_L", "key", "Print", "keyup", "Alt_L"),
     "syskeydown 0x12 syskeydown 0x2c syskeyup 0x2c keyup 0x12"),
    ("Print sent by software", None, PRINT),
]


def test_print_takes_a_picture_and_keeps_the_window_other_keys_none(scene):
    holder = start_with_print_key(scene, "Key.bmp", REVIEW_MS)
    key_print(scene, holder, 1)
    # The preview was started for the picture, stopped for the review time, then run again.
    assert wait_until(10, lambda: runs_and_stops(scene.cameras.log) == "run stop run")
    assert main_window_state(scene.d) == "normal"
    for what, keys, reached in IGNORED:
        holder.focus()
        if keys:
            xdotool(scene, *keys)
        else:
            scene.d("inject-key", 0x2c)
        assert wait_until(10, lambda: holder.keys() == reached), (what, holder.keys())
        assert timers_passed(scene.d), what
        assert images(scene) == [key_image(1)], what
    end_with_exit(scene, holder)


def test_release_during_the_review_wait_gives_one_picture_after_it(scene):
    # The window thread sleeps, the hook's own thread sees the release and posts it, and the main
    # window takes one picture once the wait is over. The review is long enough for the key to
    # come well inside it; that it did is proven, not assumed.
    log = scene.cameras.log
    holder = start_with_print_key(scene, "Key.bmp", 3000)
    key_print(scene, holder, 1)
    assert wait_until(10, lambda: runs_and_stops(log) == "run stop"), "stopped for the review"
    holder.press_print()
    assert wait_until(10, lambda: holder.keys() == PRINT), "the release reached the holder"
    # The holder gets a key after the low-level hook has seen it: no run yet means the hook saw
    # the release while the tool was still asleep in the review time.
    assert runs_and_stops(log) == "", "the release came while the wait went on"
    assert wait_until(15, lambda: os.path.exists(scene.path(key_image(2)))), "image after the wait"
    # The preview resumed after the first wait before the second picture stopped it.
    assert wait_until(30, lambda: runs_and_stops(log) == "run stop run")
    assert timers_passed(scene.d)
    assert images(scene) == [key_image(1), key_image(2)], "exactly one picture for the release"
    end_with_exit(scene, holder)
