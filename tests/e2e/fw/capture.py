"""What the preview, capture and Print-key scenarios share: images, window states, timers, the
camera's runs and stops, a watch of the main window and a window that holds the keyboard focus."""
import collections
import os
import re
import subprocess

from .desktop import windows_path
from .driver import TITLE
from .settings import write_settings
from .waits import wait_until


def images(scene):
    """The bitmap files in the working folder, in name order."""
    return sorted(name for name in os.listdir(scene.work) if name.endswith(".bmp"))


def remove_images(scene):
    for name in images(scene):
        os.remove(scene.path(name))


def main_window_state(d, title=TITLE):
    """"normal", "minimised", "hidden" or "gone", as watch-window names them."""
    for line in d("windows", title).splitlines():
        cells = line.split("\t")
        if cells[1] == "-":
            return "hidden" if cells[12] == "0" else "minimised" if cells[13] == "1" else "normal"
    return "gone"


def timers_passed(d, turns=2, title=TITLE):
    """True once the tool's timers have had their turn TURNS times over: a timer due within 300 ms
    of a probe has run when the probe returns, and two probes let a timer that a timer starts (the
    Print key's, then the capture's) run too. An answered request proves nothing of the kind: a
    handler answers sent requests while it waits on a send of its own."""
    return all(d.ok("wait-timers", title, 300) for _ in range(turns))


def runs_and_stops(log):
    """The graph's runs and stops after the log's mark: "run stop run"."""
    return " ".join(re.search(r"filter (run|stop)", line).group(1)
                    for line in log.matching(r"filter (run|stop)", since_mark=True))


def xdotool(scene, *args, timeout=60):
    return subprocess.run(["xdotool"] + [str(a) for a in args], env=scene.prefix.env,
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                          timeout=timeout).returncode


def x_windows(scene, title):
    out = subprocess.run(["xdotool", "search", "--name", f"^{title}$"], env=scene.prefix.env,
                         capture_output=True, text=True, timeout=60).stdout
    return out.split()


def x_wm_state(scene, title=TITLE):
    """The window manager's WM_STATE of the window ("Normal", "Iconic"), "" while it set none."""
    for window in x_windows(scene, title):
        out = subprocess.run(["xprop", "-id", window, "WM_STATE"], env=scene.prefix.env,
                             capture_output=True, text=True, timeout=60).stdout
        found = re.search(r"window state: (\w+)", out)
        if found:
            return found.group(1)
    return ""


class _Background:
    """A long-running driver subcommand in a process of its own (the serving driver answers one
    at a time), its output lines in NAME.txt; started once started(lines) holds."""

    def __init__(self, scene, name, args, started):
        self.scene = scene
        self.path = os.path.join(scene.tmp, name + ".txt")
        with open(self.path, "wb") as out, open(os.path.join(scene.tmp, "driver.err"), "ab") as err:
            self.process = scene.prefix.start([scene.driver_exe] + args, stdout=out, stderr=err)
        assert wait_until(60, lambda: started(self.lines()) or self.process.poll() is not None)
        assert self.process.poll() is None, f"{name}: {args[0]} did not start"

    def lines(self):
        with open(self.path, "rb") as f:
            return f.read().decode("latin-1").replace("\r", "").splitlines()


class WindowWatch(_Background):
    """The main window's minimise, restore, hide and show as the tool's thread gets them (a hook
    inside the tool, in place when the constructor returns) until end()."""

    def __init__(self, scene, name, ms=90000):
        self.stop_file = os.path.join(scene.tmp, name + ".stop")
        if os.path.exists(self.stop_file):
            os.remove(self.stop_file)
        super().__init__(scene, name, ["watch-window", TITLE, ms, windows_path(self.stop_file)],
                         bool)
        self.events = []

    def end(self, seconds=120):
        """Once the tool's thread has done what was watched: True when the watcher ended well,
        its events then in self.events as (ms, what)."""
        open(self.stop_file, "w").close()
        code = self.process.wait(seconds)
        self.events = [(int(ms), what) for ms, what in
                       (line.split("\t", 1) for line in self.lines())]
        return code == 0

    def states(self):
        """The state at the start, then each "minimised", "restored", "hidden" and "shown"."""
        return " ".join(what for _, what in self.events)


class Holder(_Background):
    """A window of the driver's own that takes the keyboard focus away from the tool and prints
    what reaches it: keys, each release's input time and its activation."""

    TITLE = "Focus Holder"

    def __init__(self, scene, seconds):
        super().__init__(scene, "holder", ["hold-window", self.TITLE, seconds],
                         lambda lines: "ready" in lines)
        self.mark = 0
        found = []
        assert wait_until(30, lambda: found.extend(x_windows(scene, self.TITLE)) or found)
        self.x_window = found[0]

    def focus(self):
        """The holder activated, the pointer on it and its lines so far marked. Under load an
        activation can go unanswered (--sync then waits for good): each try is bounded."""
        def active():
            return [l for l in self.lines() if l in ("active", "inactive")][-1:] == ["active"]
        for _ in range(3):
            try:
                xdotool(self.scene, "windowactivate", "--sync", self.x_window, "mousemove",
                        "--window", self.x_window, 200, 150, timeout=20)
            except subprocess.TimeoutExpired:
                pass
            if wait_until(10, active):
                self.mark = len(self.lines())
                return
        raise AssertionError("the holder window did not get the focus")

    def press_print(self):
        """Print pressed and released on the focused holder, the camera's log marked first."""
        self.focus()
        self.scene.cameras.log.set_mark()
        xdotool(self.scene, "key", "Print")

    def keys(self):
        return " ".join(l for l in self.lines()[self.mark:] if re.match(r"(sys)?key(down|up) ", l))

    def stop(self):
        self.scene.d("close", self.TITLE)
        return self.process.wait(60)


def start_with_print_key(scene, image, review_ms, limit=600):
    """The tool started on the Print key, with counted names from IMAGE in the working folder and
    the review time given, the images and the camera's log emptied first; then the holder."""
    remove_images(scene)
    scene.cameras.log.clear()
    write_settings(scene.path("Framewright.ini"), ImageSavePath=windows_path(scene.path(image)),
                   IncrementImageName=1, UsePrintKeyToCaptureImages=1, ReviewTimeMs=review_ms)
    scene.start_tool(applied=True, limit=limit)
    return Holder(scene, limit)


def end_with_exit(scene, holder):
    """The holder closed, then the tool by its Exit button."""
    holder.stop()
    scene.d.click(2009)
    assert scene.tool.wait_exit(30) == 0


# The renderer's windows: driver.exe windows lists a title's top-level windows and their children.
VIDEO_TITLE = "ActiveMovie Window"

# Style bits as the window system reports them.
WS_VISIBLE = 0x10000000
WS_CHILD = 0x40000000
WS_OVERLAPPEDWINDOW = 0x00CF0000

# One line of driver.exe windows: parent is the parent control's id ("-" for a top-level window),
# root the root window's title, owner the owner's; the rectangle is in the parent's client area.
Window = collections.namedtuple("Window", "cls parent root owner style exstyle left top width "
                                          "height client_w client_h visible minimised")


def video_windows(d):
    return [Window(*line.split("\t")) for line in d("windows", VIDEO_TITLE).splitlines() if line]


def control_shown(d, control):
    return d.controls()[control][9] == "1"


def main_window_back(scene):
    """The main window activated through the window manager; true once Wine and the manager both
    call it normal (the manager's late answer to a minimise and restore can leave it minimised)."""
    found = x_windows(scene, TITLE)
    if found:
        try:
            xdotool(scene, "windowactivate", "--sync", found[0], timeout=20)
        except subprocess.TimeoutExpired:
            pass
    return wait_until(20, lambda: main_window_state(scene.d) == "normal"
                      and x_wm_state(scene) == "Normal")
