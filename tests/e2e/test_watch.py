"""FramewrightCli watch under Wine with one virtual camera, as a script at logon would run it: the
stored section applied at start; the camera unplugged and plugged in again, each notice a real
device interface record with the camera's path, the arrival's section written; a resume message;
a value changed by another process and corrected, but not while the window program runs; Ctrl+C
(a SIGINT of its Wine process) and, for the page's logon script, WM_CLOSE to its window each
ending it with code 0."""
import os
import re
import shutil
import signal
import subprocess

from fw.doc_example import write_example
from fw.settings import write_settings
from fw.waits import wait_until

DOC = os.path.join(os.path.dirname(__file__), "..", "..", "docs", "settings.md")

WATCH = "FramewrightCli watch"
# The virtual camera's DevicePath for index 0 (vcam/src/camera_defaults.cpp).
PATH = ("\\\\?\\usb#vid_1234&pid_5678&mi_00#7&1a2b3c4d&0&0000#"
        "{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\global")
STORED_BRIGHTNESS = 90
CAMERA_BRIGHTNESS = "cam=0 procamp set id=0 value=%d "
APPLIED = 'applied camera=1 section="Camera0" name="Parvanex Virtual Camera"'
state = {}



def events(scene, name="watch.out"):
    if not os.path.exists(scene.path(name)):
        return []
    with open(scene.path(name), "rb") as f:
        return f.read().decode("latin-1").replace("\r", "").splitlines()


def wait_event(scene, pattern, after=0, name="watch.out"):
    """The index past the first event line past after that the regular expression matches whole."""
    def found():
        lines = events(scene, name)
        return next((i + 1 for i in range(after, len(lines)) if re.fullmatch(pattern, lines[i])), 0)
    assert wait_until(60, found), f"no event {pattern!r}: {events(scene, name)[after:]} " \
                                  f"{scene.tail('work/watch.err')}"
    return found()


def wait_applied(scene, at):
    """The index past the next application of the stored section, which wrote the stored
    brightness to the camera after the log's mark."""
    at = wait_event(scene, APPLIED, at)
    assert scene.cameras.log.matching(CAMERA_BRIGHTNESS % STORED_BRIGHTNESS, since_mark=True)
    return at


def test_start_applies_the_stored_section(scene):
    scene.cameras.attach("one.cfg")
    write_settings(scene.path("Framewright.ini"), **{"Camera0.Brightness": STORED_BRIGHTNESS})
    out, err = open(scene.path("watch.out"), "wb"), open(scene.path("watch.err"), "wb")
    state["watch"] = scene.prefix.start([scene.cli_exe, "watch", "--verify-every", "1"],
                                        cwd=scene.work, stdout=out, stderr=err)
    at = wait_event(scene, r'started settings=".*Framewright\.ini" cameras=1 verifyEvery=1')
    state["at"] = wait_applied(scene, at)


def test_unplug_and_plug_with_the_device_path(scene):
    scene.cameras.unplug(0, notify=False)
    scene.d("device-notice", WATCH, "removal", PATH, "w")  # the UTF-16 form of the record
    at = wait_event(scene, 'removed camera=1 name="Parvanex Virtual Camera"', state["at"])
    scene.cameras.plug("one.cfg", notify=False)
    scene.cameras.log.set_mark()
    # The one-byte form, in capitals: paths compare without regard to case.
    scene.d("device-notice", WATCH, "arrival", PATH.upper(), "a")
    state["at"] = wait_applied(scene, wait_event(
        scene, 'arrived camera=1 name="Parvanex Virtual Camera"', at))


def test_resume_applies_again(scene):
    scene.cameras.log.set_mark()
    scene.d("post", WATCH, 0x218, 0x12, 0)  # WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC
    state["at"] = wait_applied(scene, wait_event(scene, "resumed", state["at"]))


def test_drift_corrected_but_not_while_the_window_program_runs(scene):
    assert scene.cli("set", "Brightness=200")[0] == 0
    state["at"] = wait_event(scene, 'corrected camera=1 property="Brightness" found=200 '
                                    'stored=%d' % STORED_BRIGHTNESS, state["at"])
    scene.start_tool(applied=True)
    at = wait_event(scene, 'paused reason="the window program runs"', state["at"])
    assert scene.cli("set", "Brightness=201")[0] == 0
    # A later read-back period has passed once get has run: the value stands.
    code, out = scene.cli("get", "Brightness")
    assert code == 0 and re.search(r"Brightness\s+201\b", out), out
    assert not any(e.startswith("corrected") for e in events(scene)[at:])
    assert scene.close_tool() == 0
    state["at"] = wait_event(scene, 'corrected camera=1 property="Brightness" found=201 '
                                    'stored=%d' % STORED_BRIGHTNESS, at)


def test_ctrl_c_stops_it_with_code_zero(scene):
    # Wine hands a SIGINT of its process to the console's handlers as CTRL_C_EVENT.
    os.kill(state["watch"].pid, signal.SIGINT)
    wait_event(scene, "stopped", state["at"])
    assert state["watch"].wait(60) == 0


def test_the_pages_logon_script_runs_as_shown(scene):
    """docs/settings.md's cli/watch.cmd, copied out of the page, run by cmd; closed as logoff
    would close it, its code comes back through cmd."""
    write_example(DOC, "cli/watch.cmd", scene.path("watch.cmd"))
    shutil.copy(scene.cli_exe, scene.work)
    script = scene.prefix.start(["wine", "cmd", "/c", "watch.cmd"], cwd=scene.work,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    at = wait_event(scene, r"started .*verifyEvery=10", name="watch.log")
    wait_event(scene, APPLIED, at, name="watch.log")
    scene.d("close", WATCH)
    wait_event(scene, "stopped", at, name="watch.log")
    assert script.wait(60) == 0
